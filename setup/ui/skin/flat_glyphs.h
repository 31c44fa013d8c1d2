// The flat check-box and radio-button glyphs (13 x 13) with their hot-track looks, painted into a
// pixel image, so what a control shows is decided and tested without a display.
#pragma once

#include <vector>

#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/geometry.h"
#include "setup/ui/skin/colors.h"
#include "setup/ui/ui_types.h"

namespace setup::ui::skin {

inline constexpr int kGlyphSize = 13;

enum class PaintType
{
    Normal,
    Pressed,
    Hot,
    Disabled,
};

enum THotTrackStyle
{
    htsInterior,
    htsFrame,
};

// Check state: 0 unchecked, 1 checked, 2 grayed.
struct FlatGlyph
{
    int state = 0;
    PaintType paint = PaintType::Normal;
    THotTrackStyle hotStyle = htsInterior;
    bool focused = false;
    bool readOnly = false;
    bool readOnlyColorOnFocus = false;
    // False on a screen of 256 colours or fewer: no gradients, no blended edge pixels.
    bool fullColor = true;
    Rgb32 readOnlyColor = 0;
    Rgb32 stopColor = 0;   // the hot-track dark colour
    Rgb32 startColor = 0;  // the hot-track light colour
    Rgb32 disabledColor = 0;
    Rgb32 focusColor = 0;
    Rgb32 fillColor = 0;
    Rgb32 markColor = 0;
    Rgb32 frameColor = 0;
    Rgb32 shadowColor = 0;  // the mark of a disabled check box
    Rgb32 cornerColor = 0;  // radio only: outside the circle
};

htmlview::PixelImage NewPixels(int width, int height, Rgb32 color);
void FillPixels(htmlview::PixelImage& image, const TRect& rect, Rgb32 color);
void SetPixel(htmlview::PixelImage& image, int x, int y, Rgb32 color);
Rgb32 PixelAt(const htmlview::PixelImage& image, int x, int y);

// A one-pixel frame; returns the rectangle inside it.
TRect PaintBoxFrame(htmlview::PixelImage& image, const TRect& rect, Rgb32 color);
// A ramp from the top-right corner (start) to the bottom-left (stop), or a fill when equal.
void PaintDiagonalGradient(htmlview::PixelImage& image, const TRect& rect, Rgb32 start, Rgb32 stop);
// Every second pixel of the edges, one after each corner; the points, for a canvas to set.
std::vector<TPoint> DottedFocusPoints(const TRect& rect);

htmlview::PixelImage PaintFlatCheckGlyph(const FlatGlyph& glyph);
htmlview::PixelImage PaintFlatRadioGlyph(const FlatGlyph& glyph);

}  // namespace setup::ui::skin

SKIN_ENUM_TYPE(THotTrackStyle, "htsInterior", "htsFrame")
