// Reads a PNG stream (every colour type and bit depth, Adam7, gamma, an RGB transparent colour)
// into a device-independent layout of 1, 4, 8 or 24 bits per pixel. zlib inflates the data.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "setup/htmlview/images/pixel_image.h"

namespace htmlview {

// Every failure of the PNG handler carries its heading before the message.
class PngError : public ImageError
{
public:
    explicit PngError(const std::string& message);
};

struct PngLimits
{
    std::uint32_t maxDimension = 65535;
    std::uint64_t maxPixelBytes = 200'000'000;
};

struct PngImage
{
    PixelImage image;
    bool transparent = false;  // an RGB tRNS colour was given
    Rgb transparentColor;
};

PngImage LoadPng(std::span<const std::uint8_t> data, const PngLimits& limits = {});

// The PNG signature and the CRC-32 over a chunk's type and data.
extern const std::uint8_t kPngSignature[8];
std::uint32_t PngChunkCrc(std::span<const std::uint8_t> typeAndData);
// The Paeth predictor of the PNG filters.
int PngPaeth(int a, int b, int c);

}  // namespace htmlview
