// TCanvas: drawing with a font, a brush and a pen on a device. The device is an interface, so
// controls paint the same way on a window, a bitmap or a recording fake.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/geometry.h"
#include "setup/ui/graphics.h"

namespace setup::ui {

class TGraphic;

// Text placement flags of DrawText, with the values the system gives them.
enum TextFlags : unsigned
{
    tfLeft = 0x0,
    tfCenter = 0x1,
    tfRight = 0x2,
    tfVCenter = 0x4,
    tfBottom = 0x8,
    tfWordBreak = 0x10,
    tfSingleLine = 0x20,
    tfExpandTabs = 0x40,
    tfNoPrefix = 0x800,
    tfCalcRect = 0x400,
};

// What a canvas draws on. Colours arrive as form-file colours; the device resolves system ones.
class ICanvasDevice
{
public:
    virtual ~ICanvasDevice() = default;
    virtual void FillRect(const TRect& rect, const TBrush& brush) = 0;
    // Outline with the pen, inside with the brush (a clear brush leaves it).
    virtual void Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush) = 0;
    virtual void Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush) = 0;
    virtual void RoundRect(const TRect& rect, int radius, const TPen& pen, const TBrush& brush) = 0;
    virtual void Line(TPoint from, TPoint to, const TPen& pen) = 0;
    // Text inside the rectangle; with tfCalcRect the rectangle is measured and nothing drawn.
    virtual void DrawText(TRect& rect, const std::string& text, const TFont& font,
                          unsigned flags) = 0;
    virtual TPoint TextExtent(const std::string& text, const TFont& font) = 0;
    virtual void DrawImage(const TRect& dest, const htmlview::PixelImage& image) = 0;
    // Icons and metafiles are drawn by the system from their file bytes.
    virtual void DrawIconData(const TRect& dest, const std::string& icon) = 0;
    virtual void DrawMetafileData(const TRect& dest, const std::string& metafile) = 0;
};

// A part of an image as an image of its own, 24 bits per pixel; the part is clipped to the image.
htmlview::PixelImage CropPixels(const htmlview::PixelImage& image, const TRect& part);

class TCanvas
{
public:
    explicit TCanvas(ICanvasDevice* device = nullptr) : m_device(device) {}

    ICanvasDevice* Device() const { return m_device; }
    void SetDevice(ICanvasDevice* device) { m_device = device; }
    TFont& Font() { return m_font; }
    TBrush& Brush() { return m_brush; }
    TPen& Pen() { return m_pen; }

    void FillRect(const TRect& rect);
    void Rectangle(const TRect& rect);
    void Ellipse(const TRect& rect);
    void RoundRect(const TRect& rect, int radius);
    void MoveTo(int x, int y) { m_penPos = {x, y}; }
    void LineTo(int x, int y);
    // The text with its top-left corner at the point, on the brush unless the brush is clear.
    void TextOut(int x, int y, const std::string& text);
    void TextRect(TRect rect, const std::string& text, unsigned flags);
    TPoint TextExtent(const std::string& text);
    // A graphic scaled to the rectangle; an empty graphic or one that does not decode draws
    // nothing, so a damaged picture in a page file does not stop the page from painting.
    void StretchDraw(const TRect& rect, const TGraphic& graphic);

private:
    ICanvasDevice* m_device;
    TFont m_font;
    TBrush m_brush;
    TPen m_pen;
    TPoint m_penPos;
};

}  // namespace setup::ui
