#include "setup/ui/skin/flat_glyphs.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace setup::ui::skin {
namespace {

htmlview::Rgb ToPixel(Rgb32 c)
{
    return {static_cast<std::uint8_t>(RedOf(c)), static_cast<std::uint8_t>(GreenOf(c)),
            static_cast<std::uint8_t>(BlueOf(c))};
}

Rgb32 FillOf(const FlatGlyph& glyph)
{
    switch (glyph.paint) {
        case PaintType::Pressed:
            return DarkerColor(glyph.focusColor, 20);
        case PaintType::Disabled:
            return glyph.disabledColor;
        default:
            if (!glyph.focused)
                return glyph.readOnly ? glyph.readOnlyColor : glyph.fillColor;
            return glyph.readOnly && glyph.readOnlyColorOnFocus ? glyph.readOnlyColor
                                                                : glyph.focusColor;
    }
}

// The radio circle: o outside, F frame, h and q stair pixels (blended half and a little toward
// the frame), i inside. Rows 7..12 mirror rows 5..0.
constexpr std::array<const char*, 7> kCircle = {
    "oooqhFFFhqooo", "oohFFiiiFFhoo", "ohFiiiiiiiFho", "qFiiiiiiiiiFq",
    "hFiiiiiiiiiFh", "Fiiiiiiiiiiif", "Fiiiiiiiiiiif",
};

char CircleAt(int x, int y)
{
    const char c = kCircle[static_cast<std::size_t>(y <= 6 ? y : 12 - y)][x];
    return c == 'f' ? 'F' : c;
}

// Inside pixels within two steps of the outline: the hot ring.
bool InHotRing(int x, int y)
{
    if (CircleAt(x, y) != 'i')
        return false;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (std::abs(dx) + std::abs(dy) <= 2 && nx >= 0 && ny >= 0 && nx < kGlyphSize &&
                ny < kGlyphSize && CircleAt(nx, ny) != 'i')
                return true;
        }
    return false;
}

}  // namespace

htmlview::PixelImage NewPixels(int width, int height, Rgb32 color)
{
    htmlview::PixelImage image;
    image.Allocate(width, height, 24, std::uint64_t{1} << 28);
    FillPixels(image, {0, 0, width, height}, color);
    return image;
}

void FillPixels(htmlview::PixelImage& image, const TRect& rect, Rgb32 color)
{
    for (int y = std::max(0, rect.top); y < std::min(image.height, rect.bottom); ++y)
        for (int x = std::max(0, rect.left); x < std::min(image.width, rect.right); ++x)
            image.SetColor(x, y, ToPixel(color));
}

void SetPixel(htmlview::PixelImage& image, int x, int y, Rgb32 color)
{
    if (x >= 0 && y >= 0 && x < image.width && y < image.height)
        image.SetColor(x, y, ToPixel(color));
}

Rgb32 PixelAt(const htmlview::PixelImage& image, int x, int y)
{
    const htmlview::Rgb c = image.ColorAt(x, y);
    return MakeRgb(c.red, c.green, c.blue);
}

TRect PaintBoxFrame(htmlview::PixelImage& image, const TRect& rect, Rgb32 color)
{
    FillPixels(image, {rect.left, rect.top, rect.right, rect.top + 1}, color);
    FillPixels(image, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
    FillPixels(image, {rect.left, rect.top, rect.left + 1, rect.bottom}, color);
    FillPixels(image, {rect.right - 1, rect.top, rect.right, rect.bottom}, color);
    return rect.Inflated(-1, -1);
}

void PaintDiagonalGradient(htmlview::PixelImage& image, const TRect& rect, Rgb32 start,
                           Rgb32 stop)
{
    if (start == stop) {
        FillPixels(image, rect, start);
        return;
    }
    const int span = std::max(1, rect.Width() - 1 + rect.Height() - 1);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            const int along = (rect.right - 1 - x) + (y - rect.top);
            SetPixel(image, x, y, BlendColors(stop, start, along * 255 / span));
        }
}

std::vector<TPoint> DottedFocusPoints(const TRect& rect)
{
    std::vector<TPoint> points;
    for (int x = rect.left + 1; x < rect.right; x += 2) {
        points.push_back({x, rect.top});
        points.push_back({x, rect.bottom - 1});
    }
    for (int y = rect.top + 1; y < rect.bottom; y += 2) {
        points.push_back({rect.left, y});
        points.push_back({rect.right - 1, y});
    }
    return points;
}

