// What the skinned controls ask of the screen: the RGB value of a system colour and whether the
// screen shows more than 256 colours (the smooth parts of the flat glyphs are drawn only then).
#pragma once

#include "setup/forms/property_types.h"
#include "setup/ui/skin/colors.h"

namespace setup::ui {
class TControl;
}

namespace setup::ui::skin {

class ISkinDisplay
{
public:
    virtual ~ISkinDisplay() = default;
    virtual Rgb32 SystemColor(int index) const = 0;
    virtual bool FullColor() const = 0;
};

// The classic Windows scheme on a full-colour screen: what a control without a display uses.
class StandardSkinDisplay final : public ISkinDisplay
{
public:
    Rgb32 SystemColor(int index) const override;
    bool FullColor() const override { return true; }
};

// A form-file colour as RGB: system colours through the display.
Rgb32 ResolveColor(forms::TColor color, const ISkinDisplay& display);
// The display of the application the control's form belongs to, else the standard one.
const ISkinDisplay& DisplayOf(const TControl& control);

}  // namespace setup::ui::skin
