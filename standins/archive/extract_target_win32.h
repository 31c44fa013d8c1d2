// Writes extracted entries below a target folder through the Win32 file API, with Unicode names.
#pragma once

#include "core/unique_handle.h"
#include "standins/archive/extractor.h"

#include <set>
#include <string>

namespace standins::archive {

class Win32ExtractTarget : public IExtractTarget
{
public:
    // Creates the target folder (and its parents) when missing; throws ArchiveError
    // (WriteFailed) when that fails.
    explicit Win32ExtractTarget(const std::wstring& folder);
    ~Win32ExtractTarget() override;

    void MakeFolders(const std::u16string& relativeFolder) override;
    std::optional<ExistingFile> Existing(const std::u16string& relativePath) override;
    void OpenFile(const std::u16string& relativePath) override;
    void Write(const std::uint8_t* data, std::size_t size) override;
    void CloseFile(std::optional<std::uint64_t> modified) override;
    void DiscardFile() noexcept override;

private:
    std::wstring FullPath(const std::u16string& relativePath) const;

    std::wstring m_root;  // ends with a backslash
    core::UniqueFile m_file;
    std::wstring m_filePath;
    // Folders made or found during this extraction: entries of one folder look it up once.
    std::set<std::wstring> m_knownFolders;
};

}  // namespace standins::archive
