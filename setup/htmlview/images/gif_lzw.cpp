#include "setup/htmlview/images/gif_lzw.h"

#include <array>
#include <vector>

#include "setup/htmlview/images/gif_decoder.h"

namespace htmlview {
namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

[[noreturn]] void FailLzw(int code)
{
    static const char* const texts[] = {"Invalid LZW Code Size", "Invalid LZW Data Format"};
    throw GifError(code, texts[code == kGifBadCodeSize ? 0 : 1]);
}

class CodeReader
{
public:
    explicit CodeReader(std::span<const std::uint8_t> data) : m_data(data) {}

    int Read(int size)
    {
        if (size > kMaxCodeBits)
            FailLzw(kGifBadCodeSize);
        while (m_bitCount < size) {
            const std::uint32_t next = m_pos < m_data.size() ? m_data[m_pos++] : 0;
            m_bits |= next << m_bitCount;
            m_bitCount += 8;
        }
        const int code = static_cast<int>(m_bits & ((1u << size) - 1));
        m_bits >>= size;
        m_bitCount -= size;
        return code;
    }
    // More codes can come: unread bytes, or whole codes still in the bit buffer.
    bool HasMore(int size) const { return m_pos < m_data.size() || m_bitCount >= size; }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    std::uint32_t m_bits = 0;
    int m_bitCount = 0;
};

// Where the next pixel goes, row by row or in the four interlace passes.
class PixelPlacer
{
public:
    PixelPlacer(bool interlaced, int width, int height, std::span<std::uint8_t> pixels)
        : m_interlaced(interlaced), m_width(width), m_height(height), m_pixels(pixels)
    {}

    void Put(std::uint8_t value)
    {
        const auto at = static_cast<std::uint64_t>(m_row) * static_cast<std::uint64_t>(m_width) +
                        static_cast<std::uint64_t>(m_column);
        if (m_row < m_height && at < m_pixels.size())
            m_pixels[at] = value;
        if (++m_column < m_width)
            return;
        m_column = 0;
        if (!m_interlaced) {
            ++m_row;
            return;
        }
        static constexpr int kStep[] = {8, 8, 4, 2};
        static constexpr int kStart[] = {0, 4, 2, 1};
        m_row += kStep[m_pass];
        if (m_row >= m_height) {
            m_pass = (m_pass + 1) % 4;
            m_row = kStart[m_pass];
        }
    }

private:
    bool m_interlaced;
    int m_width, m_height;
    std::span<std::uint8_t> m_pixels;
    int m_column = 0, m_row = 0, m_pass = 0;
};

}  // namespace

void DecodeGifLzw(std::span<const std::uint8_t> data, int minCodeSize, bool interlaced, int width,
                  int height, std::span<std::uint8_t> pixels)
{
    if (minCodeSize + 1 > kMaxCodeBits)
        FailLzw(kGifBadCodeSize);
    std::vector<std::uint16_t> prefix(kMaxCodes, 0);
    std::vector<std::uint8_t> suffix(kMaxCodes, 0);
    std::array<std::uint8_t, kMaxCodes> stack{};
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    const int highestLiteral = clear - 1;
    int codeSize = minCodeSize + 1;
    // No free codes before the first clear code: the stream has to start with one.
    int nextFree = 0;
    int limit = 0;

    CodeReader reader(data);
    PixelPlacer placer(interlaced, width, height, pixels);

    // The first byte of a code's string; its literal at the end of the prefix chain.
    auto firstByteOf = [&](int code) {
        for (int guard = 0; code > highestLiteral && guard < kMaxCodes; ++guard)
            code = prefix[code];
        return static_cast<std::uint8_t>(code);
    };
    auto output = [&](int code) {
        int depth = 0;
        while (code > highestLiteral && depth < kMaxCodes - 1) {
            stack[depth++] = suffix[code];
            code = prefix[code];
        }
        stack[depth++] = static_cast<std::uint8_t>(code);
        while (depth > 0)
            placer.Put(stack[--depth]);
    };
    auto addEntry = [&](int old, std::uint8_t first) {
        if (nextFree > limit || nextFree >= kMaxCodes)
            return;
        prefix[nextFree] = static_cast<std::uint16_t>(old);
        suffix[nextFree] = first;
        ++nextFree;
        if (nextFree >= limit && codeSize < kMaxCodeBits) {
            limit <<= 1;
            ++codeSize;
        }
    };

    int code = reader.Read(codeSize);
    if (code != clear)
        FailLzw(kGifBadLzwData);
    int old = code;
    while (code != end) {
        if (code == clear) {
            codeSize = minCodeSize + 1;
            nextFree = end + 1;
            limit = 1 << codeSize;
            do
                code = reader.Read(codeSize);
            while (code == clear && reader.HasMore(codeSize));
            if (code == clear)
                break;
            if (code == end)
                FailLzw(kGifBadLzwData);
            if (code >= nextFree)
                code = 0;
            output(code);
        } else if (code < nextFree) {
            output(code);
            addEntry(old, firstByteOf(code));
        } else if (code == nextFree) {
            addEntry(old, firstByteOf(old));
            output(code);
        } else {
            FailLzw(kGifBadLzwData);
        }
        old = code;
        if (!reader.HasMore(codeSize))
            break;
        code = reader.Read(codeSize);
    }
}

}  // namespace htmlview
