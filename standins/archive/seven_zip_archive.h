// An opened 7z archive: the signature header, the (possibly packed) header and the list of entries
// with where each one's data lies.
#pragma once

#include "standins/archive/byte_source.h"
#include "standins/archive/seven_zip_header.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standins::archive {

struct ArchiveItem
{
    std::u16string name;  // folders separated by backslashes
    bool isFolder = false;
    std::uint64_t size = 0;
    std::uint64_t packedSize = 0;  // the block's packed size, on the block's first entry
    std::optional<std::uint32_t> crc;
    std::optional<std::uint64_t> modified;
    std::uint32_t attributes = 0;
    std::optional<std::size_t> folder;  // block holding the data; none for empty entries
    std::uint64_t offsetInFolder = 0;
};

class ArchivePassword;

class SevenZipArchive
{
public:
    // Throws ArchiveError (CannotOpen) for anything that is not a readable 7z archive, also for
    // an encrypted header that the password does not open. The password outlives the archive.
    explicit SevenZipArchive(IByteSource& source, ArchivePassword* password = nullptr);

    const std::vector<ArchiveItem>& Items() const { return m_items; }
    const StreamsInfo& Streams() const { return m_streams; }
    IByteSource& Source() const { return m_source; }
    ArchivePassword* Password() const { return m_password; }
    std::uint64_t PackOffset(const Folder& folder) const;

private:
    IByteSource& m_source;
    ArchivePassword* m_password;
    StreamsInfo m_streams;
    std::vector<ArchiveItem> m_items;
};

inline constexpr std::uint64_t kSignatureHeaderSize = 32;

// Decodes one folder entirely (used for packed headers, which are small).
std::vector<std::uint8_t> DecodeWholeFolder(IByteSource& source, std::uint64_t packOffset,
                                            const StreamsInfo& streams, const Folder& folder,
                                            ArchivePassword* password = nullptr);

}  // namespace standins::archive
