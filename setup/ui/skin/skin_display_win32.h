// The screen's system colours and colour depth for the skinned controls.
#pragma once

#include "setup/ui/skin/skin_display.h"

namespace setup::ui::skin {

class Win32SkinDisplay final : public ISkinDisplay
{
public:
    // The colour depth is read once, as the controls' drawing unit did at start-up.
    Win32SkinDisplay();
    Rgb32 SystemColor(int index) const override;
    bool FullColor() const override { return m_fullColor; }

private:
    bool m_fullColor;
};

}  // namespace setup::ui::skin
