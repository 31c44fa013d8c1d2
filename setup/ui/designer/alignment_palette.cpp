#include "setup/ui/designer/alignment_palette.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/menus.h"
#include "setup/ui/std_controls.h"

namespace setup::ui {
namespace {

struct PaletteButton
{
    const char* name;
    int tag;
    const char* hint;
};

constexpr PaletteButton kButtons[10] = {
    {"sbtLeft", 1, "Align left edges"},
    {"sbtHorCenter", 2, "Align horizontal centers"},
    {"sbtHorWinCenter", 5, "Center horizontally in window"},
    {"sbtHorSpace", 4, "Space equally, horizontally"},
    {"sbtRight", 3, "Align right edges"},
    {"sbtTop", 1, "Align tops"},
    {"sbtVerCenter", 2, "Align vertical centers"},
    {"sbtVerWinCenter", 5, "Center vertically in window"},
    {"sbtVerSpace", 4, "Space equally, vertically"},
    {"sbtBottom", 3, "Align bottoms"},
};

forms::TMethod MethodOf(TfrmAlignmentPalette& palette, const char* name)
{
    return {TfrmAlignmentPalette::StaticClass().FindMethod(name), &palette};
}

}  // namespace

const forms::ClassInfo& TfrmAlignmentPalette::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TfrmAlignmentPalette>("TfrmAlignmentPalette", &TForm::StaticClass())
            .Method("ButtonClick", &TfrmAlignmentPalette::ButtonClick)
            .Method("StayOnTopClick", &TfrmAlignmentPalette::StayOnTopClick)
            .Method("ShowHintsClick", &TfrmAlignmentPalette::ShowHintsClick)
            .Method("HideClick", &TfrmAlignmentPalette::HideClick)
            .Build();
    return info;
}

TfrmAlignmentPalette::TfrmAlignmentPalette(TFormDesigner& designer)
    : TForm(&designer), m_designer(designer)
{
    SetCaption("Align");
    SetBorderStyle(TFormBorderStyle::bsToolWindow);
    SetClientWidth(150);
    SetClientHeight(60);
    SetVisible(false);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        auto* button = new TSpeedButton(this);
        button->SetName(kButtons[i].name);
        button->SetTag(kButtons[i].tag);
        button->SetHint(kButtons[i].hint);
        button->SetCaption(std::to_string(kButtons[i].tag));
        button->SetBounds(static_cast<int>(i % 5) * 30, static_cast<int>(i / 5) * 30, 30, 30);
        button->SetParent(this);
        static_cast<forms::TMethod&>(button->onClick) = MethodOf(*this, "ButtonClick");
        m_buttons[i] = button;
    }
    m_menu = new TPopupMenu(this);
    const auto item = [this](const char* caption, const char* handler) {
        auto* entry = new TMenuItem(this);
        entry->caption = caption;
        static_cast<forms::TMethod&>(entry->onClick) = MethodOf(*this, handler);
        m_menu->Items()->Add(entry);
        return entry;
    };
    m_stayOnTop = item("&Stay on top", "StayOnTopClick");
    m_showHints = item("Sho&w hints", "ShowHintsClick");
    item("Hide", "HideClick");
    ApplyOptions();
}

void TfrmAlignmentPalette::ApplyOptions()
{
    const TAlignmentPaletteOptions options = m_designer.alignmentPalette;
    SetFormStyle(options.Has(apStayOnTop) ? TFormStyle::fsStayOnTop : TFormStyle::fsNormal);
    m_stayOnTop->SetChecked(options.Has(apStayOnTop));
    m_showHints->SetChecked(options.Has(apShowHints));
    for (TSpeedButton* button : m_buttons) {
        button->SetShowHint(options.Has(apShowHints));
        button->flat = options.Has(apFlatButtons);
    }
}

void TfrmAlignmentPalette::ButtonClick(forms::TObject* sender)
{
    auto* button = dynamic_cast<TSpeedButton*>(sender);
    if (!button)
        return;
    const bool horizontal = button == m_buttons[0] || button == m_buttons[1] ||
                            button == m_buttons[2] || button == m_buttons[3] ||
                            button == m_buttons[4];
    m_designer.Align(horizontal ? button->Tag() : 0, horizontal ? 0 : button->Tag());
}

void TfrmAlignmentPalette::StayOnTopClick(forms::TObject*)
{
    TAlignmentPaletteOptions options = m_designer.alignmentPalette;
    if (options.Has(apStayOnTop))
        options.Exclude(apStayOnTop);
    else
        options.Include(apStayOnTop);
    m_designer.SetAlignmentPalette(options);
}

void TfrmAlignmentPalette::ShowHintsClick(forms::TObject*)
{
    TAlignmentPaletteOptions options = m_designer.alignmentPalette;
    if (options.Has(apShowHints))
        options.Exclude(apShowHints);
    else
        options.Include(apShowHints);
    m_designer.SetAlignmentPalette(options);
}

void TfrmAlignmentPalette::HideClick(forms::TObject*)
{
    SetVisible(false);
}

}  // namespace setup::ui
