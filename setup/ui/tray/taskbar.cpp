#include "setup/ui/tray/taskbar.h"

#include <algorithm>
#include <cctype>

namespace setup::ui::tray {

namespace {

std::uint64_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t offset,
                               std::size_t count)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value |= static_cast<std::uint64_t>(bytes[offset + i]) << (8 * i);
    return value;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

bool IsWinVersion(const WindowsVersion& version, int major, int minor, bool orLater)
{
    if (!version.nt)
        return false;
    if (version.major == major && version.minor == minor)
        return true;
    return orLater && (version.major > major || (version.major == major && version.minor > minor));
}

bool IsWinXP(const WindowsVersion& version, bool orLater)
{
    return IsWinVersion(version, 5, 1, orLater);
}

bool IsTaskbarAutoHide(ITaskbarProbe& probe)
{
    return (probe.TaskbarState() & kAbsAutoHide) != 0;
}

TaskbarEdge GetTaskbarEdge(ITaskbarProbe& probe)
{
    if (!probe.HasTaskbar())
        return TaskbarEdge::Bottom;
    const auto position = probe.TaskbarPosition();
    return position ? position->first : TaskbarEdge::Bottom;
}

bool IsTaskbarHidden(ITaskbarProbe& probe, bool reveal)
{
    if (!probe.HasTaskbar())
        return false;
    const auto position = probe.TaskbarPosition();
    if (!position)
        return false;
    const auto bar = probe.AutoHideBarRect(position->first);
    if (!bar || *bar == position->second)
        return false;
    if (reveal) {
        Point cursor = probe.CursorPos();
        if (position->first == TaskbarEdge::Left || position->first == TaskbarEdge::Right)
            cursor.x = bar->left;
        else
            cursor.y = bar->top;
        probe.SetCursorPos(cursor);
    }
    return true;
}

void ShowTaskbar(ITaskbarProbe& probe)
{
    if (!IsTaskbarAutoHide(probe))
        return;
    const std::uint64_t start = probe.TickCount();
    if (!IsTaskbarHidden(probe, true))
        return;
    while (IsTaskbarHidden(probe, false) && probe.TickCount() - start < kShowTaskbarLimitMs)
        probe.GiveUpTimeSlice();
}

Rect GetDesktopWorkArea(ITaskbarProbe& probe)
{
    Rect area = probe.SystemWorkArea();
    const std::uint32_t state = probe.TaskbarState();
    if ((state & kAbsAlwaysOnTop) && !(state & kAbsAutoHide))
        return area;
    if (!probe.HasTaskbar())
        return area;
    const Rect bar = probe.TaskbarWindowRect();
    switch (GetTaskbarEdge(probe)) {
    case TaskbarEdge::Left:
        area.left = bar.right;
        break;
    case TaskbarEdge::Top:
        area.top = bar.bottom;
        break;
    case TaskbarEdge::Right:
        area.right = bar.left;
        break;
    case TaskbarEdge::Bottom:
        area.bottom = bar.top;
        break;
    }
    return area;
}

bool IsPointInNotificationArea(ITaskbarProbe& probe, Point at)
{
    for (const std::string& name : probe.ClassChainAt(at))
        if (Upper(name) == "TRAYNOTIFYWND")
            return true;
    return false;
}

Rect EstimateTrayIconRect(const Rect& area, TaskbarEdge edge)
{
    if (edge == TaskbarEdge::Top || edge == TaskbarEdge::Bottom) {
        const int top = area.top + 1 + (area.Height() - 16) / 2;
        return {area.left + 1, top, area.left + 1 + 17, top + 16};
    }
    const int left = area.left + (area.Width() - 16) / 2;
    return {left, area.top + 2, left + 16, area.top + 2 + 16};
}

bool GetTrayIconRect(ITaskbarProbe& probe, std::uintptr_t window, std::uint32_t id, Rect& rect,
                     bool exactOnly)
{
    rect = {};
    if (!probe.HasTaskbar())
        return false;
    const auto area = probe.NotificationAreaRect();
    if (!area)
        return false;
    const WindowsVersion version = probe.Version();
    if (!version.nt)
        return false;
    const TrayIconLookup lookup = probe.ReadTrayIcon(window, id);
    if (lookup.outcome == TrayIconLookup::Found) {
        rect = lookup.rect;
        return true;
    }
    if (!exactOnly && IsWinXP(version, true))
        rect = EstimateTrayIconRect(*area, GetTaskbarEdge(probe));
    return false;
}

TrayButtonLayout TrayButtonLayoutFor(bool explorer64)
{
    if (explorer64)
        return {32, 8, 16, 8, 12};
    return {20, 8, 12, 4, 8};
}

std::optional<TrayButton> ParseTrayButton(std::span<const std::uint8_t> bytes,
                                          const TrayButtonLayout& layout)
{
    if (bytes.size() < layout.buttonBytes)
        return std::nullopt;
    TrayButton button;
    button.state = bytes[layout.stateOffset];
    button.dataAddress = ReadLittleEndian(bytes, layout.dataOffset, layout.pointerBytes);
    return button;
}

std::optional<TrayButtonOwner> ParseTrayButtonOwner(std::span<const std::uint8_t> bytes,
                                                    const TrayButtonLayout& layout)
{
    if (bytes.size() < layout.dataBytes)
        return std::nullopt;
    TrayButtonOwner owner;
    owner.window = ReadLittleEndian(bytes, 0, layout.pointerBytes);
    owner.id = static_cast<std::uint32_t>(ReadLittleEndian(bytes, layout.pointerBytes, 4));
    return owner;
}

}  // namespace setup::ui::tray
