#include "setup/wizard/pool_tray_win32.h"

#include <windows.h>

namespace setup::wizard {

namespace {

HWND Handle(std::uintptr_t window)
{
    return reinterpret_cast<HWND>(window);
}

}  // namespace

void Win32DialogWindowControl::Hide(std::uintptr_t window)
{
    ::ShowWindow(Handle(window), SW_HIDE);
}

void Win32DialogWindowControl::ShowOnTop(std::uintptr_t window)
{
    ::ShowWindow(Handle(window), SW_SHOW);
    ::BringWindowToTop(Handle(window));
}

void Win32DialogWindowControl::Restore(std::uintptr_t window)
{
    ::SendMessageA(Handle(window), WM_SYSCOMMAND, SC_RESTORE, 0);
}

void Win32DialogWindowControl::SetForeground(std::uintptr_t window)
{
    ::SetForegroundWindow(Handle(window));
}

}  // namespace setup::wizard