htmlview::PixelImage PaintFlatCheckGlyph(const FlatGlyph& glyph)
{
    htmlview::PixelImage image = NewPixels(kGlyphSize, kGlyphSize, glyph.fillColor);
    const bool hot = glyph.paint == PaintType::Hot;
    const Rgb32 frame = hot && glyph.hotStyle == htsFrame ? glyph.stopColor : glyph.frameColor;
    const TRect inner = PaintBoxFrame(image, {0, 0, kGlyphSize, kGlyphSize}, frame);
    FillPixels(image, inner, FillOf(glyph));
    const Rgb32 mark = glyph.paint == PaintType::Disabled ? glyph.shadowColor : glyph.markColor;
    if (hot && glyph.hotStyle == htsInterior && glyph.fullColor) {
        // A two-pixel gradient ring inside the frame; the middle keeps its fill.
        htmlview::PixelImage ring = image;
        PaintDiagonalGradient(ring, inner, glyph.startColor, glyph.stopColor);
        const TRect middle = inner.Inflated(-2, -2);
        for (int y = inner.top; y < inner.bottom; ++y)
            for (int x = inner.left; x < inner.right; ++x)
                if (x < middle.left || x >= middle.right || y < middle.top || y >= middle.bottom)
                    SetPixel(image, x, y, PixelAt(ring, x, y));
    } else if (hot && glyph.hotStyle == htsFrame) {
        PaintBoxFrame(image, inner, glyph.stopColor);
    }
    if (glyph.state == 1) {
        static constexpr TPoint kFixed[] = {{2, 4}, {2, 5}, {2, 6}, {3, 5}, {3, 6},
                                            {3, 7}, {4, 6}, {8, 3}, {8, 4}};
        for (TPoint p : kFixed)
            SetPixel(image, inner.left + p.x, inner.top + p.y, mark);
        for (int i = 0; i <= 3; ++i) {
            SetPixel(image, inner.left + 4 + i, inner.top + 7 - i, mark);
            SetPixel(image, inner.left + 4 + i, inner.top + 8 - i, mark);
            SetPixel(image, inner.left + 5 + i, inner.top + 5 - i, mark);
        }
    } else if (glyph.state == 2) {
        FillPixels(image, inner.Inflated(-2, -2), mark);
    }
    return image;
}

htmlview::PixelImage PaintFlatRadioGlyph(const FlatGlyph& glyph)
{
    htmlview::PixelImage image = NewPixels(kGlyphSize, kGlyphSize, glyph.cornerColor);
    const bool hot = glyph.paint == PaintType::Hot;
    const Rgb32 fill = FillOf(glyph);
    const Rgb32 edge = glyph.fullColor ? LighterColor(glyph.frameColor, 10) : glyph.frameColor;
    for (int y = 0; y < kGlyphSize; ++y)
        for (int x = 0; x < kGlyphSize; ++x) {
            Rgb32 color = glyph.cornerColor;
            switch (CircleAt(x, y)) {
                case 'F':
                    color = glyph.frameColor;
                    break;
                case 'h':
                    color = glyph.fullColor ? BlendColors(edge, glyph.cornerColor, 128)
                                            : glyph.frameColor;
                    break;
                case 'q':
                    color = glyph.fullColor ? BlendColors(edge, glyph.cornerColor, 40)
                                            : glyph.cornerColor;
                    break;
                case 'i':
                    color = fill;
                    break;
                default:
                    break;
            }
            SetPixel(image, x, y, color);
        }
    if (hot && glyph.hotStyle == htsFrame) {
        for (int i = 5; i <= 7; ++i) {
            SetPixel(image, i, 1, glyph.stopColor);
            SetPixel(image, i, 11, glyph.stopColor);
            SetPixel(image, 1, i, glyph.stopColor);
            SetPixel(image, 11, i, glyph.stopColor);
        }
    } else if (hot && glyph.fullColor) {
        htmlview::PixelImage ramp = image;
        PaintDiagonalGradient(ramp, {1, 1, 12, 12}, glyph.startColor, glyph.stopColor);
        for (int y = 0; y < kGlyphSize; ++y)
            for (int x = 0; x < kGlyphSize; ++x)
                if (InHotRing(x, y))
                    SetPixel(image, x, y, PixelAt(ramp, x, y));
    }
    if (glyph.state == 1) {
        const Rgb32 mark =
            glyph.paint == PaintType::Disabled ? glyph.shadowColor : glyph.markColor;
        FillPixels(image, {5, 4, 8, 9}, mark);
        FillPixels(image, {4, 5, 9, 8}, mark);
    }
    return image;
}

}  // namespace setup::ui::skin
