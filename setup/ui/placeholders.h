// Stand-ins under the class names of the skinned controls, the HTML pane, the
// Flash frame and the glass component, until their own libraries replace them: they hold the
// properties page files give them, so such pages load and show. The skinned check and radio
// boxes work as plain ones.
#pragma once

#include <cstdint>
#include <string>

#include "setup/forms/component.h"
#include "setup/ui/containers.h"
#include "setup/ui/control.h"
#include "setup/ui/list_controls.h"

namespace setup::ui {

// The stand-ins' look: their colour in a frame, with the class name.
void PaintPlaceholder(TControl& control, TCanvas& canvas);

// A check box or radio button: Checked and State stay consistent.
class TSkCheckBox : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TSkCheckBox(forms::TComponent* owner);

    bool Checked() const { return m_state == cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return m_state; }
    virtual void SetState(TCheckBoxState state);
    bool allowGrayed = false;
    // The user cannot change the state; code still can.
    bool readOnly = false;
    std::int32_t modalResult = 0;
    TAlignment alignment = taRightJustify;

    // A click in the window: the next state, then OnClick.
    virtual void ToggleFromWindow();
    bool IsRadio() const { return m_radio; }

protected:
    bool m_radio = false;

private:
    TCheckBoxState m_state = cbUnchecked;
};

// Checking one radio button clears the others of the same parent.
class TSkRadioButton : public TSkCheckBox
{
public:
    FORMS_CLASS_INFO()
    explicit TSkRadioButton(forms::TComponent* owner);
    void SetState(TCheckBoxState state) override;
    void ToggleFromWindow() override;
};

class TSkBmpButton : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TSkBmpButton(forms::TComponent* owner);
    std::int32_t modalResult = 0;
    bool checked = false;
};

class THtmlPane : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit THtmlPane(forms::TComponent* owner);
    void Paint(TCanvas& canvas) override;
    std::string defFontName = "Times New Roman";
    std::int32_t defFontSize = 12;
    TColor defBackground = clWindow;
};

class TFlashFrame : public TCustomPanel
{
public:
    FORMS_CLASS_INFO()
    using TCustomPanel::TCustomPanel;
    bool autoRegisterFlash = true;
    bool autoScale = true;
    bool loop = true;
};

// Non-visual: the glass margins of a page.
class TVistaGlass : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    using TComponent::TComponent;
    std::int32_t glassLeft = 0;
    std::int32_t glassTop = 0;
    std::int32_t glassRight = 0;
    std::int32_t glassBottom = 0;
    bool glassEnabled = false;
    bool sheetOfGlass = false;
};

}  // namespace setup::ui
