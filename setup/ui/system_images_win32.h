// The system's image lists of file icons, which the shell controls share: no control destroys
// them. The shell's shared and shortcut marks are made their overlays 1 and 2 on first use.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace setup::ui {

// The common controls' version as major × 100 + minor (4.70 is 470); 400 when unknown.
int CommonControlsVersion();

HIMAGELIST SystemImages(bool small);
inline HIMAGELIST SystemSmallImages()
{
    return SystemImages(true);
}

}  // namespace setup::ui
