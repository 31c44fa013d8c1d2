#include "setup/htmlview/layout/canvas_win32.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

#include "setup/htmlview/util/font_win32.h"

namespace htmlview {

namespace {

constexpr int kStyleSolid = 1, kStyleInset = 2, kStyleOutset = 3, kStyleGroove = 4, kStyleRidge = 5,
              kStyleDashed = 6, kStyleDotted = 7, kStyleDouble = 8;

// Colours are palette-relative: on a 256-colour screen they take the nearest colour of the
// selected palette instead of a dither or the nearest static colour.
COLORREF PaletteColor(std::uint32_t color)
{
    return PALETTERGB(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

COLORREF Dark(std::uint32_t color)
{
    auto channel = [&](int shift) {
        return static_cast<int>(std::lround(((color >> shift) & 0xFF) * 0.75));
    };
    return PALETTERGB(channel(0), channel(8), channel(16));
}

class GdiObject
{
public:
    GdiObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_object(object), m_old(SelectObject(dc, object))
    {}
    ~GdiObject()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_object);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_object;
    HGDIOBJ m_old;
};

void Fill(HDC dc, const RECT& rect, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void FillPolygon(HDC dc, const std::array<POINT, 4>& points, COLORREF color)
{
    HRGN region = CreatePolygonRgn(points.data(), 4, WINDING);
    if (!region)
        return;
    HBRUSH brush = CreateSolidBrush(color);
    FillRgn(dc, region, brush);
    DeleteObject(brush);
    DeleteObject(region);
}

struct Quad
{
    RECT outer, inner;
};

// The trapezoid of one side between two rectangles; sides top, right, bottom, left.
std::array<POINT, 4> SideShape(const RECT& o, const RECT& i, int side)
{
    switch (side) {
        case 0:
            return {{{o.left, o.top}, {o.right, o.top}, {i.right, i.top}, {i.left, i.top}}};
        case 1:
            return {{{o.right, o.top}, {o.right, o.bottom}, {i.right, i.bottom}, {i.right, i.top}}};
        case 2:
            return {
                {{o.right, o.bottom}, {o.left, o.bottom}, {i.left, i.bottom}, {i.right, i.bottom}}};
        default:
            return {{{o.left, o.bottom}, {o.left, o.top}, {i.left, i.top}, {i.left, i.bottom}}};
    }
}

RECT Between(const RECT& o, const RECT& i, int num, int den)
{
    return {o.left + (i.left - o.left) * num / den, o.top + (i.top - o.top) * num / den,
            o.right - (o.right - i.right) * num / den,
            o.bottom - (o.bottom - i.bottom) * num / den};
}

RECT ToRect(const Rect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// Each character's advance as the font measures the run, with the justified line's extra pixels
// shared out over its spaces: the run covers exactly the width the layout measured, so no
// character is drawn over the next run or lost under it.
std::vector<INT> Advances(HDC dc, const TextCommand& text)
{
    const auto* chars = reinterpret_cast<const WCHAR*>(text.text.data());
    const int count = static_cast<int>(text.text.size());
    std::vector<INT> extents(text.text.size()), advances(text.text.size());
    int fit = 0;
    SIZE size{};
    if (!GetTextExtentExPointW(dc, chars, count, INT_MAX, &fit, extents.data(), &size))
        return {};
    int before = 0;
    for (std::size_t i = 0; i < extents.size(); ++i) {
        advances[i] = extents[i] - before;
        before = extents[i];
    }
    if (text.spaces > 0 && text.extra > 0) {
        const int share = text.extra / text.spaces;
        int rest = text.extra % text.spaces, spaces = 0;
        for (std::size_t i = 0; i < advances.size() && spaces < text.spaces; ++i)
            if (text.text[i] == u' ' || text.text[i] == 0xA0) {
                advances[i] += share + (rest > 0 ? 1 : 0);
                rest = std::max(0, rest - 1);
                ++spaces;
            }
    }
    return advances;
}

void DrawText(HDC dc, const TextCommand& text)
{
    GdiObject selected(dc, CreateRequestedFont(text.font));
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    SetTextColor(dc, PaletteColor(text.color));
    if (text.background != kNoneColor) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, PaletteColor(text.background));
    } else {
        SetBkMode(dc, TRANSPARENT);
    }
    const auto* chars = reinterpret_cast<const WCHAR*>(text.text.data());
    const int count = static_cast<int>(text.text.size());
    std::vector<INT> advances = Advances(dc, text);
    const INT* dx = advances.size() == text.text.size() && count > 0 ? advances.data() : nullptr;
    if (text.clipped) {
        const RECT clip = ToRect(text.clip);
        ExtTextOutW(dc, text.x, text.baseline, ETO_CLIPPED, &clip, chars, count, dx);
    } else {
        ExtTextOutW(dc, text.x, text.baseline, 0, nullptr, chars, count, dx);
    }
}

void StretchPixelImage(HDC dc, const PixelImage& image, const Rect& rect)
{
    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = image.width;
    info.header.biHeight = -image.height;  // top row first
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(image.bitsPerPixel);
    info.header.biCompression = BI_RGB;
    const std::size_t colors = std::min<std::size_t>(image.palette.size(), 256);
    info.header.biClrUsed = static_cast<DWORD>(colors);
    for (std::size_t i = 0; i < colors; ++i)
        info.colors[i] = {image.palette[i].blue, image.palette[i].green, image.palette[i].red, 0};
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, rect.left, rect.top, rect.Width(), rect.Height(), 0, 0, image.width,
                  image.height, image.pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

void DrawBorder(HDC dc, const BorderCommand& border)
{
    RECT outer = ToRect(border.outer), inner = ToRect(border.inner);
    // Far outside the screen GDI coordinates are not worth their cost.
    outer.top = std::max<LONG>(outer.top, -200);
    inner.top = std::max<LONG>(inner.top, -200);
    outer.bottom = std::min<LONG>(outer.bottom, 5000);
    inner.bottom = std::min<LONG>(inner.bottom, 5000);
    const bool patterned = std::any_of(border.styles.begin(), border.styles.end(), [](int s) {
        return s == kStyleDashed || s == kStyleDotted || s == kStyleDouble;
    });
    if (border.background != kNoneColor && patterned) {
        for (int side = 0; side < 4; ++side)
            FillPolygon(dc, SideShape(outer, inner, side), PaletteColor(border.background));
    }
    const RECT middle = Between(outer, inner, 1, 2);
    for (int side = 0; side < 4; ++side) {
        const int style = border.styles[side];
        if (style == 0 || border.colors[side] == kNoneColor)
            continue;
        const COLORREF color = PaletteColor(border.colors[side]);
        const COLORREF dark = Dark(border.colors[side]);
        const bool leftOrTop = side == 0 || side == 3;
        switch (style) {
            case kStyleSolid:
                FillPolygon(dc, SideShape(outer, inner, side), color);
                break;
            case kStyleInset:
                FillPolygon(dc, SideShape(outer, inner, side), leftOrTop ? dark : color);
                break;
            case kStyleOutset:
                FillPolygon(dc, SideShape(outer, inner, side), leftOrTop ? color : dark);
                break;
            case kStyleGroove:
            case kStyleRidge: {
                const bool outerDark = (style == kStyleGroove) == leftOrTop;
                FillPolygon(dc, SideShape(outer, middle, side), outerDark ? dark : color);
                FillPolygon(dc, SideShape(middle, inner, side), outerDark ? color : dark);
                break;
            }
            case kStyleDouble: {
                const RECT third = Between(outer, inner, 1, 3);
                const RECT twoThirds = Between(outer, inner, 2, 3);
                FillPolygon(dc, SideShape(outer, third, side), color);
                FillPolygon(dc, SideShape(twoThirds, inner, side), color);
                break;
            }
            default: {  // dashed and dotted: a wide pen along the middle line
                const int width = side == 0   ? inner.top - outer.top
                                  : side == 1 ? outer.right - inner.right
                                  : side == 2 ? outer.bottom - inner.bottom
                                              : inner.left - outer.left;
                LOGBRUSH brush{BS_SOLID, color, 0};
                const DWORD penStyle =
                    PS_GEOMETRIC | PS_JOIN_MITER |
                    (style == kStyleDashed ? PS_DASH | PS_ENDCAP_SQUARE : PS_DOT | PS_ENDCAP_ROUND);
                GdiObject pen(dc, ExtCreatePen(penStyle, std::max(1, width), &brush, 0, nullptr));
                const auto shape = SideShape(middle, middle, side);
                MoveToEx(dc, shape[0].x, shape[0].y, nullptr);
                LineTo(dc, shape[1].x, shape[1].y);
                break;
            }
        }
    }
}

void DrawPlan(HDC dc, const PaintPlan& plan, const ImageLookup& images)
{
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, plan.clip.left, plan.clip.top, plan.clip.right, plan.clip.bottom);
    for (const PaintCommand& command : plan.commands) {
        if (const auto* fill = std::get_if<FillCommand>(&command)) {
            Fill(dc, ToRect(fill->rect), PaletteColor(fill->color));
        } else if (const auto* text = std::get_if<TextCommand>(&command)) {
            DrawText(dc, *text);
        } else if (const auto* border = std::get_if<BorderCommand>(&command)) {
            DrawBorder(dc, *border);
        } else if (const auto* ellipse = std::get_if<EllipseCommand>(&command)) {
            GdiObject pen(dc, CreatePen(PS_SOLID, 1, PaletteColor(ellipse->color)));
            HGDIOBJ brush = ellipse->filled ? CreateSolidBrush(PaletteColor(ellipse->color))
                                            : GetStockObject(NULL_BRUSH);
            HGDIOBJ old = SelectObject(dc, brush);
            Ellipse(dc, ellipse->rect.left, ellipse->rect.top, ellipse->rect.right,
                    ellipse->rect.bottom);
            SelectObject(dc, old);
            if (ellipse->filled)
                DeleteObject(brush);
        } else if (const auto* focus = std::get_if<FocusCommand>(&command)) {
            const RECT r = ToRect(focus->rect);
            SetTextColor(dc, 0);
            SetBkColor(dc, 0xFFFFFF);
            DrawFocusRect(dc, &r);
        } else if (const auto* image = std::get_if<ImageCommand>(&command)) {
            const PixelImage* picture = images ? images(image->source) : nullptr;
            if (picture && image->clipped) {
                const int inner = SaveDC(dc);
                IntersectClipRect(dc, image->clip.left, image->clip.top, image->clip.right,
                                  image->clip.bottom);
                StretchPixelImage(dc, *picture, image->rect);
                RestoreDC(dc, inner);
            } else if (picture) {
                StretchPixelImage(dc, *picture, image->rect);
            }
        }
    }
    RestoreDC(dc, saved);
}

}  // namespace htmlview
