// Pop-up menus on the screen: the menu tree as a system menu, tracked until the user chooses.
#pragma once

#include <windows.h>

#include "setup/ui/menus.h"

namespace setup::ui {

class Win32MenuPresenter final : public IMenuPresenter
{
public:
    // The window that owns the menus while they show (it gets their messages).
    explicit Win32MenuPresenter(HWND owner = nullptr) : m_owner(owner) {}
    TMenuItem* Present(TPopupMenu& menu, int x, int y) override;

private:
    HWND m_owner;
};

}  // namespace setup::ui
