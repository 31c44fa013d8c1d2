// The 7z header as stored: pack streams, folders (coder chains), substreams and file records, read
// from a decoded header buffer. Byte layout after the public 7z format description.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standins::archive {

struct Coder
{
    std::vector<std::uint8_t> id;
    std::uint32_t inStreams = 1;
    std::uint32_t outStreams = 1;
    std::vector<std::uint8_t> properties;
};

struct BindPair
{
    std::uint64_t inIndex = 0;
    std::uint64_t outIndex = 0;
};

struct Folder
{
    std::vector<Coder> coders;
    std::vector<BindPair> bindPairs;
    std::vector<std::uint64_t> packedStreams;  // in-stream indices fed from pack streams
    std::vector<std::uint64_t> unpackSizes;    // one per out stream
    std::optional<std::uint32_t> crc;
    std::size_t firstPackStream = 0;

    std::size_t InStreamCount() const;
    std::size_t OutStreamCount() const;
    // The out stream no bind pair consumes: the folder's data.
    std::size_t MainOutStream() const;
    std::uint64_t UnpackSize() const { return unpackSizes.at(MainOutStream()); }
};

struct StreamsInfo
{
    std::uint64_t packPosition = 0;
    std::vector<std::uint64_t> packSizes;
    std::vector<Folder> folders;
    std::vector<std::size_t> substreamCounts;  // per folder
    std::vector<std::uint64_t> substreamSizes;
    std::vector<std::optional<std::uint32_t>> substreamCrcs;
};

struct FileRecord
{
    std::u16string name;
    bool hasStream = true;
    bool isFolder = false;
    bool isAnti = false;
    std::optional<std::uint64_t> modified;  // FILETIME ticks, UTC
    std::optional<std::uint32_t> attributes;
};

struct HeaderDatabase
{
    StreamsInfo streams;
    std::vector<FileRecord> files;
};

// Property identifiers of the header.
namespace property {
inline constexpr std::uint8_t kEnd = 0x00;
inline constexpr std::uint8_t kHeader = 0x01;
inline constexpr std::uint8_t kArchiveProperties = 0x02;
inline constexpr std::uint8_t kAdditionalStreamsInfo = 0x03;
inline constexpr std::uint8_t kMainStreamsInfo = 0x04;
inline constexpr std::uint8_t kFilesInfo = 0x05;
inline constexpr std::uint8_t kPackInfo = 0x06;
inline constexpr std::uint8_t kUnpackInfo = 0x07;
inline constexpr std::uint8_t kSubStreamsInfo = 0x08;
inline constexpr std::uint8_t kSize = 0x09;
inline constexpr std::uint8_t kCrc = 0x0A;
inline constexpr std::uint8_t kFolder = 0x0B;
inline constexpr std::uint8_t kCodersUnpackSize = 0x0C;
inline constexpr std::uint8_t kNumUnpackStream = 0x0D;
inline constexpr std::uint8_t kEmptyStream = 0x0E;
inline constexpr std::uint8_t kEmptyFile = 0x0F;
inline constexpr std::uint8_t kAnti = 0x10;
inline constexpr std::uint8_t kName = 0x11;
inline constexpr std::uint8_t kModifiedTime = 0x14;
inline constexpr std::uint8_t kWinAttributes = 0x15;
inline constexpr std::uint8_t kEncodedHeader = 0x17;
inline constexpr std::uint8_t kDummy = 0x19;
}  // namespace property

inline constexpr std::uint32_t kAttributeFolder = 0x10;

// Reads the streams description that follows kEncodedHeader (or kMainStreamsInfo).
StreamsInfo ParseStreamsInfo(const std::uint8_t* data, std::size_t size);
// Reads a plain header, which starts with kHeader.
HeaderDatabase ParseHeader(const std::uint8_t* data, std::size_t size);

}  // namespace standins::archive
