#include "standins/archive/seven_zip_header.h"

#include "standins/archive/byte_reader.h"

#include <algorithm>
#include <numeric>

namespace standins::archive {
namespace {

void Expect(ByteReader& reader, std::uint8_t id)
{
    if (reader.ReadByte() != id) {
        ThrowBadHeader("unexpected property");
    }
}

std::vector<std::optional<std::uint32_t>> ReadDigests(ByteReader& reader, std::size_t count)
{
    const std::vector<bool> defined = reader.ReadDefinedVector(count);
    std::vector<std::optional<std::uint32_t>> digests(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (defined[i]) {
            digests[i] = reader.ReadUInt32();
        }
    }
    return digests;
}

void ReadPackInfo(ByteReader& reader, StreamsInfo& info)
{
    info.packPosition = reader.ReadNumber();
    const std::size_t count = reader.ReadCount();
    info.packSizes.assign(count, 0);
    for (std::uint8_t id = reader.ReadByte(); id != property::kEnd; id = reader.ReadByte()) {
        if (id == property::kSize) {
            for (std::uint64_t& size : info.packSizes) {
                size = reader.ReadNumber();
            }
        } else if (id == property::kCrc) {
            ReadDigests(reader, count);  // the pack streams' digests are not needed
        } else {
            reader.Skip(reader.ReadNumber());
        }
    }
}

Folder ReadFolder(ByteReader& reader)
{
    Folder folder;
    const std::size_t coderCount = reader.ReadCount();
    if (coderCount == 0) {
        ThrowBadHeader("folder without coders");
    }
    for (std::size_t i = 0; i < coderCount; ++i) {
        const std::uint8_t flags = reader.ReadByte();
        if ((flags & 0x80) != 0) {
            ThrowBadHeader("alternative coder methods");
        }
        Coder coder;
        const std::uint8_t* id = reader.ReadBytes(flags & 0x0F);
        coder.id.assign(id, id + (flags & 0x0F));
        if ((flags & 0x10) != 0) {
            coder.inStreams = static_cast<std::uint32_t>(reader.ReadCount());
            coder.outStreams = static_cast<std::uint32_t>(reader.ReadCount());
        }
        if ((flags & 0x20) != 0) {
            const std::size_t size = reader.ReadCount();
            const std::uint8_t* properties = reader.ReadBytes(size);
            coder.properties.assign(properties, properties + size);
        }
        folder.coders.push_back(std::move(coder));
    }
    const std::size_t outCount = folder.OutStreamCount();
    const std::size_t inCount = folder.InStreamCount();
    if (outCount == 0 || inCount < outCount - 1) {
        ThrowBadHeader("folder streams");
    }
    for (std::size_t i = 0; i + 1 < outCount; ++i) {
        BindPair pair{reader.ReadNumber(), reader.ReadNumber()};
        if (pair.inIndex >= inCount || pair.outIndex >= outCount) {
            ThrowBadHeader("bind pair");
        }
        folder.bindPairs.push_back(pair);
    }
    const std::size_t packedCount = inCount - folder.bindPairs.size();
    if (packedCount == 1) {
        for (std::size_t in = 0; in < inCount; ++in) {
            bool bound = false;
            for (const BindPair& pair : folder.bindPairs) {
                bound = bound || pair.inIndex == in;
            }
            if (!bound) {
                folder.packedStreams.push_back(in);
                break;
            }
        }
        if (folder.packedStreams.empty()) {
            ThrowBadHeader("no packed stream");
        }
    } else {
        for (std::size_t i = 0; i < packedCount; ++i) {
            folder.packedStreams.push_back(reader.ReadNumber());
        }
    }
    return folder;
}

void ReadUnpackInfo(ByteReader& reader, StreamsInfo& info)
{
    Expect(reader, property::kFolder);
    const std::size_t folderCount = reader.ReadCount();
    if (reader.ReadByte() != 0) {
        ThrowBadHeader("external folders");
    }
    std::size_t packStream = 0;
    for (std::size_t i = 0; i < folderCount; ++i) {
        Folder folder = ReadFolder(reader);
        folder.firstPackStream = packStream;
        packStream += folder.packedStreams.size();
        info.folders.push_back(std::move(folder));
    }
    Expect(reader, property::kCodersUnpackSize);
    for (Folder& folder : info.folders) {
        folder.unpackSizes.resize(folder.OutStreamCount());
        for (std::uint64_t& size : folder.unpackSizes) {
            size = reader.ReadNumber();
        }
    }
    for (std::uint8_t id = reader.ReadByte(); id != property::kEnd; id = reader.ReadByte()) {
        if (id == property::kCrc) {
            const auto digests = ReadDigests(reader, folderCount);
            for (std::size_t i = 0; i < folderCount; ++i) {
                info.folders[i].crc = digests[i];
            }
        } else {
            reader.Skip(reader.ReadNumber());
        }
    }
}

void ReadSubStreamsInfo(ByteReader& reader, StreamsInfo& info)
{
    std::uint8_t id = reader.ReadByte();
    if (id == property::kNumUnpackStream) {
        for (std::size_t& count : info.substreamCounts) {
            count = reader.ReadCount(1);
        }
        id = reader.ReadByte();
    }
    const bool sizesStored = id == property::kSize;
    info.substreamSizes.clear();
    for (std::size_t f = 0; f < info.folders.size(); ++f) {
        const std::size_t count = info.substreamCounts[f];
        if (count == 0) {
            continue;
        }
        if (count > 1 && !sizesStored) {
            ThrowBadHeader("substream sizes missing");
        }
        const std::uint64_t folderSize = info.folders[f].UnpackSize();
        std::uint64_t sum = 0;
        for (std::size_t s = 0; s + 1 < count; ++s) {
            const std::uint64_t size = reader.ReadNumber();
            if (size > folderSize - sum) {
                ThrowBadHeader("substream sizes exceed their folder");
            }
            sum += size;
            info.substreamSizes.push_back(size);
        }
        info.substreamSizes.push_back(folderSize - sum);
    }
    if (sizesStored) {
        id = reader.ReadByte();
    }

    // Digests are stored only for the streams whose folder digest does not already cover them.
    std::size_t unknown = 0;
    for (std::size_t f = 0; f < info.folders.size(); ++f) {
        const std::size_t count = info.substreamCounts[f];
        if (!(count == 1 && info.folders[f].crc)) {
            unknown += count;
        }
    }
    info.substreamCrcs.assign(info.substreamSizes.size(), std::nullopt);
    for (; id != property::kEnd; id = reader.ReadByte()) {
        if (id != property::kCrc) {
            reader.Skip(reader.ReadNumber());
            continue;
        }
        const auto digests = ReadDigests(reader, unknown);
        std::size_t next = 0;
        std::size_t stream = 0;
        for (std::size_t f = 0; f < info.folders.size(); ++f) {
            const std::size_t count = info.substreamCounts[f];
            if (count == 1 && info.folders[f].crc) {
                info.substreamCrcs[stream++] = info.folders[f].crc;
                continue;
            }
            for (std::size_t s = 0; s < count; ++s) {
                info.substreamCrcs[stream++] = digests[next++];
            }
        }
    }
}

void FillDefaultSubstreams(StreamsInfo& info)
{
    // Without a substreams section every folder holds exactly one stream.
    info.substreamSizes.clear();
    info.substreamCrcs.clear();
    for (const Folder& folder : info.folders) {
        info.substreamSizes.push_back(folder.UnpackSize());
        info.substreamCrcs.push_back(folder.crc);
    }
}

StreamsInfo ReadStreamsInfo(ByteReader& reader)
{
    StreamsInfo info;
    bool haveSubstreams = false;
    for (std::uint8_t id = reader.ReadByte(); id != property::kEnd; id = reader.ReadByte()) {
        if (id == property::kPackInfo) {
            ReadPackInfo(reader, info);
        } else if (id == property::kUnpackInfo) {
            ReadUnpackInfo(reader, info);
            info.substreamCounts.assign(info.folders.size(), 1);
        } else if (id == property::kSubStreamsInfo) {
            ReadSubStreamsInfo(reader, info);
            haveSubstreams = true;
        } else {
            ThrowBadHeader("unknown streams property");
        }
    }
    if (!haveSubstreams) {
        FillDefaultSubstreams(info);
    }
    for (const Folder& folder : info.folders) {
        if (folder.firstPackStream + folder.packedStreams.size() > info.packSizes.size()) {
            ThrowBadHeader("folder without pack stream");
        }
    }
    return info;
}

std::vector<std::u16string> ReadNames(ByteReader& reader, std::size_t size, std::size_t count)
{
    if (reader.ReadByte() != 0) {
        ThrowBadHeader("external names");
    }
    if (size == 0 || (size - 1) % 2 != 0) {
        ThrowBadHeader("names size");
    }
    const std::uint8_t* bytes = reader.ReadBytes(size - 1);
    std::vector<std::u16string> names;
    std::u16string current;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        if (unit == 0) {
            names.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(unit);
        }
    }
    if (names.size() != count || !current.empty()) {
        ThrowBadHeader("name count");
    }
    return names;
}

void ReadFilesInfo(ByteReader& reader, HeaderDatabase& database)
{
    const std::size_t count = reader.ReadCount(1);
    database.files.assign(count, FileRecord{});
    std::vector<bool> emptyStream(count, false);
    std::vector<bool> emptyFile;
    std::vector<bool> anti;
    std::size_t emptyCount = 0;
    for (std::uint8_t id = reader.ReadByte(); id != property::kEnd; id = reader.ReadByte()) {
        const std::uint64_t size = reader.ReadNumber();
        if (size > reader.Remaining()) {
            ThrowBadHeader("file property size");
        }
        ByteReader part(reader.ReadBytes(static_cast<std::size_t>(size)),
                        static_cast<std::size_t>(size));
        switch (id) {
            case property::kEmptyStream:
                emptyStream = part.ReadBitVector(count);
                emptyCount = static_cast<std::size_t>(
                    std::count(emptyStream.begin(), emptyStream.end(), true));
                break;
            case property::kEmptyFile:
                emptyFile = part.ReadBitVector(emptyCount);
                break;
            case property::kAnti:
                anti = part.ReadBitVector(emptyCount);
                break;
            case property::kName: {
                auto names = ReadNames(part, static_cast<std::size_t>(size), count);
                for (std::size_t i = 0; i < count; ++i) {
                    database.files[i].name = std::move(names[i]);
                }
                break;
            }
            case property::kModifiedTime: {
                const std::vector<bool> defined = part.ReadDefinedVector(count);
                if (part.ReadByte() != 0) {
                    ThrowBadHeader("external times");
                }
                for (std::size_t i = 0; i < count; ++i) {
                    if (defined[i]) {
                        database.files[i].modified = part.ReadUInt64();
                    }
                }
                break;
            }
            case property::kWinAttributes: {
                const std::vector<bool> defined = part.ReadDefinedVector(count);
                if (part.ReadByte() != 0) {
                    ThrowBadHeader("external attributes");
                }
                for (std::size_t i = 0; i < count; ++i) {
                    if (defined[i]) {
                        database.files[i].attributes = part.ReadUInt32();
                    }
                }
                break;
            }
            default:
                break;  // other times, start positions and padding are not needed
        }
    }
    std::size_t emptyIndex = 0;
    for (std::size_t i = 0; i < count; ++i) {
        FileRecord& file = database.files[i];
        if (emptyStream[i]) {
            file.hasStream = false;
            const bool isEmptyFile = emptyIndex < emptyFile.size() && emptyFile[emptyIndex];
            file.isAnti = emptyIndex < anti.size() && anti[emptyIndex];
            file.isFolder = !isEmptyFile;
            ++emptyIndex;
        }
        if (file.attributes && (*file.attributes & kAttributeFolder) != 0 && !file.hasStream) {
            file.isFolder = true;
        }
    }
}

}  // namespace

