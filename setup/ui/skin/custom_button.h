// TSkCustomButton: the base of the skinned check box and radio button. It tracks a press of the
// mouse (drawn pressed while the pointer stays inside, completed by a release inside), the mouse
// over the control for hot tracking, its own focus, and draws its caption in one of four text
// styles.
#pragma once

#include "setup/ui/control.h"
#include "setup/ui/skin/colors.h"
#include "setup/ui/ui_types.h"

namespace setup::ui::skin {

enum TSkAlignmentVertical
{
    avTop,
    avCenter,
    avBottom,
};
enum THotTrackColorType
{
    htctComplement,
    htctActual,
};
enum TSkTextStyle
{
    tsNormal,
    tsRaised,
    tsRecessed,
    tsShadow,
};

class TSkCustomButton : public TCustomControl
{
public:
    FORMS_CLASS_INFO()
    explicit TSkCustomButton(forms::TComponent* owner);

    TSkAlignmentVertical alignmentVertical = avCenter;
    bool hotTrack = false;
    TColor highlightColor = clHighlight;
    TColor hotTrackColor = TColor(MakeRgb(240, 155, 20));
    THotTrackColorType hotTrackColorType = htctActual;
    bool lightTextStyle = false;
    TSkTextStyle textStyle = tsNormal;
    std::int32_t textShadowDepth = 2;
    TColor textShadowColor = clBtnShadow;
    TColor textHighlightColor = clBtnHighlight;
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);

    bool MouseOver() const { return m_mouseOver; }
    bool TrackingPress() const { return m_trackingPress; }
    bool DrawPressed() const { return m_drawPressed; }
    bool HasFocus() const { return m_hasFocus; }

    void MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMoveFromWindow(TShiftState shift, int x, int y) override;
    void MouseLeaveFromWindow() override;
    void FocusFromWindow(bool gained) override;
    bool PaintsParentBehind() const override { return m_transparent; }
    void Changed(Aspect aspect) override;

    // Where the glyph is drawn; the whole client area in the base.
    virtual TRect GlyphRect() const { return ClientRect(); }
    // The caption in the rectangle, placed vertically by the alignment, in the text style.
    void DrawCaption(TCanvas& canvas, TRect rect, unsigned flags);

protected:
    // What a completed click does.
    virtual void ChangeState() = 0;
    // Asks the window for the focus, as a mouse press does.
    void TakeFocus();
    void SetDrawPressed(bool pressed);
    void Repaint() { TWinControl::Changed(Aspect::Paint); }
    // The focus came by the mouse, not by the keyboard.
    bool m_focusByMouse = false;

private:
    bool m_transparent = false;
    bool m_mouseOver = false;
    bool m_trackingPress = false;
    bool m_drawPressed = false;
    bool m_hasFocus = false;
};

}  // namespace setup::ui::skin

SKIN_ENUM_TYPE(TSkAlignmentVertical, "avTop", "avCenter", "avBottom")
SKIN_ENUM_TYPE(THotTrackColorType, "htctComplement", "htctActual")
SKIN_ENUM_TYPE(TSkTextStyle, "tsNormal", "tsRaised", "tsRecessed", "tsShadow")
