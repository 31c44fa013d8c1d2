#include "standins/archive/seven_zip_archive.h"

#include "standins/archive/archive_error.h"
#include "standins/archive/byte_reader.h"
#include "standins/archive/crc32.h"
#include "standins/archive/folder_decoder.h"

#include <array>
#include <cstring>

namespace standins::archive {
namespace {

constexpr std::array<std::uint8_t, 6> kSignature = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
// A header larger than this is not one the library will hold in memory.
constexpr std::uint64_t kMaxHeaderSize = 256u << 20;

std::u16string NormalizeSeparators(std::u16string name)
{
    for (char16_t& unit : name) {
        if (unit == u'/') {
            unit = u'\\';
        }
    }
    return name;
}

}  // namespace

std::vector<std::uint8_t> DecodeWholeFolder(IByteSource& source, std::uint64_t packOffset,
                                            const StreamsInfo& streams, const Folder& folder,
                                            ArchivePassword* password)
{
    const std::uint64_t size = folder.UnpackSize();
    if (size > kMaxHeaderSize) {
        ThrowBadHeader("packed header too large");
    }
    FolderDecoder decoder(source, packOffset, streams.packSizes.at(folder.firstPackStream), folder,
                          password);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::size_t done = 0;
    try {
        while (done < bytes.size()) {
            const std::size_t got = decoder.Read(bytes.data() + done, bytes.size() - done);
            if (got == 0) {
                throw ArchiveError(ErrorCode::DataCorrupt, "packed header ends early");
            }
            done += got;
        }
    } catch (const ArchiveError& failure) {
        // A header that does not decode (often: decrypted with the wrong password) leaves the
        // archive unopened.
        throw ArchiveError(ErrorCode::CannotOpen, failure.what());
    }
    if (folder.crc && Crc32(bytes.data(), bytes.size()) != *folder.crc) {
        throw ArchiveError(ErrorCode::CannotOpen, "packed header fails its CRC");
    }
    return bytes;
}

std::uint64_t SevenZipArchive::PackOffset(const Folder& folder) const
{
    std::uint64_t offset = kSignatureHeaderSize + m_streams.packPosition;
    for (std::size_t i = 0; i < folder.firstPackStream; ++i) {
        offset += m_streams.packSizes[i];
    }
    return offset;
}

SevenZipArchive::SevenZipArchive(IByteSource& source, ArchivePassword* password)
    : m_source(source), m_password(password)
{
    std::uint8_t start[kSignatureHeaderSize];
    if (!source.ReadAt(0, start, sizeof start) ||
        std::memcmp(start, kSignature.data(), kSignature.size()) != 0 || start[6] != 0) {
        throw ArchiveError(ErrorCode::CannotOpen, "not a 7z archive");
    }
    if (Crc32(start + 12, 20) != ByteReader(start + 8, 4).ReadUInt32()) {
        throw ArchiveError(ErrorCode::CannotOpen, "start header fails its CRC");
    }
    ByteReader fields(start + 12, 20);
    const std::uint64_t nextOffset = fields.ReadUInt64();
    const std::uint64_t nextSize = fields.ReadUInt64();
    const std::uint32_t nextCrc = fields.ReadUInt32();
    HeaderDatabase database;
    if (nextSize != 0) {
        if (nextOffset > source.Size() || nextSize > kMaxHeaderSize ||
            nextSize > source.Size() - kSignatureHeaderSize - nextOffset) {
            throw ArchiveError(ErrorCode::CannotOpen, "header outside the file");
        }
        std::vector<std::uint8_t> header(static_cast<std::size_t>(nextSize));
        if (!source.ReadAt(kSignatureHeaderSize + nextOffset, header.data(), header.size())) {
            throw ArchiveError(ErrorCode::CannotOpen, "cannot read the header");
        }
        if (Crc32(header.data(), header.size()) != nextCrc) {
            throw ArchiveError(ErrorCode::CannotOpen, "header fails its CRC");
        }
        // A packed header describes one folder whose data is the real header (which could in
        // turn be packed again).
        for (int depth = 0; !header.empty() && header[0] == property::kEncodedHeader; ++depth) {
            if (depth == 4) {
                ThrowBadHeader("packed header nesting");
            }
            StreamsInfo packed = ParseStreamsInfo(header.data() + 1, header.size() - 1);
            if (packed.folders.empty()) {
                ThrowBadHeader("packed header without folder");
            }
            std::uint64_t offset = kSignatureHeaderSize + packed.packPosition;
            header = DecodeWholeFolder(source, offset, packed, packed.folders[0], password);
        }
        database = ParseHeader(header.data(), header.size());
    }
    m_streams = std::move(database.streams);

    std::size_t folder = 0;
    std::size_t streamInFolder = 0;
    std::size_t stream = 0;
    std::uint64_t offset = 0;
    for (FileRecord& file : database.files) {
        ArchiveItem item;
        item.name = NormalizeSeparators(std::move(file.name));
        item.isFolder = file.isFolder;
        item.modified = file.modified;
        item.attributes = file.attributes.value_or(file.isFolder ? kAttributeFolder : 0);
        if (file.hasStream) {
            while (folder < m_streams.folders.size() &&
                   streamInFolder >= m_streams.substreamCounts[folder]) {
                ++folder;
                streamInFolder = 0;
                offset = 0;
            }
            if (folder >= m_streams.folders.size() || stream >= m_streams.substreamSizes.size()) {
                ThrowBadHeader("more files than streams");
            }
            item.folder = folder;
            item.offsetInFolder = offset;
            item.size = m_streams.substreamSizes[stream];
            item.crc = m_streams.substreamCrcs[stream];
            if (streamInFolder == 0) {
                const Folder& block = m_streams.folders[folder];
                for (std::size_t p = 0; p < block.packedStreams.size(); ++p) {
                    item.packedSize += m_streams.packSizes[block.firstPackStream + p];
                }
            }
            offset += item.size;
            ++streamInFolder;
            ++stream;
        }
        m_items.push_back(std::move(item));
    }
}

}  // namespace standins::archive
