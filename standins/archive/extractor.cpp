#include "standins/archive/extractor.h"

#include "standins/archive/archive_error.h"
#include "standins/archive/crc32.h"
#include "standins/archive/entry_names.h"
#include "standins/archive/folder_decoder.h"
#include "standins/archive/seven_zip_aes.h"

#include <memory>
#include <set>

namespace standins::archive {
namespace {

constexpr std::size_t kChunk = 1 << 16;

// Decodes the folders in archive order, restarting a folder only when an entry lies behind the
// current position (never, for entries taken in order).
class FolderCursor
{
public:
    explicit FolderCursor(const SevenZipArchive& archive) : m_archive(archive) {}

    FolderDecoder& At(std::size_t folderIndex, std::uint64_t offset)
    {
        if (!m_decoder || m_folder != folderIndex || m_position > offset) {
            const StreamsInfo& streams = m_archive.Streams();
            const Folder& folder = streams.folders.at(folderIndex);
            m_decoder.reset();
            m_decoder = std::make_unique<FolderDecoder>(
                m_archive.Source(), m_archive.PackOffset(folder),
                streams.packSizes.at(folder.firstPackStream), folder, m_archive.Password());
            m_folder = folderIndex;
            m_position = 0;
        }
        m_decoder->Skip(offset - m_position);
        m_position = offset;
        return *m_decoder;
    }

    void Advance(std::uint64_t count) { m_position += count; }

private:
    const SevenZipArchive& m_archive;
    std::unique_ptr<FolderDecoder> m_decoder;
    std::size_t m_folder = 0;
    std::uint64_t m_position = 0;
};

std::u16string ParentOf(std::u16string_view path)
{
    const std::size_t last = path.find_last_of(u'\\');
    return last == std::u16string_view::npos ? std::u16string()
                                             : std::u16string(path.substr(0, last));
}

// A wrong password shows in the first bytes of an encrypted block, where the decoder meets
// what cannot be compressed data: found before anything is written, as an archive that cannot
// be opened with it.
void CheckPasswords(const SevenZipArchive& archive, const std::vector<bool>& selected)
{
    const std::vector<ArchiveItem>& items = archive.Items();
    std::set<std::size_t> checked;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!selected[i] || !items[i].folder || !checked.insert(*items[i].folder).second) {
            continue;
        }
        const StreamsInfo& streams = archive.Streams();
        const Folder& folder = streams.folders.at(*items[i].folder);
        if (CoderChain(folder).front()->id != kAesCoderId) {
            continue;
        }
        try {
            FolderDecoder decoder(archive.Source(), archive.PackOffset(folder),
                                  streams.packSizes.at(folder.firstPackStream), folder,
                                  archive.Password());
            std::vector<std::uint8_t> start(4096);
            decoder.Read(start.data(), start.size());
        } catch (const ArchiveError& failure) {
            if (failure.Code() != ErrorCode::DataCorrupt) {
                throw;
            }
            throw ArchiveError(ErrorCode::CannotOpen, "the password does not open the data");
        }
    }
}

}  // namespace

void ExtractEntries(const SevenZipArchive& archive, const std::vector<bool>& selected,
                    PathMode mode, IExtractTarget& target, IExtractEvents& events)
{
    const std::vector<ArchiveItem>& items = archive.Items();
    if (selected.size() != items.size()) {
        throw ArchiveError(ErrorCode::BadArgument, "selection does not fit the archive");
    }
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!selected[i]) {
            continue;
        }
        if (!IsSafeEntryName(items[i].name)) {
            throw ArchiveError(ErrorCode::IllegalPath, "entry name leaves the target folder");
        }
        total += items[i].isFolder ? 0 : items[i].size;
        // An archive that cannot be decoded fails before anything is written.
        if (items[i].folder) {
            CheckCoders(archive.Streams().folders.at(*items[i].folder));
        }
    }

    CheckPasswords(archive, selected);

    FolderCursor cursor(archive);
    std::vector<std::uint8_t> buffer(kChunk);
    std::uint64_t done = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ArchiveItem& item = items[i];
        if (!selected[i]) {
            continue;
        }
        events.EntryStarting(i, items.size());
        if (item.isFolder) {
            if (mode == PathMode::KeepFolders) {
                target.MakeFolders(item.name);
            }
            continue;
        }
        const std::u16string path =
            mode == PathMode::KeepFolders ? item.name : std::u16string(BareName(item.name));
        if (const std::u16string parent = ParentOf(path); !parent.empty()) {
            target.MakeFolders(parent);
        }
        if (const auto existing = target.Existing(path)) {
            if (!events.ReplaceExisting(i, item, *existing)) {
                done += item.size;
                continue;
            }
        }
        if (!events.Progress(i, done, total)) {
            throw ArchiveError(ErrorCode::Cancelled, "extraction cancelled");
        }
        target.OpenFile(path);
        try {
            std::uint32_t crc = 0;
            std::uint64_t remaining = item.size;
            FolderDecoder* decoder =
                item.folder ? &cursor.At(*item.folder, item.offsetInFolder) : nullptr;
            if (decoder == nullptr && remaining != 0) {
                throw ArchiveError(ErrorCode::DataCorrupt, "entry without data");
            }
            while (remaining != 0) {
                const std::size_t got = decoder->Read(
                    buffer.data(),
                    static_cast<std::size_t>(std::min<std::uint64_t>(remaining, buffer.size())));
                if (got == 0) {
                    throw ArchiveError(ErrorCode::DataCorrupt, "block shorter than its entries");
                }
                cursor.Advance(got);
                crc = Crc32(buffer.data(), got, crc);
                target.Write(buffer.data(), got);
                remaining -= got;
                done += got;
                if (!events.Progress(i, done, total)) {
                    throw ArchiveError(ErrorCode::Cancelled, "extraction cancelled");
                }
            }
            if (item.crc && crc != *item.crc) {
                throw ArchiveError(ErrorCode::DataCorrupt, "entry data fails its CRC");
            }
            target.CloseFile(item.modified);
        } catch (...) {
            target.DiscardFile();
            throw;
        }
    }
}

}  // namespace standins::archive
