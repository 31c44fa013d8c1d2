// Showing, restoring and hiding the setup's window for the notification-area icon on Windows.
#pragma once

#include "setup/wizard/pool_tray.h"

namespace setup::wizard {

class Win32DialogWindowControl final : public IDialogWindowControl
{
public:
    void Hide(std::uintptr_t window) override;
    void ShowOnTop(std::uintptr_t window) override;
    void Restore(std::uintptr_t window) override;
    void SetForeground(std::uintptr_t window) override;
};

}  // namespace setup::wizard
