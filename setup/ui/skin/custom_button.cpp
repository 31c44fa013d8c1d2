#include "setup/ui/skin/custom_button.h"

#include <algorithm>

#include "setup/forms/class_builder.h"
#include "setup/ui/skin/flat_glyphs.h"

namespace setup::ui::skin {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TSkCustomButton::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TSkCustomButton>("TSkCustomButton", &TCustomControl::StaticClass())
            .Property("AlignmentVertical", &TSkCustomButton::alignmentVertical)
            .Property("Caption", &TSkCustomButton::Caption, &TSkCustomButton::SetCaption)
            .Property("HighlightColor", &TSkCustomButton::highlightColor)
            .Property("HotTrack", &TSkCustomButton::hotTrack)
            .Property("HotTrackColor", &TSkCustomButton::hotTrackColor)
            .Property("HotTrackColorType", &TSkCustomButton::hotTrackColorType)
            .Property("LightTextStyle", &TSkCustomButton::lightTextStyle)
            .Property("TextHighlightColor", &TSkCustomButton::textHighlightColor)
            .Property("TextShadowColor", &TSkCustomButton::textShadowColor)
            .Property("TextShadowDepth", &TSkCustomButton::textShadowDepth)
            .Property("TextStyle", &TSkCustomButton::textStyle)
            .Property("Transparent", &TSkCustomButton::Transparent,
                      &TSkCustomButton::SetTransparent)
            .Build();
    return info;
}

TSkCustomButton::TSkCustomButton(forms::TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 115, 17);
    SetTabStop(true);
}

void TSkCustomButton::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    Repaint();
}

void TSkCustomButton::TakeFocus()
{
    m_focusByMouse = true;
    if (PeerFactory())
        SetFocus();
    // A window that cannot report its focus (none yet, or one of a test) still takes it.
    if (!m_hasFocus)
        FocusFromWindow(true);
    m_focusByMouse = false;
}

void TSkCustomButton::SetDrawPressed(bool pressed)
{
    if (pressed == m_drawPressed)
        return;
    m_drawPressed = pressed;
    Repaint();
}

void TSkCustomButton::MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x,
                                      int y)
{
    MouseEvent(down, button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    if (down) {
        TakeFocus();
        if (m_hasFocus) {
            SetDrawPressed(true);
            m_trackingPress = true;
        }
        if (shift.Has(ssDouble))
            onDblClick(this);
        return;
    }
    if (!m_trackingPress)
        return;
    m_trackingPress = false;
    m_drawPressed = false;
    if (ClientRect().Contains({x, y}))
        ChangeState();
    Repaint();
}

void TSkCustomButton::MouseMoveFromWindow(TShiftState shift, int x, int y)
{
    if (!m_mouseOver) {
        m_mouseOver = true;
        Repaint();
    }
    if (m_trackingPress)
        SetDrawPressed(ClientRect().Contains({x, y}));
}

void TSkCustomButton::MouseLeaveFromWindow()
{
    if (!m_mouseOver)
        return;
    m_mouseOver = false;
    Repaint();
}

void TSkCustomButton::FocusFromWindow(bool gained)
{
    m_hasFocus = gained;
    Repaint();
}

void TSkCustomButton::Changed(Aspect aspect)
{
    TCustomControl::Changed(aspect);
    // A disabled control gives the focus away; the window's own state follows.
    if (aspect == Aspect::Enabled && !Enabled()) {
        m_trackingPress = false;
        m_drawPressed = false;
        m_hasFocus = false;
    }
    if (aspect == Aspect::Text || aspect == Aspect::Enabled)
        Repaint();
}

void TSkCustomButton::DrawCaption(TCanvas& canvas, TRect rect, unsigned flags)
{
    if (!canvas.Device() || Caption().empty())
        return;
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(*Font());
    const TColor faceColor = Font()->Color();
    TRect measured = rect;
    canvas.Device()->DrawText(measured, Caption(), canvas.Font(),
                              tfCenter | tfVCenter | tfWordBreak | tfExpandTabs | tfCalcRect);
    const int height = std::min(measured.Height(), rect.Height());
    switch (alignmentVertical) {
        case avTop:
            rect.bottom = rect.top + height;
            break;
        case avCenter:
            rect.top += (rect.Height() - height) / 2;
            rect.bottom = rect.top + height;
            break;
        case avBottom:
            rect.bottom -= 1;
            rect.top = rect.bottom - height;
            break;
    }
    auto pass = [&](int dx, int dy, TColor color) {
        canvas.Font().SetColor(color);
        canvas.TextRect(rect.Offset(dx, dy), Caption(), flags);
    };
    if (!Enabled()) {
        pass(1, 1, clBtnHighlight);
        pass(0, 0, clBtnShadow);
        return;
    }
    const bool centred = (flags & tfCenter) != 0;
    if (textStyle == tsRaised || textStyle == tsRecessed) {
        const TColor shadow = textStyle == tsRaised ? textShadowColor : textHighlightColor;
        const TColor highlight = textStyle == tsRaised ? textHighlightColor : textShadowColor;
        if (textStyle == tsRecessed || !lightTextStyle)
            pass(1, 1, shadow);
        if (textStyle == tsRaised || !lightTextStyle)
            pass(-1, -1, highlight);
    } else if (textStyle == tsShadow) {
        pass(centred ? 0 : textShadowDepth, textShadowDepth, textShadowColor);
    }
    pass(textStyle == tsShadow && centred ? -textShadowDepth : 0, 0, faceColor);
}

}  // namespace setup::ui::skin
