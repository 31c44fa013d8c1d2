// The floating "Align" tool window: two rows of five buttons, horizontal codes on top and
// vertical below, each aligning the designer's selection; its menu keeps it on top, shows hints
// or hides it.
#pragma once

#include <array>

#include "setup/ui/form.h"

namespace setup::ui {

class TFormDesigner;
class TSpeedButton;
class TPopupMenu;
class TMenuItem;

class TfrmAlignmentPalette : public TForm
{
public:
    FORMS_CLASS_INFO()
    explicit TfrmAlignmentPalette(TFormDesigner& designer);

    // Top row first, left to right.
    TSpeedButton* Button(std::size_t index) const { return m_buttons.at(index); }
    TPopupMenu* Menu() const { return m_menu; }
    TMenuItem* StayOnTopItem() const { return m_stayOnTop; }
    TMenuItem* ShowHintsItem() const { return m_showHints; }
    // Follows the designer's palette options.
    void ApplyOptions();

    void ButtonClick(forms::TObject* sender);
    void StayOnTopClick(forms::TObject* sender);
    void ShowHintsClick(forms::TObject* sender);
    void HideClick(forms::TObject* sender);

private:
    TFormDesigner& m_designer;
    std::array<TSpeedButton*, 10> m_buttons{};
    TPopupMenu* m_menu = nullptr;
    TMenuItem* m_stayOnTop = nullptr;
    TMenuItem* m_showHints = nullptr;
};

}  // namespace setup::ui
