// The stand-in under the class name of the HTML pane, until its own library replaces it: it holds
// the properties page files give it, so such pages load and show.
#pragma once

#include <cstdint>
#include <string>

#include "setup/ui/control.h"

namespace setup::ui {

// The stand-ins' look: their colour in a frame, with the class name.
void PaintPlaceholder(TControl& control, TCanvas& canvas);

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

}  // namespace setup::ui
