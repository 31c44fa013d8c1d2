#include "setup/ui/skin/skin_display.h"

#include <array>

#include "setup/ui/application.h"
#include "setup/ui/form.h"

namespace setup::ui::skin {

Rgb32 StandardSkinDisplay::SystemColor(int index) const
{
    static constexpr std::array<Rgb32, 25> kScheme = {
        MakeRgb(212, 208, 200), MakeRgb(58, 110, 165),  MakeRgb(10, 36, 106),
        MakeRgb(128, 128, 128), MakeRgb(212, 208, 200), MakeRgb(255, 255, 255),
        MakeRgb(0, 0, 0),       MakeRgb(0, 0, 0),       MakeRgb(0, 0, 0),
        MakeRgb(255, 255, 255), MakeRgb(212, 208, 200), MakeRgb(212, 208, 200),
        MakeRgb(128, 128, 128), MakeRgb(10, 36, 106),   MakeRgb(255, 255, 255),
        MakeRgb(212, 208, 200), MakeRgb(128, 128, 128), MakeRgb(128, 128, 128),
        MakeRgb(0, 0, 0),       MakeRgb(212, 208, 200), MakeRgb(255, 255, 255),
        MakeRgb(64, 64, 64),    MakeRgb(212, 208, 200), MakeRgb(0, 0, 0),
        MakeRgb(255, 255, 225),
    };
    return index >= 0 && index < static_cast<int>(kScheme.size())
               ? kScheme[static_cast<std::size_t>(index)]
               : 0;
}

Rgb32 ResolveColor(forms::TColor color, const ISkinDisplay& display)
{
    const auto value = static_cast<std::uint32_t>(color);
    if ((value & 0xFF000000u) == 0xFF000000u)
        return display.SystemColor(static_cast<int>(value & 0xFF));
    return value & 0xFFFFFFu;
}

const ISkinDisplay& DisplayOf(const TControl& control)
{
    static const StandardSkinDisplay standard;
    const TControl* top = &control;
    while (top->Parent())
        top = top->Parent();
    if (auto* form = dynamic_cast<const TCustomForm*>(top);
        form && form->Application() && form->Application()->skinDisplay)
        return *form->Application()->skinDisplay;
    return standard;
}

}  // namespace setup::ui::skin
