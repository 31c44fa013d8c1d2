// The system's folder watches: the change-watch thread posts to a hidden window of the thread
// that made the watch, which tells the control there; the window of class "SetupFolderWatch"
// also hears of drives that arrive or go. Drives come from the system's drive list.
#pragma once

#include "setup/ui/shell_namespace.h"

namespace setup::ui {

class Win32FolderWatchService final : public IFolderWatchService
{
public:
    std::unique_ptr<IFolderWatch> Watch(std::function<void(int slot)> changed) override;
    std::vector<DriveRoot> Drives() override;
};

}  // namespace setup::ui
