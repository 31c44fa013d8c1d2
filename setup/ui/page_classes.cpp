#include "setup/ui/page_classes.h"

#include <array>

#include "setup/ui/common_controls.h"
#include "setup/ui/containers.h"
#include "setup/ui/file_controls.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/html_pane.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/flash/flash_frame.h"
#include "setup/ui/vista_glass.h"
#include "setup/ui/shell_controls.h"
#include "setup/ui/skin/bmp_button.h"
#include "setup/ui/skin/form_shape.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/ui/std_controls.h"

namespace setup::ui {

std::span<const forms::ClassInfo* const> PageClasses()
{
    static const std::array<const forms::ClassInfo*, 39> classes = {
        &TLabel::StaticClass(),         &TEdit::StaticClass(),
        &TMemo::StaticClass(),          &TButton::StaticClass(),
        &skin::TSkCheckBox::StaticClass(), &skin::TSkRadioButton::StaticClass(),
        &TListBox::StaticClass(),       &TComboBox::StaticClass(),
        &TGroupBox::StaticClass(),      &TPanel::StaticClass(),
        &TBitBtn::StaticClass(),        &TSpeedButton::StaticClass(),
        &TMaskEdit::StaticClass(),      &TImage::StaticClass(),
        &TShape::StaticClass(),         &TBevel::StaticClass(),
        &TStaticText::StaticClass(),    &TGauge::StaticClass(),
        &TPageControl::StaticClass(),   &TTabSheet::StaticClass(),
        &TRichEdit::StaticClass(),      &TTrackBar::StaticClass(),
        &TProgressBar::StaticClass(),   &TUpDown::StaticClass(),
        &TAnimate::StaticClass(),       &TCheckListBox::StaticClass(),
        &TTreeView::StaticClass(),      &THtmlPane::StaticClass(),
        &TFileListBox::StaticClass(),   &TDirectoryListBox::StaticClass(),
        &TDriveComboBox::StaticClass(), &TFilterComboBox::StaticClass(),
        &TNsShellTree::StaticClass(),   &TNsShellList::StaticClass(),
        &TNsShellCombo::StaticClass(),  &TFlashFrame::StaticClass(),
        &skin::TSkFormShape::StaticClass(),   &skin::TSkBmpButton::StaticClass(),
        &TVistaGlass::StaticClass(),
    };
    return classes;
}

void RegisterPageClasses(forms::ClassRegistry& registry)
{
    for (const forms::ClassInfo* info : PageClasses())
        registry.Register(*info);
}

}  // namespace setup::ui
