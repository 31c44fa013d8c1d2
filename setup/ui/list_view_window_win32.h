// The windows of the list view and the image combo box: the system's list view with its header
// sort marks and custom draw, and an owner-drawn combo box with images and indents.
#pragma once

#include "setup/ui/control_windows_win32.h"

namespace setup::ui {

const ControlBinding& ListViewBinding();
const ControlBinding& ImageComboBinding();

}  // namespace setup::ui
