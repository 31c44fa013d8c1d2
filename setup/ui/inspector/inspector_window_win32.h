// The inspector grid's window: the library's own window with a vertical scroll bar that follows
// the grid's rows and scrolls them.
#pragma once

#include "setup/ui/control_windows_win32.h"

namespace setup::ui {

const ControlBinding& InspectorGridBinding();

}  // namespace setup::ui
