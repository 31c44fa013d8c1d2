#include "setup/ui/placeholders.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/form.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

void PaintPlaceholder(TControl& control, TCanvas& canvas)
{
    canvas.Brush().SetColor(control.Color());
    canvas.Pen().SetColor(clBtnShadow);
    canvas.Rectangle(control.ClientRect());
    canvas.Font().Assign(*control.Font());
    canvas.TextRect(control.ClientRect().Inflated(-2, -2), control.ClassName(),
                    tfCenter | tfVCenter | tfSingleLine | tfNoPrefix);
}

const ClassInfo& TSkCheckBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TSkCheckBox>("TSkCheckBox", &TWinControl::StaticClass())
            .Property("Alignment", &TSkCheckBox::alignment)
            .Property("AllowGrayed", &TSkCheckBox::allowGrayed)
            .Property("Caption", &TSkCheckBox::Caption, &TSkCheckBox::SetCaption)
            .Property("Checked", &TSkCheckBox::Checked, &TSkCheckBox::SetChecked)
            .Property("ModalResult", &TSkCheckBox::modalResult)
            .Property("ReadOnly", &TSkCheckBox::readOnly)
            .Property("State", &TSkCheckBox::State, &TSkCheckBox::SetState)
            .Build();
    return info;
}

TSkCheckBox::TSkCheckBox(forms::TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

void TSkCheckBox::SetState(TCheckBoxState state)
{
    if (state == m_state)
        return;
    m_state = state;
    Changed(Aspect::State);
}

void TSkCheckBox::ToggleFromWindow()
{
    if (readOnly)
        return;
    // Unchecked, (grayed,) checked, unchecked.
    TCheckBoxState next = cbUnchecked;
    if (m_state == cbUnchecked)
        next = allowGrayed ? cbGrayed : cbChecked;
    else if (m_state == cbGrayed)
        next = cbChecked;
    SetState(next);
    Click();
}

const ClassInfo& TSkRadioButton::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TSkRadioButton>("TSkRadioButton", &TSkCheckBox::StaticClass()).Build();
    return info;
}

TSkRadioButton::TSkRadioButton(forms::TComponent* owner) : TSkCheckBox(owner)
{
    m_radio = true;
}

void TSkRadioButton::SetState(TCheckBoxState state)
{
    if (state == cbGrayed)
        state = cbChecked;
    TSkCheckBox::SetState(state);
    if (state != cbChecked || !Parent())
        return;
    for (TControl* sibling : Parent()->Controls()) {
        auto* radio = dynamic_cast<TSkRadioButton*>(sibling);
        if (radio && radio != this)
            radio->TSkCheckBox::SetState(cbUnchecked);
    }
}

void TSkRadioButton::ToggleFromWindow()
{
    // A radio button is checked by a click, never cleared by one.
    if (readOnly || Checked())
        return;
    SetState(cbChecked);
    Click();
}

const ClassInfo& TSkBmpButton::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TSkBmpButton>("TSkBmpButton", &TWinControl::StaticClass())
            .Property("Caption", &TSkBmpButton::Caption, &TSkBmpButton::SetCaption)
            .Property("Checked", &TSkBmpButton::checked)
            .Property("ModalResult", &TSkBmpButton::modalResult)
            .Build();
    return info;
}

TSkBmpButton::TSkBmpButton(forms::TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

const ClassInfo& THtmlPane::StaticClass()
{
    static const ClassInfo info = ClassBuilder<THtmlPane>("THtmlPane", &TWinControl::StaticClass())
                                      .Property("DefBackground", &THtmlPane::defBackground)
                                      .Property("DefFontName", &THtmlPane::defFontName)
                                      .Property("DefFontSize", &THtmlPane::defFontSize)
                                      .Build();
    return info;
}

THtmlPane::THtmlPane(forms::TComponent* owner) : TWinControl(owner)
{
    SetParentColor(false);
    SetColor(clWindow);
    SetBounds(0, 0, 185, 89);
}

void THtmlPane::Paint(TCanvas& canvas)
{
    PaintPlaceholder(*this, canvas);
}

const ClassInfo& TFlashFrame::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TFlashFrame>("TFlashFrame", &TCustomPanel::StaticClass())
            .Property("AutoRegisterFlash", &TFlashFrame::autoRegisterFlash)
            .Property("AutoScale", &TFlashFrame::autoScale)
            .Property("Loop", &TFlashFrame::loop)
            .Build();
    return info;
}

const ClassInfo& TVistaGlass::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TVistaGlass>("TVistaGlass", &forms::TComponent::StaticClass())
            .Property("GlassBottom", &TVistaGlass::glassBottom)
            .Property("GlassEnabled", &TVistaGlass::glassEnabled)
            .Property("GlassLeft", &TVistaGlass::glassLeft)
            .Property("GlassRight", &TVistaGlass::glassRight)
            .Property("GlassTop", &TVistaGlass::glassTop)
            .Property("SheetofGlass", &TVistaGlass::sheetOfGlass)
            .Build();
    return info;
}

}  // namespace setup::ui
