// The shell's own context menu of some items: built from the folder's IContextMenu, shown with
// the menu messages routed to it so its owner-drawn submenus work, and run by command id.
#pragma once

#include <memory>

#include "setup/ui/shell_namespace.h"

struct IContextMenu;

namespace setup::ui {

// Takes over the reference; none when the menu cannot be built.
std::unique_ptr<IShellContextMenu> MakeShellContextMenu(IContextMenu* menu, bool canRename);

}  // namespace setup::ui
