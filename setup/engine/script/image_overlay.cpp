#include "setup/engine/script/image_overlay.h"

#include <algorithm>
#include <vector>

#include "setup/engine/rtl/stream.h"

namespace setup::engine {
namespace {

std::uint32_t Read32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t Read16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;

}  // namespace

std::optional<std::uint64_t> ImageEndFromHeaders(const std::uint8_t* headers, std::size_t size)
{
    if (!headers || size < 0x40 || headers[0] != 'M' || headers[1] != 'Z')
        return std::nullopt;
    const std::size_t pe = Read32(headers + 0x3C);
    if (pe > size || size - pe < 4 + kFileHeaderSize || Read32(headers + pe) != 0x00004550)
        return std::nullopt;
    const std::uint8_t* fileHeader = headers + pe + 4;
    const std::size_t sectionCount = Read16(fileHeader + 2);
    // The section table follows the optional header, whose size the file header records: 224
    // bytes in a 32-bit image, 240 in a 64-bit one.
    const std::size_t optionalHeaderSize = Read16(fileHeader + 16);
    const std::size_t table = pe + 4 + kFileHeaderSize + optionalHeaderSize;
    if (table > size || (size - table) / kSectionHeaderSize < sectionCount)
        return std::nullopt;
    std::uint64_t end = 0;
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::uint8_t* section = headers + table + i * kSectionHeaderSize;
        const std::uint64_t rawSize = Read32(section + 16);
        const std::uint64_t rawPointer = Read32(section + 20);
        end = std::max(end, rawPointer + rawSize);
    }
    return end;
}

bool CopyFileOverlay(const std::string& source, const std::string& target, std::uint64_t imageSize)
{
    auto input = rtl::OpenFileStream(source, rtl::FileStreamMode::OpenReadDenyWrite);
    const std::int64_t length = input->Size();
    // A file no longer than its image carries nothing after it.
    if (length < 0 || static_cast<std::uint64_t>(length) <= imageSize)
        return false;
    input->SetPosition(static_cast<std::int64_t>(imageSize));
    auto output = rtl::OpenFileStream(target, rtl::FileStreamMode::Create);
    std::vector<std::uint8_t> buffer(64 * 1024);
    std::uint64_t remaining = static_cast<std::uint64_t>(length) - imageSize;
    while (remaining > 0) {
        const std::size_t chunk =
            static_cast<std::size_t>(std::min<std::uint64_t>(remaining, buffer.size()));
        input->ReadBuffer(buffer.data(), chunk);
        output->WriteBuffer(buffer.data(), chunk);
        remaining -= chunk;
    }
    return true;
}

}  // namespace setup::engine
