#include "setup/ui/graphic_controls.h"

#include <algorithm>
#include <cmath>

#include "setup/forms/class_builder.h"
#include "setup/ui/std_controls.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TImage::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TImage>("TImage", &TGraphicControl::StaticClass())
                                      .Property("AutoSize", &TImage::autoSize)
                                      .Property("Center", &TImage::center)
                                      .Property("Picture", &TImage::Picture, &TImage::SetPicture)
                                      .Property("Proportional", &TImage::proportional)
                                      .Property("Stretch", &TImage::stretch)
                                      .Property("Transparent", &TImage::transparent)
                                      .Build();
    return info;
}

TImage::TImage(forms::TComponent* owner)
    : TGraphicControl(owner), m_picture(std::make_unique<TPicture>())
{
    SetBounds(0, 0, 105, 105);
    m_picture->OnChange = [this] {
        if (autoSize && m_picture->Width() > 0 && m_picture->Height() > 0)
            SetBounds(Left(), Top(), m_picture->Width(), m_picture->Height());
        Changed(Aspect::Paint);
    };
}

TRect TImage::DestRect() const
{
    int width = m_picture->Width();
    int height = m_picture->Height();
    const int boxWidth = Width();
    const int boxHeight = Height();
    if (stretch || (proportional && (width > boxWidth || height > boxHeight))) {
        if (proportional && width > 0 && height > 0) {
            // The larger scale that still fits, so the picture keeps its aspect.
            const double scale = std::min(static_cast<double>(boxWidth) / width,
                                          static_cast<double>(boxHeight) / height);
            width = static_cast<int>(std::lround(width * scale));
            height = static_cast<int>(std::lround(height * scale));
        } else {
            width = boxWidth;
            height = boxHeight;
        }
    }
    TRect rect = TRect::Bounds(0, 0, width, height);
    if (center) {
        const int dx = (boxWidth - width) / 2;
        const int dy = (boxHeight - height) / 2;
        rect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    }
    return rect;
}

void TImage::Paint(TCanvas& canvas)
{
    if (const TGraphic* graphic = m_picture->Graphic())
        canvas.StretchDraw(DestRect(), *graphic);
}

const ClassInfo& TShape::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TShape>("TShape", &TGraphicControl::StaticClass())
                                      .Property("Brush", &TShape::Brush, &TShape::SetBrush)
                                      .Property("Pen", &TShape::Pen, &TShape::SetPen)
                                      .Property("Shape", &TShape::Shape, &TShape::SetShape)
                                      .Build();
    return info;
}

TShape::TShape(forms::TComponent* owner)
    : TGraphicControl(owner), m_brush(std::make_unique<TBrush>()), m_pen(std::make_unique<TPen>())
{
    SetBounds(0, 0, 65, 65);
    m_brush->OnChange = [this] { Changed(Aspect::Paint); };
    m_pen->OnChange = [this] { Changed(Aspect::Paint); };
}

void TShape::SetShape(TShapeType shape)
{
    m_shape = shape;
    Changed(Aspect::Paint);
}

void TShape::Paint(TCanvas& canvas)
{
    canvas.Pen().Assign(*m_pen);
    canvas.Brush().Assign(*m_brush);
    // The pen stays inside the control: half its width is taken from each side.
    const int inset = m_pen->Width() / 2;
    TRect rect = ClientRect().Inflated(-inset, -inset);
    if (m_pen->Width() > 1 && m_pen->Width() % 2 == 0) {
        rect.right += 1;
        rect.bottom += 1;
    }
    if (m_shape == stSquare || m_shape == stRoundSquare || m_shape == stCircle) {
        const int side = std::min(rect.Width(), rect.Height());
        const int left = rect.left + (rect.Width() - side) / 2;
        const int top = rect.top + (rect.Height() - side) / 2;
        rect = TRect::Bounds(left, top, side, side);
    }
    switch (m_shape) {
        case stRectangle:
        case stSquare:
            canvas.Rectangle(rect);
            break;
        case stRoundRect:
        case stRoundSquare:
            canvas.RoundRect(rect, std::min(rect.Width(), rect.Height()) / 4);
            break;
        case stEllipse:
        case stCircle:
            canvas.Ellipse(rect);
            break;
    }
}

const ClassInfo& TBevel::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TBevel>("TBevel", &TGraphicControl::StaticClass())
                                      .Property("Shape", &TBevel::shape)
                                      .Property("Style", &TBevel::style)
                                      .Build();
    return info;
}

TBevel::TBevel(forms::TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 50, 50);
}

