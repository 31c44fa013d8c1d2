// A 7z archive as the archive library opens and extracts it. The digests of the start header and
// of the header are made right first, so damage reaches the header parser instead of stopping at
// a digest. Refusals are ArchiveErrors; anything else escaping is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "standins/archive/archive_error.h"
#include "standins/archive/crc32.h"
#include "standins/archive/extractor.h"
#include "standins/archive/seven_zip_archive.h"

namespace archive = standins::archive;

namespace {

// Extraction writes at most this much before it is cancelled: a tiny packed block may unpack to
// a great deal.
constexpr std::uint64_t kMaxExtracted = 16u << 20;

std::uint64_t ReadLittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int size)
{
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}

void PutUInt32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void FixDigests(std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < archive::kSignatureHeaderSize)
        return;
    const std::uint64_t offset = ReadLittleEndian(bytes, 12, 8);
    const std::uint64_t size = ReadLittleEndian(bytes, 20, 8);
    const std::uint64_t room = bytes.size() - archive::kSignatureHeaderSize;
    if (offset <= room && size <= room - offset)
        PutUInt32(bytes, 28,
                  archive::Crc32(bytes.data() + archive::kSignatureHeaderSize + offset,
                                 static_cast<std::size_t>(size)));
    PutUInt32(bytes, 8, archive::Crc32(bytes.data() + 12, 20));
}

class DiscardingTarget : public archive::IExtractTarget
{
public:
    void MakeFolders(const std::u16string&) override {}
    std::optional<archive::ExistingFile> Existing(const std::u16string&) override
    {
        return std::nullopt;
    }
    void OpenFile(const std::u16string&) override { m_open = true; }
    void Write(const std::uint8_t*, std::size_t) override
    {
        if (!m_open)
            std::abort();
    }
    void CloseFile(std::optional<std::uint64_t>) override { m_open = false; }
    void DiscardFile() noexcept override { m_open = false; }

private:
    bool m_open = false;
};

class CappedEvents : public archive::IExtractEvents
{
public:
    void EntryStarting(std::size_t, std::size_t) override {}
    bool Progress(std::size_t, std::uint64_t done, std::uint64_t) override
    {
        return done <= kMaxExtracted;
    }
    bool ReplaceExisting(std::size_t, const archive::ArchiveItem&,
                         const archive::ExistingFile&) override
    {
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> bytes(data, data + size);
    FixDigests(bytes);
    archive::MemoryByteSource source(std::move(bytes));
    try {
        const archive::SevenZipArchive opened(source);
        DiscardingTarget target;
        CappedEvents events;
        archive::ExtractEntries(opened, std::vector<bool>(opened.Items().size(), true),
                                archive::PathMode::KeepFolders, target, events);
    } catch (const archive::ArchiveError&) {
    }
    return 0;
}
