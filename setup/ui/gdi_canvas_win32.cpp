#include "setup/ui/gdi_canvas_win32.h"

#include <cstring>
#include <vector>

#include "core/scope_guard.h"

namespace setup::ui {

COLORREF ToColorRef(TColor color)
{
    return static_cast<COLORREF>(ColorToRgb(
        color, [](int index) { return static_cast<std::uint32_t>(::GetSysColor(index)); }));
}

core::UniqueGdiObject CreateFontFor(const TFont& font)
{
    const TFontStyles style = font.Style();
    return core::UniqueGdiObject(
        ::CreateFontA(font.Height(), 0, 0, 0, style.Has(fsBold) ? FW_BOLD : FW_NORMAL,
                      style.Has(fsItalic), style.Has(fsUnderline), style.Has(fsStrikeOut),
                      font.Charset(), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      font.Pitch() == fpFixed      ? FIXED_PITCH
                      : font.Pitch() == fpVariable ? VARIABLE_PITCH
                                                   : DEFAULT_PITCH,
                      font.Name().c_str()));
}

namespace {

RECT ToRect(const TRect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

core::UniqueGdiObject CreatePenFor(const TPen& pen)
{
    static constexpr int kStyles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                      PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    return core::UniqueGdiObject(
        ::CreatePen(kStyles[pen.Style()], pen.Width(), ToColorRef(pen.Color())));
}

core::UniqueGdiObject CreateBrushFor(const TBrush& brush)
{
    if (brush.Style() == bsClear)
        return core::UniqueGdiObject(::GetStockObject(NULL_BRUSH));
    if (brush.Style() == bsSolid)
        return core::UniqueGdiObject(::CreateSolidBrush(ToColorRef(brush.Color())));
    static constexpr int kHatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL,
                                       HS_BDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};
    return core::UniqueGdiObject(
        ::CreateHatchBrush(kHatches[brush.Style() - bsHorizontal], ToColorRef(brush.Color())));
}

}  // namespace

template <class Draw>
void GdiCanvasDevice::WithPenAndBrush(const TPen& pen, const TBrush& brush, Draw draw)
{
    core::UniqueGdiObject gdiPen = CreatePenFor(pen);
    core::UniqueGdiObject gdiBrush = CreateBrushFor(brush);
    HGDIOBJ oldPen = ::SelectObject(m_dc, gdiPen.Get());
    HGDIOBJ oldBrush = ::SelectObject(m_dc, gdiBrush.Get());
    draw();
    ::SelectObject(m_dc, oldPen);
    ::SelectObject(m_dc, oldBrush);
    // Stock objects are not deleted.
    if (brush.Style() == bsClear)
        gdiBrush.Release();
}

void GdiCanvasDevice::FillRect(const TRect& rect, const TBrush& brush)
{
    if (brush.Style() == bsClear)
        return;
    core::UniqueGdiObject gdiBrush = CreateBrushFor(brush);
    const RECT r = ToRect(rect);
    ::FillRect(m_dc, &r, static_cast<HBRUSH>(gdiBrush.Get()));
}

void GdiCanvasDevice::Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush)
{
    WithPenAndBrush(pen, brush,
                    [&] { ::Rectangle(m_dc, rect.left, rect.top, rect.right, rect.bottom); });
}

void GdiCanvasDevice::Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush)
{
    WithPenAndBrush(pen, brush,
                    [&] { ::Ellipse(m_dc, rect.left, rect.top, rect.right, rect.bottom); });
}

void GdiCanvasDevice::RoundRect(const TRect& rect, int radius, const TPen& pen, const TBrush& brush)
{
    WithPenAndBrush(pen, brush, [&] {
        ::RoundRect(m_dc, rect.left, rect.top, rect.right, rect.bottom, radius * 2, radius * 2);
    });
}

void GdiCanvasDevice::Line(TPoint from, TPoint to, const TPen& pen)
{
    core::UniqueGdiObject gdiPen = CreatePenFor(pen);
    HGDIOBJ old = ::SelectObject(m_dc, gdiPen.Get());
    ::MoveToEx(m_dc, from.x, from.y, nullptr);
    ::LineTo(m_dc, to.x, to.y);
    ::SelectObject(m_dc, old);
}

