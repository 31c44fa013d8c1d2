#include "setup/ui/flash/swf_header.h"

#include <algorithm>
#include <array>

#include <zlib.h>

namespace setup::ui {

namespace {

constexpr std::size_t kHeaderBytes = 8;
// Five bits of size and four values of at most 31 bits: 129 bits.
constexpr std::size_t kRectBytes = 17;
// A window's coordinates are 16-bit on every Windows the setup knows.
constexpr std::int32_t kLargestPixels = 32767;

// Reads bits from the most significant bit of each byte on.
class BitReader
{
public:
    explicit BitReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint32_t Unsigned(unsigned count)
    {
        std::uint32_t value = 0;
        for (unsigned i = 0; i < count; ++i, ++m_bit) {
            const std::uint8_t byte = m_bytes[m_bit / 8];
            value = (value << 1) | ((byte >> (7 - m_bit % 8)) & 1u);
        }
        return value;
    }

    std::int32_t Signed(unsigned count)
    {
        const std::uint32_t value = Unsigned(count);
        if (count == 0)
            return 0;
        const std::uint32_t sign = 1u << (count - 1);
        return static_cast<std::int32_t>(value ^ sign) - static_cast<std::int32_t>(sign);
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_bit = 0;
};

// The first bytes of the movie's compressed body; none when the stream ends or breaks first.
std::optional<std::array<std::uint8_t, kRectBytes>> Inflated(std::span<const std::uint8_t> body)
{
    std::array<std::uint8_t, kRectBytes> out{};
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = const_cast<Bytef*>(body.data());
    stream.avail_in = static_cast<uInt>(body.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    int result = Z_OK;
    while (stream.avail_out > 0 && result == Z_OK)
        result = inflate(&stream, Z_SYNC_FLUSH);
    const bool complete = stream.avail_out == 0;
    inflateEnd(&stream);
    if (!complete)
        return std::nullopt;
    return out;
}

}  // namespace

std::optional<SwfFrameRect> ReadSwfFrameRect(std::span<const std::uint8_t> fileStart)
{
    if (fileStart.size() < kHeaderBytes || fileStart[1] != 'W' || fileStart[2] != 'S')
        return std::nullopt;
    std::array<std::uint8_t, kRectBytes> rect{};
    const auto body = fileStart.subspan(kHeaderBytes);
    if (fileStart[0] == 'F') {
        // A small rectangle fits in fewer bytes; what it needs is checked below.
        const std::size_t count = std::min(body.size(), kRectBytes);
        std::copy(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(count), rect.begin());
    } else if (fileStart[0] == 'C') {
        const auto inflated = Inflated(body.first(std::min(body.size(), kSwfHeadBytes)));
        if (!inflated)
            return std::nullopt;
        rect = *inflated;
    } else {
        return std::nullopt;
    }
    const unsigned bits = rect[0] >> 3;
    const std::size_t needed = (5 + 4 * static_cast<std::size_t>(bits) + 7) / 8;
    if (bits == 0 || (fileStart[0] == 'F' && body.size() < needed))
        return std::nullopt;
    BitReader reader(rect);
    reader.Unsigned(5);
    SwfFrameRect frame;
    frame.xMin = reader.Signed(bits);
    frame.xMax = reader.Signed(bits);
    frame.yMin = reader.Signed(bits);
    frame.yMax = reader.Signed(bits);
    const std::int32_t width = SwfPixels(frame.xMax);
    const std::int32_t height = SwfPixels(frame.yMax);
    if (width <= 0 || height <= 0 || width > kLargestPixels || height > kLargestPixels)
        return std::nullopt;
    return frame;
}

}  // namespace setup::ui
