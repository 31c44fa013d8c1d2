// JPEG images through libjpeg: 24-bit output for true-colour screens, 8-bit output (greys, or
// colours quantized to a given palette) for palette screens.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "setup/htmlview/images/pixel_image.h"

namespace htmlview {

struct JpegRequest
{
    bool eightBit = false;
    // Colours are mapped to this palette at 8 bits; without one libjpeg makes its own.
    const std::vector<Rgb>* palette = nullptr;
    std::uint64_t maxPixelBytes = 200'000'000;
};

// Throws ImageError with libjpeg's message when the data does not decode.
PixelImage DecodeJpeg(std::span<const std::uint8_t> data, const JpegRequest& request = {});

}  // namespace htmlview
