// Windowless controls that only paint: images, shapes, bevels and gauges.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "setup/ui/control.h"
#include "setup/ui/picture.h"

namespace setup::ui {

enum TShapeType
{
    stRectangle,
    stSquare,
    stRoundRect,
    stRoundSquare,
    stEllipse,
    stCircle,
};
enum TBevelStyle
{
    bsLowered,
    bsRaised,
};
enum TBevelShape
{
    bsBox,
    bsFrame,
    bsTopLine,
    bsBottomLine,
    bsLeftLine,
    bsRightLine,
    bsSpacer,
};
enum TGaugeKind
{
    gkText,
    gkHorizontalBar,
    gkVerticalBar,
    gkPie,
    gkNeedle,
};

class TImage : public TGraphicControl
{
public:
    FORMS_CLASS_INFO()
    explicit TImage(forms::TComponent* owner);

    TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(TPicture* picture) { m_picture->Assign(*picture); }
    bool autoSize = false;
    bool center = false;
    bool stretch = false;
    bool proportional = false;
    bool transparent = false;

    // Where the picture goes within the control, after stretching, proportion and centring.
    TRect DestRect() const;
    void Paint(TCanvas& canvas) override;

private:
    std::unique_ptr<TPicture> m_picture;
};

class TShape : public TGraphicControl
{
public:
    FORMS_CLASS_INFO()
    explicit TShape(forms::TComponent* owner);

    TBrush* Brush() const { return m_brush.get(); }
    void SetBrush(TBrush* brush) { m_brush->Assign(*brush); }
    TPen* Pen() const { return m_pen.get(); }
    void SetPen(TPen* pen) { m_pen->Assign(*pen); }
    TShapeType Shape() const { return m_shape; }
    void SetShape(TShapeType shape);

    void Paint(TCanvas& canvas) override;

private:
    std::unique_ptr<TBrush> m_brush;
    std::unique_ptr<TPen> m_pen;
    TShapeType m_shape = stRectangle;
};

class TBevel : public TGraphicControl
{
public:
    FORMS_CLASS_INFO()
    explicit TBevel(forms::TComponent* owner);

    TBevelShape shape = bsBox;
    TBevelStyle style = bsLowered;
    void Paint(TCanvas& canvas) override;
};

class TGauge : public TGraphicControl
{
public:
    FORMS_CLASS_INFO()
    explicit TGauge(forms::TComponent* owner);

    std::int32_t Progress() const { return m_progress; }
    // Kept within MinValue and MaxValue.
    void SetProgress(std::int32_t progress);
    std::int32_t MinValue() const { return m_minValue; }
    void SetMinValue(std::int32_t value);
    std::int32_t MaxValue() const { return m_maxValue; }
    void SetMaxValue(std::int32_t value);
    // Whole percent done, 0 when the range is empty.
    int PercentDone() const;
    TGaugeKind kind = gkHorizontalBar;
    TColor foreColor = clBlack;
    TColor backColor = clWhite;
    bool showText = true;
    std::int32_t borderStyle = 1;

    void Paint(TCanvas& canvas) override;

private:
    std::int32_t m_progress = 0;
    std::int32_t m_minValue = 0;
    std::int32_t m_maxValue = 100;
};

}  // namespace setup::ui

UI_ENUM_TYPE(TShapeType, "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse",
             "stCircle")
UI_ENUM_TYPE(TBevelStyle, "bsLowered", "bsRaised")
UI_ENUM_TYPE(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine",
             "bsRightLine", "bsSpacer")
UI_ENUM_TYPE(TGaugeKind, "gkText", "gkHorizontalBar", "gkVerticalBar", "gkPie", "gkNeedle")
