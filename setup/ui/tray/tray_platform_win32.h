// The notification area on Windows: Shell_NotifyIconA with the record in the size of this
// build's bitness, hidden top-level windows (message-only windows miss Explorer's broadcast),
// icon handles, and the program's own balloons over the taskbar probe.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "setup/ui/tray/balloon_window_win32.h"
#include "setup/ui/tray/taskbar_win32.h"
#include "setup/ui/tray/tray_platform.h"

namespace setup::ui::tray {

class Win32TrayPlatform final : public ITrayPlatform
{
public:
    Win32TrayPlatform();
    ~Win32TrayPlatform() override;

    bool NotifyShell(NotifyMessage message, const NotifyIconData& data) override;
    std::uintptr_t CreateHiddenWindow(TrayWindowProcedure procedure) override;
    void DestroyHiddenWindow(std::uintptr_t window) override;
    std::uint32_t TaskbarCreatedMessage() override { return m_taskbarCreated; }
    std::uintptr_t IconFromFile(const std::string& icoFile) override;
    std::uintptr_t IconFromPixels(const htmlview::PixelImage& pixels) override;
    std::uintptr_t ApplicationIcon() override;
    void DestroyIcon(std::uintptr_t icon) override;
    TShiftState KeyboardShift() override;
    ScreenPoint CursorPos() override;
    void ForegroundApplication(std::uintptr_t window) override;
    WindowsVersion Version() override { return m_version; }
    BalloonManager* Balloons() override { return &m_balloons; }
    ITaskbarProbe* Taskbar() override { return &m_taskbar; }
    Win32BalloonWindows& BalloonWindows() { return m_balloonWindows; }

private:
    UINT m_taskbarCreated;
    WindowsVersion m_version;
    Win32TaskbarProbe m_taskbar;
    Win32BalloonWindows m_balloonWindows;
    BalloonManager m_balloons{m_balloonWindows, m_taskbar};
};

// The record as the shell takes it.
NOTIFYICONDATAA ToShellRecord(const NotifyIconData& data);

}  // namespace setup::ui::tray
