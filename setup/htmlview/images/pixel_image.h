// The decoded image every loader hands over: a device-independent layout (rows padded to four
// bytes, blue-green-red at 24 bits, palette indexes below) kept top row first, so that the Windows
// side can pass it to the system unchanged with a negative height.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace htmlview {

struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A decoder's refusal of its input; the message is the one the viewer reports.
class ImageError : public std::runtime_error
{
public:
    explicit ImageError(const std::string& message) : std::runtime_error(message) {}
};

// Bytes of one row: the bit width rounded up to 32 bits.
std::uint64_t DibRowBytes(std::uint64_t width, int bitsPerPixel);

struct PixelImage
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;     // 1, 4, 8 or 24
    std::vector<Rgb> palette;  // 2^bits entries below 24 bits
    std::vector<std::uint8_t> pixels;

    // Allocates zeroed pixels; throws ImageError past maxBytes.
    void Allocate(int w, int h, int bits, std::uint64_t maxBytes);
    std::size_t Stride() const
    {
        return static_cast<std::size_t>(DibRowBytes(width, bitsPerPixel));
    }
    std::uint8_t* Row(int y) { return pixels.data() + Stride() * static_cast<std::size_t>(y); }
    const std::uint8_t* Row(int y) const
    {
        return pixels.data() + Stride() * static_cast<std::size_t>(y);
    }
    // Palette index at or below 8 bits per pixel.
    int IndexAt(int x, int y) const;
    void SetIndex(int x, int y, int index);
    // The colour of a pixel in any format.
    Rgb ColorAt(int x, int y) const;
    void SetColor(int x, int y, Rgb color);
};

}  // namespace htmlview
