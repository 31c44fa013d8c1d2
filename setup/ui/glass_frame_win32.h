// A form's glass frame on its window, through the desktop window manager when the system has one
// and composition is on; elsewhere nothing happens.
#pragma once

#include <windows.h>

#include "setup/ui/form.h"

namespace setup::ui {

// True when the frame took the setting (false without composition).
bool ApplyGlassFrame(HWND window, const TGlassFrame& glass);

}  // namespace setup::ui
