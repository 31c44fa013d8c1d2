// What the custom balloons need to know about the shell: the Windows version, the taskbar's
// edge, state and work area, whether it has slid out of sight, whether a point is in the
// notification area, and the screen rectangle of one notification-area icon. The decisions are
// here; ITaskbarProbe asks the system (taskbar_win32).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "setup/ui/tray/balloon_layout.h"
#include "setup/ui/tray/tray_platform.h"

namespace setup::ui::tray {

// The taskbar state bits.
constexpr std::uint32_t kAbsAutoHide = 0x1;
constexpr std::uint32_t kAbsAlwaysOnTop = 0x2;

// What a read of the notification area's toolbar found for one icon.
struct TrayIconLookup
{
    enum Outcome
    {
        NotFound,
        Hidden,
        Found,
    } outcome = NotFound;
    Rect rect;  // screen coordinates when found
};

class ITaskbarProbe
{
public:
    virtual ~ITaskbarProbe() = default;
    virtual WindowsVersion Version() = 0;
    // The taskbar window ("Shell_TrayWnd") exists.
    virtual bool HasTaskbar() = 0;
    virtual std::uint32_t TaskbarState() = 0;
    // The taskbar's registered edge and rectangle; none without a taskbar.
    virtual std::optional<std::pair<TaskbarEdge, Rect>> TaskbarPosition() = 0;
    // The current rectangle of the auto-hide bar on that edge; none when there is none.
    virtual std::optional<Rect> AutoHideBarRect(TaskbarEdge edge) = 0;
    virtual Rect TaskbarWindowRect() = 0;
    virtual Rect SystemWorkArea() = 0;
    virtual Size ScreenSize() = 0;
    virtual Point CursorPos() = 0;
    virtual void SetCursorPos(Point at) = 0;
    virtual std::uint64_t TickCount() = 0;
    virtual void GiveUpTimeSlice() = 0;
    // The class names of the window under the point and of its parents, innermost first.
    virtual std::vector<std::string> ClassChainAt(Point at) = 0;
    // The notification window's ("TrayNotifyWnd") rectangle; none when it is missing.
    virtual std::optional<Rect> NotificationAreaRect() = 0;
    // Reads the notification area's toolbar for the icon of that window and identifier.
    virtual TrayIconLookup ReadTrayIcon(std::uintptr_t window, std::uint32_t id) = 0;
};

bool IsWinVersion(const WindowsVersion& version, int major, int minor, bool orLater);
bool IsWinXP(const WindowsVersion& version, bool orLater);
bool IsTaskbarAutoHide(ITaskbarProbe& probe);
TaskbarEdge GetTaskbarEdge(ITaskbarProbe& probe);
// The taskbar has slid out of sight; with reveal, the cursor goes onto it so that it slides in.
bool IsTaskbarHidden(ITaskbarProbe& probe, bool reveal);
// Waits at most about two seconds for an auto-hidden taskbar to come into sight.
void ShowTaskbar(ITaskbarProbe& probe);
constexpr std::uint64_t kShowTaskbarLimitMs = 2000;
Rect GetDesktopWorkArea(ITaskbarProbe& probe);
bool IsPointInNotificationArea(ITaskbarProbe& probe, Point at);
// The icon's rectangle; false when the toolbar did not give it. Without exactOnly on Windows XP
// and later `rect` then holds an estimate from the notification window.
bool GetTrayIconRect(ITaskbarProbe& probe, std::uintptr_t window, std::uint32_t id, Rect& rect,
                     bool exactOnly);
Rect EstimateTrayIconRect(const Rect& notificationArea, TaskbarEdge edge);

// The toolbar's button records in Explorer's memory, whose layout follows Explorer's bitness.
struct TrayButtonLayout
{
    std::size_t buttonBytes;  // TBBUTTON
    std::size_t stateOffset;
    std::size_t dataOffset;
    std::size_t pointerBytes;
    std::size_t dataBytes;    // the window handle and the identifier the data points at
};
TrayButtonLayout TrayButtonLayoutFor(bool explorer64);
constexpr std::uint8_t kTbStateHidden = 0x8;

struct TrayButton
{
    std::uint8_t state = 0;
    std::uint64_t dataAddress = 0;
};
struct TrayButtonOwner
{
    std::uint64_t window = 0;
    std::uint32_t id = 0;
};
// From bytes read out of Explorer; none when fewer bytes arrived than the layout needs.
std::optional<TrayButton> ParseTrayButton(std::span<const std::uint8_t> bytes,
                                          const TrayButtonLayout& layout);
std::optional<TrayButtonOwner> ParseTrayButtonOwner(std::span<const std::uint8_t> bytes,
                                                    const TrayButtonLayout& layout);

}  // namespace setup::ui::tray
