// Stand-ins under the class names of the Flash frame and the glass component,
// until their own libraries replace them: they hold the properties page files give them, so such
// pages load and show.
#pragma once

#include <cstdint>
#include <string>

#include "setup/forms/component.h"
#include "setup/ui/containers.h"
#include "setup/ui/control.h"

namespace setup::ui {

// The stand-ins' look: their colour in a frame, with the class name.
void PaintPlaceholder(TControl& control, TCanvas& canvas);

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