void GdiCanvasDevice::DrawText(TRect& rect, const std::string& text, const TFont& font,
                               unsigned flags)
{
    core::UniqueGdiObject gdiFont = CreateFontFor(font);
    HGDIOBJ old = ::SelectObject(m_dc, gdiFont.Get());
    const int oldMode = ::SetBkMode(m_dc, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(m_dc, ToColorRef(font.Color()));
    RECT r = ToRect(rect);
    ::DrawTextA(m_dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    if (flags & tfCalcRect)
        rect = {r.left, r.top, r.right, r.bottom};
    ::SetTextColor(m_dc, oldColor);
    ::SetBkMode(m_dc, oldMode);
    ::SelectObject(m_dc, old);
}

TPoint GdiCanvasDevice::TextExtent(const std::string& text, const TFont& font)
{
    core::UniqueGdiObject gdiFont = CreateFontFor(font);
    HGDIOBJ old = ::SelectObject(m_dc, gdiFont.Get());
    SIZE size{};
    ::GetTextExtentPoint32A(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(m_dc, old);
    return {size.cx, size.cy};
}

void GdiCanvasDevice::DrawImage(const TRect& dest, const htmlview::PixelImage& image)
{
    // The header and the palette right behind it, as the system reads a DIB.
    std::vector<std::uint8_t> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = image.width;
    info->bmiHeader.biHeight = -image.height;  // top row first
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(image.bitsPerPixel);
    info->bmiHeader.biCompression = BI_RGB;
    for (std::size_t i = 0; i < image.palette.size() && i < 256; ++i)
        info->bmiColors[i] = {image.palette[i].blue, image.palette[i].green, image.palette[i].red,
                              0};
    info->bmiHeader.biClrUsed = static_cast<DWORD>(image.palette.size());
    const int oldMode = ::SetStretchBltMode(m_dc, COLORONCOLOR);
    ::StretchDIBits(m_dc, dest.left, dest.top, dest.Width(), dest.Height(), 0, 0, image.width,
                    image.height, image.pixels.data(), info, DIB_RGB_COLORS, SRCCOPY);
    ::SetStretchBltMode(m_dc, oldMode);
}

void GdiCanvasDevice::DrawIconData(const TRect& dest, const std::string& icon)
{
    auto* bytes = reinterpret_cast<BYTE*>(const_cast<char*>(icon.data()));
    // The directory entry that fits the size best, then that image's own bytes.
    const int id =
        ::LookupIconIdFromDirectoryEx(bytes, TRUE, dest.Width(), dest.Height(), LR_DEFAULTCOLOR);
    if (id <= 0 || icon.size() < 6)
        return;
    const auto entries = static_cast<std::size_t>(static_cast<unsigned char>(icon[4]) |
                                                  static_cast<unsigned char>(icon[5]) << 8);
    for (std::size_t i = 0; i < entries && 6 + 16 * (i + 1) <= icon.size(); ++i) {
        const char* entry = icon.data() + 6 + 16 * i;
        DWORD size = 0;
        DWORD offset = 0;
        std::memcpy(&size, entry + 8, 4);
        std::memcpy(&offset, entry + 12, 4);
        // The directory found by the system names entries by their position, from 1.
        if (static_cast<int>(i + 1) != id || offset > icon.size() || size > icon.size() - offset)
            continue;
        HICON handle = ::CreateIconFromResourceEx(bytes + offset, size, TRUE, 0x00030000,
                                                  dest.Width(), dest.Height(), LR_DEFAULTCOLOR);
        if (handle) {
            ::DrawIconEx(m_dc, dest.left, dest.top, handle, dest.Width(), dest.Height(), 0, nullptr,
                         DI_NORMAL);
            ::DestroyIcon(handle);
        }
        return;
    }
}

void GdiCanvasDevice::DrawMetafileData(const TRect& dest, const std::string& metafile)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(metafile.data());
    const RECT r = ToRect(dest);
    HENHMETAFILE handle = nullptr;
    if (metafile.size() >= 88 && metafile.compare(40, 4, " EMF") == 0) {
        handle = ::SetEnhMetaFileBits(static_cast<UINT>(metafile.size()), bytes);
    } else {
        // A placeable header is not part of the metafile the system reads.
        std::size_t skip = 0;
        if (metafile.size() >= 22 && static_cast<unsigned char>(metafile[0]) == 0xD7 &&
            static_cast<unsigned char>(metafile[1]) == 0xCD)
            skip = 22;
        METAFILEPICT picture{MM_ANISOTROPIC, dest.Width() * 2540 / 96, dest.Height() * 2540 / 96,
                             nullptr};
        handle = ::SetWinMetaFileBits(static_cast<UINT>(metafile.size() - skip), bytes + skip,
                                      nullptr, &picture);
    }
    if (!handle)
        return;
    ::PlayEnhMetaFile(m_dc, handle, &r);
    ::DeleteEnhMetaFile(handle);
}

}  // namespace setup::ui
