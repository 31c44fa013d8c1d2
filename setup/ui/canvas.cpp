#include "setup/ui/canvas.h"

#include <algorithm>

#include "setup/ui/picture.h"

namespace setup::ui {

htmlview::PixelImage CropPixels(const htmlview::PixelImage& image, const TRect& part)
{
    const int left = std::clamp(part.left, 0, image.width);
    const int top = std::clamp(part.top, 0, image.height);
    const int right = std::clamp(part.right, left, image.width);
    const int bottom = std::clamp(part.bottom, top, image.height);
    htmlview::PixelImage piece;
    const int width = right - left;
    const int height = bottom - top;
    piece.Allocate(width, height, 24, htmlview::DibRowBytes(width, 24) * height + 64);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            piece.SetColor(x, y, image.ColorAt(left + x, top + y));
    return piece;
}

void TCanvas::FillRect(const TRect& rect)
{
    if (m_device)
        m_device->FillRect(rect, m_brush);
}

void TCanvas::Rectangle(const TRect& rect)
{
    if (m_device)
        m_device->Rectangle(rect, m_pen, m_brush);
}

void TCanvas::Ellipse(const TRect& rect)
{
    if (m_device)
        m_device->Ellipse(rect, m_pen, m_brush);
}

void TCanvas::RoundRect(const TRect& rect, int radius)
{
    if (m_device)
        m_device->RoundRect(rect, radius, m_pen, m_brush);
}

void TCanvas::LineTo(int x, int y)
{
    if (m_device)
        m_device->Line(m_penPos, {x, y}, m_pen);
    m_penPos = {x, y};
}

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    if (!m_device)
        return;
    const TPoint size = m_device->TextExtent(text, m_font);
    TRect rect = TRect::Bounds(x, y, size.x, size.y);
    if (m_brush.Style() != bsClear)
        m_device->FillRect(rect, m_brush);
    m_device->DrawText(rect, text, m_font, tfSingleLine | tfNoPrefix);
}

void TCanvas::TextRect(TRect rect, const std::string& text, unsigned flags)
{
    if (m_device)
        m_device->DrawText(rect, text, m_font, flags);
}

TPoint TCanvas::TextExtent(const std::string& text)
{
    return m_device ? m_device->TextExtent(text, m_font) : TPoint{};
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic)
{
    if (!m_device || graphic.Empty())
        return;
    switch (graphic.Format()) {
        case GraphicFormat::Icon:
            m_device->DrawIconData(rect, graphic.FileBytes());
            return;
        case GraphicFormat::Metafile:
            m_device->DrawMetafileData(rect, graphic.FileBytes());
            return;
        case GraphicFormat::Bitmap:
        case GraphicFormat::Jpeg:
            if (const htmlview::PixelImage* image = graphic.Pixels())
                m_device->DrawImage(rect, *image);
            return;
    }
}

}  // namespace setup::ui
