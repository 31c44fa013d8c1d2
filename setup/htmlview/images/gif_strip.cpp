#include "setup/htmlview/images/gif_strip.h"

#include <algorithm>
#include <cstring>

namespace htmlview {
namespace {

void PutLe(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> MakeBmp(int width, int height, std::uint64_t total, std::uint8_t fill)
{
    std::vector<std::uint8_t> bmp(kBmpHeaderBytes, 0);
    bmp.resize(static_cast<std::size_t>(total), fill);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLe(bmp, 2, static_cast<std::uint32_t>(total), 4);
    PutLe(bmp, 10, kBmpHeaderBytes, 4);
    PutLe(bmp, 14, 40, 4);
    PutLe(bmp, 18, static_cast<std::uint32_t>(width), 4);
    PutLe(bmp, 22, static_cast<std::uint32_t>(height), 4);
    PutLe(bmp, 26, 1, 2);
    PutLe(bmp, 28, 24, 2);
    return bmp;
}

class StripWriter
{
public:
    StripWriter(GifStrip& strip)
        : m_strip(strip), m_stride(static_cast<std::size_t>(DibRowBytes(strip.Width(), 24)))
    {}
    std::size_t Offset(int x, int y) const
    {
        return kBmpHeaderBytes + m_stride * static_cast<std::size_t>(m_strip.height - 1 - y) +
               static_cast<std::size_t>(x) * 3;
    }
    void SetColor(int x, int y, Rgb c)
    {
        std::uint8_t* p = m_strip.colorBmp.data() + Offset(x, y);
        p[0] = c.blue;
        p[1] = c.green;
        p[2] = c.red;
    }
    void SetMask(int x, int y, bool transparent)
    {
        if (m_strip.HasMask())
            std::memset(m_strip.maskBmp.data() + Offset(x, y), transparent ? 255 : 0, 3);
    }
    // Copies cell `from` over cell `from + 1` in both strips.
    void CopyCell(int from)
    {
        const auto bytes = static_cast<std::size_t>(m_strip.cellWidth) * 3;
        for (int y = 0; y < m_strip.height; ++y) {
            const std::size_t source = Offset(from * m_strip.cellWidth, y);
            std::memmove(m_strip.colorBmp.data() + source + bytes, m_strip.colorBmp.data() + source,
                         bytes);
            if (m_strip.HasMask())
                std::memmove(m_strip.maskBmp.data() + source + bytes,
                             m_strip.maskBmp.data() + source, bytes);
        }
    }

private:
    GifStrip& m_strip;
    std::size_t m_stride;
};

}  // namespace

Rgb GifStrip::ColorAt(int x, int y) const
{
    const std::size_t stride = static_cast<std::size_t>(DibRowBytes(Width(), 24));
    const std::uint8_t* p = colorBmp.data() + kBmpHeaderBytes +
                            stride * static_cast<std::size_t>(height - 1 - y) +
                            static_cast<std::size_t>(x) * 3;
    return {p[2], p[1], p[0]};
}

bool GifStrip::TransparentAt(int x, int y) const
{
    if (!HasMask())
        return false;
    const std::size_t stride = static_cast<std::size_t>(DibRowBytes(Width(), 24));
    return maskBmp[kBmpHeaderBytes + stride * static_cast<std::size_t>(height - 1 - y) +
                   static_cast<std::size_t>(x) * 3] != 0;
}

GifStrip BuildGifStrip(const GifFile& gif, const GifLimits& limits)
{
    GifStrip strip;
    strip.cellWidth = gif.screenWidth;
    strip.height = gif.screenHeight;
    strip.cellCount = static_cast<int>(gif.frames.size());
    const bool masked = gif.AnyTransparent();
    const std::uint64_t total =
        kBmpHeaderBytes + DibRowBytes(static_cast<std::uint64_t>(strip.cellWidth) *
                                          static_cast<std::uint64_t>(strip.cellCount),
                                      24) *
                              static_cast<std::uint64_t>(strip.height);
    if (total > (masked ? limits.maxMaskedStripBytes : limits.maxStripBytes) || total > 0x7FFFFFFF)
        throw GifError(kGifTooLarge, "Animated GIF too large");
    strip.colorBmp = MakeBmp(strip.Width(), strip.height, total, 0);
    if (masked)
        strip.maskBmp = MakeBmp(strip.Width(), strip.height, total, 255);

    StripWriter writer(strip);
    for (int i = 0; i < strip.cellCount; ++i) {
        const GifFrame& frame = gif.frames[static_cast<std::size_t>(i)];
        const std::vector<Rgb>& table = gif.colorTables[static_cast<std::size_t>(frame.colorTable)];
        const int transparent = gif.TransparentIndex(i);
        // Frames reaching past the logical screen are clipped to their cell.
        const int columns = std::clamp(strip.cellWidth - frame.left, 0, frame.width);
        const int rows = std::clamp(strip.height - frame.top, 0, frame.height);
        const int cellLeft = i * strip.cellWidth;
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < columns; ++x) {
                const int p = frame.pixels[static_cast<std::size_t>(y) *
                                               static_cast<std::size_t>(frame.width) +
                                           static_cast<std::size_t>(x)];
                const int sx = cellLeft + frame.left + x;
                const int sy = frame.top + y;
                if (p != transparent) {
                    // An index beyond the table's own size has no colour: black.
                    writer.SetColor(sx, sy,
                                    static_cast<std::size_t>(p) < table.size()
                                        ? table[static_cast<std::size_t>(p)]
                                        : Rgb{});
                    writer.SetMask(sx, sy, false);
                } else if (i == 0) {
                    writer.SetColor(sx, sy, Rgb{});
                    writer.SetMask(sx, sy, true);
                }
            }
        }
        if (i + 1 == strip.cellCount)
            break;
        writer.CopyCell(i);
        const int disposal = gif.Disposal(i);
        if ((disposal == 2 || disposal == 3) && masked) {
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < columns; ++x)
                    writer.SetMask(cellLeft + strip.cellWidth + frame.left + x, frame.top + y,
                                   true);
        }
    }
    return strip;
}

}  // namespace htmlview
