// Draws the frames of an animated image: the strip as bitmaps, and a stretched, masked copy of
// one cell.
#pragma once

#include <windows.h>

#include "core/unique_handle.h"
#include "setup/htmlview/images/animated_image.h"

namespace htmlview {

struct StripBitmaps
{
    core::UniqueGdiObject color;
    core::UniqueGdiObject mask;  // none without transparency; white where transparent
};

StripBitmaps MakeStripBitmaps(const GifStrip& strip);

// Copies the source part of the strip stretched onto the destination, leaving the destination
// where the mask is white.
bool DrawStripPart(HDC target, const StripBitmaps& strip, const ImageRect& destination,
                   const ImageRect& source);

// Draws the image's current frame into the rectangle and remembers it for invalidation.
bool DrawAnimatedImage(HDC target, AnimatedImage& image, const StripBitmaps& strip,
                       const ImageRect& destination);

}  // namespace htmlview
