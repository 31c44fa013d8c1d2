// The Windows side of the images: what the screen's colours are, decoded pixels as bitmaps, a
// bitmap's pixels back (for screenshots and test-failure pictures) and masked drawing.
#pragma once

#include <windows.h>

#include "core/unique_handle.h"
#include "setup/htmlview/images/image_loader.h"

namespace htmlview {

// Selects an object into a device context and restores what was there.
class SelectGuard
{
public:
    SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~SelectGuard() { SelectObject(m_dc, m_old); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Depth rounded to 4, 8 or 24; at depth 8 the shared palette is built from the system's.
ScreenColors ReadScreenColors();

// A device-independent section holding the pixels (and palette) as they are.
core::UniqueGdiObject CreateBitmapFromPixels(const PixelImage& image);

// Any bitmap's pixels at 24 bits; an empty image when the system cannot read them.
PixelImage ReadBitmapPixels(HBITMAP bitmap);

// Stretches the image over the rectangle, leaving the destination where the mask is white. The
// image's transparent pixels must be black.
bool DrawImageWithMask(HDC target, HBITMAP image, HBITMAP mask, int left, int top, int width,
                       int height);

}  // namespace htmlview
