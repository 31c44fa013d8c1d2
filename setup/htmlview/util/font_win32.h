// The one way a requested font becomes a Windows font, so that text is drawn in exactly the font
// it was measured in.
#pragma once

#include <windows.h>

#include "setup/htmlview/util/platform.h"

namespace htmlview {

// The caller deletes the font.
HFONT CreateRequestedFont(const FontRequest& request);

}  // namespace htmlview
