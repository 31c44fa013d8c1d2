#include "shred/engine/stream_list.h"

#include <cstring>

namespace shred {
namespace {

// The fixed part of a backup stream header: id, attributes, 64-bit data size, name size in bytes.
constexpr std::uint32_t kStreamHeaderSize = 20;
// NTFS names hold 255 characters; with the colons and the type this is plenty, and a bigger name
// size means the headers are not what they claim.
constexpr std::uint32_t kMaxStreamNameBytes = 4096;

std::uint32_t ReadU32(const std::uint8_t* p)
{
    std::uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

std::uint64_t ReadU64(const std::uint8_t* p)
{
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

bool ReadExactly(IBackupStream& stream, std::uint8_t* buffer, std::uint32_t length)
{
    std::uint32_t read = 0;
    return stream.Read(buffer, length, read) && read == length;
}

}  // namespace

std::vector<std::wstring> ListAlternateStreams(IShredSystem& system, const std::wstring& path)
{
    std::vector<std::wstring> names;
    std::unique_ptr<IBackupStream> stream = system.OpenBackupRead(path);
    if (!stream)
        return names;
    for (;;) {
        // The header alone first: reading into the name would swallow data of unnamed streams.
        std::uint8_t header[kStreamHeaderSize];
        if (!ReadExactly(*stream, header, kStreamHeaderSize))
            break;
        const std::uint64_t dataSize = ReadU64(header + 8);
        const std::uint32_t nameSize = ReadU32(header + 16);
        if (nameSize > 0) {
            if (nameSize > kMaxStreamNameBytes || nameSize % sizeof(char16_t) != 0)
                break;
            std::vector<std::uint8_t> nameBytes(nameSize);
            if (!ReadExactly(*stream, nameBytes.data(), nameSize))
                break;
            std::wstring name;
            for (std::uint32_t i = 0; i < nameSize; i += 2)
                name.push_back(static_cast<wchar_t>(nameBytes[i] | (nameBytes[i + 1] << 8)));
            names.push_back(std::move(name));
        }
        if (dataSize != 0) {
            std::uint64_t moved = 0;
            const bool ok = stream->Seek(dataSize, moved);
            if (moved == 0 && !ok)
                break;
        }
    }
    return names;
}

}  // namespace shred
