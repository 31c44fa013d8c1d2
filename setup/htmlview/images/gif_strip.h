// The frames of a GIF side by side, each composed over the ones before it, as a 24-bit bottom-up
// BMP file in memory, plus a mask strip of the same layout (white where transparent) when any
// frame has a transparent colour. Playing the animation is then one copy of a cell per frame.
#pragma once

#include <cstdint>
#include <vector>

#include "setup/htmlview/images/gif_decoder.h"

namespace htmlview {

struct GifStrip
{
    int cellWidth = 0;  // the logical screen
    int height = 0;
    int cellCount = 0;
    std::vector<std::uint8_t> colorBmp;
    std::vector<std::uint8_t> maskBmp;  // empty without transparency

    int Width() const { return cellWidth * cellCount; }
    bool HasMask() const { return !maskBmp.empty(); }
    // Pixel (x, y) of the whole strip, top row 0.
    Rgb ColorAt(int x, int y) const;
    bool TransparentAt(int x, int y) const;
};

constexpr std::size_t kBmpHeaderBytes = 54;

// Throws GifError 25 when the strip would pass the limits.
GifStrip BuildGifStrip(const GifFile& gif, const GifLimits& limits = {});

}  // namespace htmlview
