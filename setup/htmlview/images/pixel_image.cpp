#include "setup/htmlview/images/pixel_image.h"

namespace htmlview {

std::uint64_t DibRowBytes(std::uint64_t width, int bitsPerPixel)
{
    return (width * static_cast<std::uint64_t>(bitsPerPixel) + 31) / 32 * 4;
}

void PixelImage::Allocate(int w, int h, int bits, std::uint64_t maxBytes)
{
    if (w < 0 || h < 0)
        throw ImageError("Image size out of range");
    const std::uint64_t size =
        DibRowBytes(static_cast<std::uint64_t>(w), bits) * static_cast<std::uint64_t>(h);
    if (size > maxBytes)
        throw ImageError("Image too large");
    width = w;
    height = h;
    bitsPerPixel = bits;
    pixels.assign(static_cast<std::size_t>(size), 0);
    palette.clear();
    if (bits <= 8)
        palette.resize(std::size_t{1} << bits);
}

int PixelImage::IndexAt(int x, int y) const
{
    const std::uint8_t* row = Row(y);
    switch (bitsPerPixel) {
        case 1:
            return (row[x / 8] >> (7 - x % 8)) & 1;
        case 4:
            return (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
        default:
            return row[x];
    }
}

void PixelImage::SetIndex(int x, int y, int index)
{
    std::uint8_t* row = Row(y);
    switch (bitsPerPixel) {
        case 1: {
            const int bit = 7 - x % 8;
            row[x / 8] =
                static_cast<std::uint8_t>((row[x / 8] & ~(1 << bit)) | ((index & 1) << bit));
            break;
        }
        case 4: {
            const int shift = x % 2 ? 0 : 4;
            row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & ~(0x0F << shift)) |
                                                   ((index & 0x0F) << shift));
            break;
        }
        default:
            row[x] = static_cast<std::uint8_t>(index);
    }
}

Rgb PixelImage::ColorAt(int x, int y) const
{
    if (bitsPerPixel == 24) {
        const std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
        return {p[2], p[1], p[0]};
    }
    const auto index = static_cast<std::size_t>(IndexAt(x, y));
    return index < palette.size() ? palette[index] : Rgb{};
}

void PixelImage::SetColor(int x, int y, Rgb color)
{
    std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 3;
    p[0] = color.blue;
    p[1] = color.green;
    p[2] = color.red;
}

}  // namespace htmlview
