#include "setup/ui/tray/taskbar_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "core/unique_handle.h"

namespace setup::ui::tray {

namespace {

Rect FromRect(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

HWND TaskbarWindow()
{
    return ::FindWindowA("Shell_TrayWnd", nullptr);
}

HWND NotificationWindow()
{
    const HWND taskbar = TaskbarWindow();
    return taskbar ? ::FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
}

BOOL CALLBACK FindToolbar(HWND window, LPARAM found)
{
    if (GetWindowClassText(window) != "ToolbarWindow32")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Bytes of another process, read at most `count`; fewer when the read stopped short.
std::vector<std::uint8_t> ReadRemote(HANDLE process, std::uint64_t address, std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    SIZE_T read = 0;
    if (address > static_cast<std::uint64_t>(UINTPTR_MAX) ||
        !::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)),
                             bytes.data(), count, &read))
        read = 0;
    bytes.resize(read);
    return bytes;
}

}  // namespace

WindowsVersion Win32WindowsVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&info))
        return {};
#pragma GCC diagnostic pop
    return {info.dwPlatformId == VER_PLATFORM_WIN32_NT, static_cast<int>(info.dwMajorVersion),
            static_cast<int>(info.dwMinorVersion)};
}

std::string GetWindowClassText(HWND window)
{
    char name[261] = {};
    const int length = ::GetClassNameA(window, name, sizeof(name));
    return length > 0 ? std::string(name, static_cast<std::size_t>(length)) : std::string();
}

bool ProcessIs64Bit(HANDLE process)
{
    BOOL selfWow64 = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &selfWow64);
    const bool system64 = sizeof(void*) == 8 || selfWow64;
    if (!system64)
        return false;
    BOOL wow64 = FALSE;
    return ::IsWow64Process(process, &wow64) && !wow64;
}

TrayIconLookup ReadToolbarIcon(HWND toolbar, std::uintptr_t window, std::uint32_t id)
{
    TrayIconLookup lookup;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(toolbar, &processId);
    // Reading and the remote buffer need no more than these rights.
    const core::UniqueProcess process(::OpenProcess(
        PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
        processId));
    if (!process)
        return lookup;
    const LRESULT count = ::SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0);
    if (count <= 0)
        return lookup;
    const TrayButtonLayout layout = TrayButtonLayoutFor(ProcessIs64Bit(process.Get()));
    void* remote = ::VirtualAllocEx(process.Get(), nullptr, layout.buttonBytes, MEM_COMMIT,
                                    PAGE_READWRITE);
    if (!remote)
        return lookup;
    const auto remoteAddress = reinterpret_cast<std::uintptr_t>(remote);
    for (LRESULT index = 0; index < count; ++index) {
        if (!::SendMessageA(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(remote)))
            continue;
        const auto button =
            ParseTrayButton(ReadRemote(process.Get(), remoteAddress, layout.buttonBytes), layout);
        if (!button)
            continue;
        const auto owner = ParseTrayButtonOwner(
            ReadRemote(process.Get(), button->dataAddress, layout.dataBytes), layout);
        if (!owner || owner->window != window || owner->id != id)
            continue;
        if (button->state & kTbStateHidden) {
            lookup.outcome = TrayIconLookup::Hidden;
            break;
        }
        if (!::SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(remote)))
            break;
        const std::vector<std::uint8_t> bytes = ReadRemote(process.Get(), remoteAddress, sizeof(RECT));
        if (bytes.size() == sizeof(RECT)) {
            RECT rect;
            std::memcpy(&rect, bytes.data(), sizeof(rect));
            ::MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
            lookup = {TrayIconLookup::Found, FromRect(rect)};
        }
        break;
    }
    ::VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return lookup;
}

WindowsVersion Win32TaskbarProbe::Version()
{
    return Win32WindowsVersion();
}

bool Win32TaskbarProbe::HasTaskbar()
{
    return TaskbarWindow() != nullptr;
}

std::uint32_t Win32TaskbarProbe::TaskbarState()
{
    APPBARDATA data{};
    data.cbSize = sizeof(data);
    return static_cast<std::uint32_t>(::SHAppBarMessage(ABM_GETSTATE, &data));
}

std::optional<std::pair<TaskbarEdge, Rect>> Win32TaskbarProbe::TaskbarPosition()
{
    APPBARDATA data{};
    data.cbSize = sizeof(data);
    data.hWnd = TaskbarWindow();
    if (!data.hWnd || !::SHAppBarMessage(ABM_GETTASKBARPOS, &data) || data.uEdge > ABE_BOTTOM)
        return std::nullopt;
    return std::make_pair(static_cast<TaskbarEdge>(data.uEdge), FromRect(data.rc));
}

std::optional<Rect> Win32TaskbarProbe::AutoHideBarRect(TaskbarEdge edge)
{
    APPBARDATA data{};
    data.cbSize = sizeof(data);
    data.uEdge = static_cast<UINT>(edge);
    const auto bar = reinterpret_cast<HWND>(::SHAppBarMessage(ABM_GETAUTOHIDEBAR, &data));
    RECT rect;
    if (!bar || !::GetWindowRect(bar, &rect))
        return std::nullopt;
    return FromRect(rect);
}

Rect Win32TaskbarProbe::TaskbarWindowRect()
{
    RECT rect{};
    if (const HWND taskbar = TaskbarWindow())
        ::GetWindowRect(taskbar, &rect);
    return FromRect(rect);
}

Rect Win32TaskbarProbe::SystemWorkArea()
{
    RECT rect{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
    return FromRect(rect);
}

Size Win32TaskbarProbe::ScreenSize()
{
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

Point Win32TaskbarProbe::CursorPos()
{
    POINT at{};
    ::GetCursorPos(&at);
    return {at.x, at.y};
}

void Win32TaskbarProbe::SetCursorPos(Point at)
{
    ::SetCursorPos(at.x, at.y);
}

std::uint64_t Win32TaskbarProbe::TickCount()
{
    return ::GetTickCount64();
}

void Win32TaskbarProbe::GiveUpTimeSlice()
{
    ::Sleep(0);
}

std::vector<std::string> Win32TaskbarProbe::ClassChainAt(Point at)
{
    std::vector<std::string> chain;
    for (HWND window = ::WindowFromPoint({at.x, at.y}); window; window = ::GetParent(window))
        chain.push_back(GetWindowClassText(window));
    return chain;
}

std::optional<Rect> Win32TaskbarProbe::NotificationAreaRect()
{
    const HWND area = NotificationWindow();
    RECT rect;
    if (!area || !::GetWindowRect(area, &rect))
        return std::nullopt;
    return FromRect(rect);
}

TrayIconLookup Win32TaskbarProbe::ReadTrayIcon(std::uintptr_t window, std::uint32_t id)
{
    const HWND area = NotificationWindow();
    HWND toolbar = nullptr;
    if (area)
        ::EnumChildWindows(area, FindToolbar, reinterpret_cast<LPARAM>(&toolbar));
    return toolbar ? ReadToolbarIcon(toolbar, window, id) : TrayIconLookup{};
}

}  // namespace setup::ui::tray
