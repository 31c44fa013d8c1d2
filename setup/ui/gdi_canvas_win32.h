// The canvas device over a Windows device context: fonts, pens and brushes made from the
// library's objects for each call, system colours resolved, images passed to the system as they
// are decoded.
#pragma once

#include <windows.h>

#include "core/unique_handle.h"
#include "setup/ui/canvas.h"

namespace setup::ui {

COLORREF ToColorRef(TColor color);
// A font of the system for the library's font; the caller owns it.
core::UniqueGdiObject CreateFontFor(const TFont& font);

class GdiCanvasDevice final : public ICanvasDevice
{
public:
    explicit GdiCanvasDevice(HDC dc) : m_dc(dc) {}

    void FillRect(const TRect& rect, const TBrush& brush) override;
    void Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush) override;
    void Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush) override;
    void RoundRect(const TRect& rect, int radius, const TPen& pen, const TBrush& brush) override;
    void Line(TPoint from, TPoint to, const TPen& pen) override;
    void DrawText(TRect& rect, const std::string& text, const TFont& font, unsigned flags) override;
    TPoint TextExtent(const std::string& text, const TFont& font) override;
    void DrawImage(const TRect& dest, const htmlview::PixelImage& image) override;
    void DrawIconData(const TRect& dest, const std::string& icon) override;
    void DrawMetafileData(const TRect& dest, const std::string& metafile) override;

private:
    template <class Draw>
    void WithPenAndBrush(const TPen& pen, const TBrush& brush, Draw draw);

    HDC m_dc;
};

}  // namespace setup::ui
