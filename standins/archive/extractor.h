// Extraction of an opened archive's selected entries below a target, with the checks that keep
// every write inside it. The target's file calls and the caller's callbacks are interfaces.
#pragma once

#include "standins/archive/seven_zip_archive.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standins::archive {

struct ExistingFile
{
    std::uint64_t size = 0;
    std::optional<std::uint64_t> modified;
};

// Paths are relative to the target folder, backslash-separated. Failures throw ArchiveError.
class IExtractTarget
{
public:
    virtual ~IExtractTarget() = default;
    virtual void MakeFolders(const std::u16string& relativeFolder) = 0;
    virtual std::optional<ExistingFile> Existing(const std::u16string& relativePath) = 0;
    virtual void OpenFile(const std::u16string& relativePath) = 0;
    virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
    virtual void CloseFile(std::optional<std::uint64_t> modified) = 0;
    // Closes and removes the file being written after a failure; never throws.
    virtual void DiscardFile() noexcept = 0;
};

class IExtractEvents
{
public:
    virtual ~IExtractEvents() = default;
    virtual void EntryStarting(std::size_t index, std::size_t count) = 0;
    // False stops the extraction.
    virtual bool Progress(std::size_t index, std::uint64_t bytesDone, std::uint64_t bytesTotal) = 0;
    virtual bool ReplaceExisting(std::size_t index, const ArchiveItem& item,
                                 const ExistingFile& existing) = 0;
};

enum class PathMode
{
    KeepFolders,
    NoFolders,
};

// Writes the selected entries (selected has one flag per item). Every selected name is checked
// before anything is written: one unsafe name fails the whole extraction (IllegalPath). Data that
// fails its CRC leaves no file behind (DataCorrupt); a false from Progress ends it (Cancelled).
void ExtractEntries(const SevenZipArchive& archive, const std::vector<bool>& selected,
                    PathMode mode, IExtractTarget& target, IExtractEvents& events);

}  // namespace standins::archive