void TBevel::Paint(TCanvas& canvas)
{
    const TColor first = style == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor second = style == bsLowered ? clBtnHighlight : clBtnShadow;
    const TRect r = ClientRect();
    const auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
        canvas.Pen().SetColor(color);
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    switch (shape) {
        case bsBox: {
            TRect rect = r;
            DrawBevelFrame(canvas, rect, style == bsLowered ? bvLowered : bvRaised, 1);
            break;
        }
        case bsFrame:
            canvas.Brush().SetStyle(bsClear);
            canvas.Pen().SetColor(first);
            canvas.Rectangle({r.left, r.top, r.right - 1, r.bottom - 1});
            canvas.Pen().SetColor(second);
            canvas.Rectangle({r.left + 1, r.top + 1, r.right, r.bottom});
            break;
        case bsTopLine:
            line(first, r.left, r.top, r.right, r.top);
            line(second, r.left, r.top + 1, r.right, r.top + 1);
            break;
        case bsBottomLine:
            line(first, r.left, r.bottom - 2, r.right, r.bottom - 2);
            line(second, r.left, r.bottom - 1, r.right, r.bottom - 1);
            break;
        case bsLeftLine:
            line(first, r.left, r.top, r.left, r.bottom);
            line(second, r.left + 1, r.top, r.left + 1, r.bottom);
            break;
        case bsRightLine:
            line(first, r.right - 2, r.top, r.right - 2, r.bottom);
            line(second, r.right - 1, r.top, r.right - 1, r.bottom);
            break;
        case bsSpacer:
            break;
    }
}

const ClassInfo& TGauge::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TGauge>("TGauge", &TGraphicControl::StaticClass())
                                      .Property("BackColor", &TGauge::backColor)
                                      .Property("BorderStyle", &TGauge::borderStyle)
                                      .Property("ForeColor", &TGauge::foreColor)
                                      .Property("Kind", &TGauge::kind)
                                      .Property("MaxValue", &TGauge::MaxValue, &TGauge::SetMaxValue)
                                      .Property("MinValue", &TGauge::MinValue, &TGauge::SetMinValue)
                                      .Property("Progress", &TGauge::Progress, &TGauge::SetProgress)
                                      .Property("ShowText", &TGauge::showText)
                                      .Build();
    return info;
}

TGauge::TGauge(forms::TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 100, 100);
}

void TGauge::SetProgress(std::int32_t progress)
{
    // While loading, the range may come after the progress.
    if (!HasState(forms::csLoading))
        progress = std::clamp(progress, m_minValue, std::max(m_minValue, m_maxValue));
    if (progress == m_progress)
        return;
    m_progress = progress;
    Changed(Aspect::Paint);
}

void TGauge::SetMinValue(std::int32_t value)
{
    m_minValue = value;
    SetProgress(m_progress);
    Changed(Aspect::Paint);
}

void TGauge::SetMaxValue(std::int32_t value)
{
    m_maxValue = value;
    SetProgress(m_progress);
    Changed(Aspect::Paint);
}

int TGauge::PercentDone() const
{
    const long long range = static_cast<long long>(m_maxValue) - m_minValue;
    if (range <= 0)
        return 0;
    const long long done =
        std::clamp<long long>(static_cast<long long>(m_progress) - m_minValue, 0, range);
    return static_cast<int>(done * 100 / range);
}

void TGauge::Paint(TCanvas& canvas)
{
    TRect rect = ClientRect();
    if (borderStyle != 0) {
        canvas.Pen().SetColor(clBlack);
        canvas.Brush().SetColor(backColor);
        canvas.Rectangle(rect);
        rect = rect.Inflated(-1, -1);
    } else {
        canvas.Brush().SetColor(backColor);
        canvas.FillRect(rect);
    }
    const int percent = PercentDone();
    canvas.Brush().SetColor(foreColor);
    switch (kind) {
        case gkHorizontalBar:
            canvas.FillRect(
                {rect.left, rect.top, rect.left + rect.Width() * percent / 100, rect.bottom});
            break;
        case gkVerticalBar:
            canvas.FillRect(
                {rect.left, rect.bottom - rect.Height() * percent / 100, rect.right, rect.bottom});
            break;
        case gkPie:
        case gkNeedle:
            // Drawn as a filled circle scaled by the progress: the shape, not the angle, shows it.
            if (percent > 0) {
                const int w = rect.Width() * percent / 100;
                const int h = rect.Height() * percent / 100;
                canvas.Pen().SetColor(foreColor);
                canvas.Ellipse(TRect::Bounds(rect.left + (rect.Width() - w) / 2,
                                             rect.top + (rect.Height() - h) / 2, w, h));
            }
            break;
        case gkText:
            break;
    }
    if (showText) {
        canvas.Font().Assign(*Font());
        canvas.TextRect(rect, std::to_string(percent) + "%", tfCenter | tfVCenter | tfSingleLine);
    }
}

}  // namespace setup::ui
