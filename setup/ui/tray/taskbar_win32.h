// The shell's facts for the custom balloons from Windows: the taskbar through the appbar
// messages, the notification area's windows, and the toolbar inside Explorer read across
// processes in the layout of Explorer's bitness.
#pragma once

#include <windows.h>

#include "setup/ui/tray/taskbar.h"

namespace setup::ui::tray {

class Win32TaskbarProbe final : public ITaskbarProbe
{
public:
    WindowsVersion Version() override;
    bool HasTaskbar() override;
    std::uint32_t TaskbarState() override;
    std::optional<std::pair<TaskbarEdge, Rect>> TaskbarPosition() override;
    std::optional<Rect> AutoHideBarRect(TaskbarEdge edge) override;
    Rect TaskbarWindowRect() override;
    Rect SystemWorkArea() override;
    Size ScreenSize() override;
    Point CursorPos() override;
    void SetCursorPos(Point at) override;
    std::uint64_t TickCount() override;
    void GiveUpTimeSlice() override;
    std::vector<std::string> ClassChainAt(Point at) override;
    std::optional<Rect> NotificationAreaRect() override;
    TrayIconLookup ReadTrayIcon(std::uintptr_t window, std::uint32_t id) override;
};

WindowsVersion Win32WindowsVersion();
// The class name of a window (up to 260 characters), empty on failure.
std::string GetWindowClassText(HWND window);
// Reads the buttons of a notification-area toolbar owned by another process for the icon of
// that window and identifier.
TrayIconLookup ReadToolbarIcon(HWND toolbar, std::uintptr_t window, std::uint32_t id);
// Whether a process runs with 64-bit pointers.
bool ProcessIs64Bit(HANDLE process);

}  // namespace setup::ui::tray
