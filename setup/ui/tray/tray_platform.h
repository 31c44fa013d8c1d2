// What the notification-area icons ask of the system: the shell's icon calls, a hidden window for
// the shell's callbacks, icon handles, the cursor and keyboard, and the Windows version. The
// Win32 version is tray_platform_win32; tests record the calls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/control.h"
#include "setup/ui/tray/notify_icon_data.h"

namespace setup::ui::tray {

class BalloonManager;
class ITaskbarProbe;

// Messages the icons' windows receive.
constexpr std::uint32_t kWmQueryEndSession = 0x11;
constexpr std::uint32_t kWmEndSession = 0x16;
constexpr std::uint32_t kWmUser = 0x400;
constexpr std::uint32_t kWmMouseMove = 0x200;
constexpr std::uint32_t kWmLButtonDown = 0x201;
constexpr std::uint32_t kWmLButtonUp = 0x202;
constexpr std::uint32_t kWmLButtonDblClk = 0x203;
constexpr std::uint32_t kWmRButtonDown = 0x204;
constexpr std::uint32_t kWmRButtonUp = 0x205;
constexpr std::uint32_t kWmRButtonDblClk = 0x206;
constexpr std::uint32_t kWmMButtonDown = 0x207;
constexpr std::uint32_t kWmMButtonUp = 0x208;
constexpr std::uint32_t kWmMButtonDblClk = 0x209;

// A hidden window's procedure: message, first and second parameter; its answer.
using TrayWindowProcedure =
    std::function<std::intptr_t(std::uint32_t message, std::uintptr_t first, std::intptr_t second)>;

struct ScreenPoint
{
    int x = 0;
    int y = 0;
};

struct WindowsVersion
{
    bool nt = true;
    int major = 6;
    int minor = 1;
};

class ITrayPlatform
{
public:
    virtual ~ITrayPlatform() = default;
    // Shell_NotifyIcon with the record; false when the shell refused.
    virtual bool NotifyShell(NotifyMessage message, const NotifyIconData& data) = 0;
    // A window that only receives messages; 0 when none could be made.
    virtual std::uintptr_t CreateHiddenWindow(TrayWindowProcedure procedure) = 0;
    virtual void DestroyHiddenWindow(std::uintptr_t window) = 0;
    // The message Explorer broadcasts when it (re)starts ("TaskbarCreated").
    virtual std::uint32_t TaskbarCreatedMessage() = 0;
    // Icon handles from an icon file or from pixels; 0 when they do not make an icon. The caller
    // destroys them. The application's icon belongs to the system and is never destroyed.
    virtual std::uintptr_t IconFromFile(const std::string& icoFile) = 0;
    virtual std::uintptr_t IconFromPixels(const htmlview::PixelImage& pixels) = 0;
    virtual std::uintptr_t ApplicationIcon() = 0;
    virtual void DestroyIcon(std::uintptr_t icon) = 0;
    // Shift, Alt and Ctrl as they are now.
    virtual TShiftState KeyboardShift() = 0;
    virtual ScreenPoint CursorPos() = 0;
    // Brings the program to the foreground through the icon's window before a menu pops up, so
    // that the menu closes when the user clicks elsewhere.
    virtual void ForegroundApplication(std::uintptr_t window) = 0;
    virtual WindowsVersion Version() = 0;
    // The program's own balloons and the shell facts they need; none where they cannot show.
    virtual BalloonManager* Balloons() = 0;
    virtual ITaskbarProbe* Taskbar() = 0;
};

}  // namespace setup::ui::tray
