// Carries a paint plan out on a Windows device context.
#pragma once

#include <windows.h>

#include <functional>

#include "setup/htmlview/images/pixel_image.h"
#include "setup/htmlview/layout/paint_plan.h"

namespace htmlview {

// The decoded picture of an image source, or none.
using ImageLookup = std::function<const PixelImage*(const std::string& source)>;

// Draws every command clipped to the plan's clip rectangle; the device context's state is
// restored afterwards.
void DrawPlan(HDC dc, const PaintPlan& plan, const ImageLookup& images = {});

// A CSS border between two rectangles (sides top, right, bottom, left).
void DrawBorder(HDC dc, const BorderCommand& border);

}  // namespace htmlview