std::size_t Folder::InStreamCount() const
{
    return std::accumulate(coders.begin(), coders.end(), std::size_t{0},
                           [](std::size_t sum, const Coder& c) { return sum + c.inStreams; });
}

std::size_t Folder::OutStreamCount() const
{
    return std::accumulate(coders.begin(), coders.end(), std::size_t{0},
                           [](std::size_t sum, const Coder& c) { return sum + c.outStreams; });
}

std::size_t Folder::MainOutStream() const
{
    for (std::size_t out = 0; out < OutStreamCount(); ++out) {
        bool bound = false;
        for (const BindPair& pair : bindPairs) {
            bound = bound || pair.outIndex == out;
        }
        if (!bound) {
            return out;
        }
    }
    ThrowBadHeader("folder without output");
}

StreamsInfo ParseStreamsInfo(const std::uint8_t* data, std::size_t size)
{
    ByteReader reader(data, size);
    return ReadStreamsInfo(reader);
}

HeaderDatabase ParseHeader(const std::uint8_t* data, std::size_t size)
{
    ByteReader reader(data, size);
    Expect(reader, property::kHeader);
    HeaderDatabase database;
    for (std::uint8_t id = reader.ReadByte(); id != property::kEnd; id = reader.ReadByte()) {
        switch (id) {
            case property::kArchiveProperties:
                for (std::uint8_t type = reader.ReadByte(); type != property::kEnd;
                     type = reader.ReadByte()) {
                    reader.Skip(reader.ReadNumber());
                }
                break;
            case property::kAdditionalStreamsInfo:
                ReadStreamsInfo(reader);  // not written by current tools; read past it
                break;
            case property::kMainStreamsInfo:
                database.streams = ReadStreamsInfo(reader);
                break;
            case property::kFilesInfo:
                ReadFilesInfo(reader, database);
                break;
            default:
                ThrowBadHeader("unknown header property");
        }
    }
    return database;
}

}  // namespace standins::archive
