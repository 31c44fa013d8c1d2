// Recording stand-ins for the notification area: the shell's icon calls with the record each
// saw, the taskbar's facts as fields, and balloon windows that only note what they were asked.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "setup/ui/tray/balloon_manager.h"
#include "setup/ui/tray/taskbar.h"
#include "setup/ui/tray/tray_platform.h"

namespace setup::ui::testing {

struct ShellCall
{
    tray::NotifyMessage message;
    tray::NotifyIconData data;
};

class FakeTaskbar final : public tray::ITaskbarProbe
{
public:
    tray::WindowsVersion Version() override { return version; }
    bool HasTaskbar() override { return hasTaskbar; }
    std::uint32_t TaskbarState() override { return state; }
    std::optional<std::pair<tray::TaskbarEdge, tray::Rect>> TaskbarPosition() override;
    std::optional<tray::Rect> AutoHideBarRect(tray::TaskbarEdge) override { return autoHideBar; }
    tray::Rect TaskbarWindowRect() override { return taskbar; }
    tray::Rect SystemWorkArea() override { return workArea; }
    tray::Size ScreenSize() override { return screen; }
    tray::Point CursorPos() override { return cursor; }
    void SetCursorPos(tray::Point at) override { cursor = at; }
    std::uint64_t TickCount() override { return ticks; }
    void GiveUpTimeSlice() override { ticks += 10; }
    std::vector<std::string> ClassChainAt(tray::Point) override { return classChain; }
    std::optional<tray::Rect> NotificationAreaRect() override { return notificationArea; }
    tray::TrayIconLookup ReadTrayIcon(std::uintptr_t, std::uint32_t) override { return lookup; }

    // A 1024 x 768 screen with a 30-pixel taskbar at the bottom.
    tray::WindowsVersion version;
    bool hasTaskbar = true;
    std::uint32_t state = tray::kAbsAlwaysOnTop;
    tray::TaskbarEdge edge = tray::TaskbarEdge::Bottom;
    tray::Rect taskbar{0, 738, 1024, 768};
    std::optional<tray::Rect> autoHideBar;
    tray::Rect workArea{0, 0, 1024, 738};
    tray::Size screen{1024, 768};
    tray::Point cursor;
    std::uint64_t ticks = 0;
    std::vector<std::string> classChain;
    std::optional<tray::Rect> notificationArea = tray::Rect{900, 740, 1020, 766};
    tray::TrayIconLookup lookup;
};

class FakeBalloonWindows final : public tray::IBalloonWindows
{
public:
    tray::Size MeasureTitle(const std::string& title) override
    {
        return {static_cast<int>(title.size()) * 7, 13};
    }
    int TextHeightAt(const std::string& text, int width) override;
    tray::Size CloseButtonSize() override { return {16, 16}; }
    std::unique_ptr<tray::IBalloonWindow> Open(const tray::BalloonRequest& request,
                                               const tray::BalloonLayout& layout, bool inTray,
                                               tray::BalloonManager& manager) override;

    struct Opened
    {
        tray::BalloonRequest request;
        tray::BalloonLayout layout;
        bool inTray = false;
    };
    std::vector<Opened> opened;
    std::vector<std::string> log;  // "open", "close fade", "close at once", "flush"
    tray::BalloonManager* manager = nullptr;
};

class RecordingTrayPlatform final : public tray::ITrayPlatform
{
public:
    bool NotifyShell(tray::NotifyMessage message, const tray::NotifyIconData& data) override;
    std::uintptr_t CreateHiddenWindow(tray::TrayWindowProcedure procedure) override;
    void DestroyHiddenWindow(std::uintptr_t window) override { procedures.erase(window); }
    std::uint32_t TaskbarCreatedMessage() override { return 0xC123; }
    std::uintptr_t IconFromFile(const std::string& icoFile) override;
    std::uintptr_t IconFromPixels(const htmlview::PixelImage& pixels) override;
    std::uintptr_t ApplicationIcon() override { return 7; }
    void DestroyIcon(std::uintptr_t icon) override { ++destroyedIcons; }
    TShiftState KeyboardShift() override { return shift; }
    tray::ScreenPoint CursorPos() override { return cursor; }
    void ForegroundApplication(std::uintptr_t) override { ++foregrounds; }
    tray::WindowsVersion Version() override { return version; }
    tray::BalloonManager* Balloons() override { return &balloons; }
    tray::ITaskbarProbe* Taskbar() override { return &taskbar; }

    // Sends a message to the hidden window the component made.
    std::intptr_t Send(std::uint32_t message, std::uintptr_t first = 0, std::intptr_t second = 0);
    std::vector<tray::NotifyMessage> Messages() const;

    std::vector<ShellCall> calls;
    bool refuse = false;
    std::map<std::uintptr_t, tray::TrayWindowProcedure> procedures;
    std::uintptr_t nextWindow = 0x100;
    std::vector<std::string> icons;  // what each handle was made from, handle = index + 1000
    int destroyedIcons = 0;
    TShiftState shift;
    tray::ScreenPoint cursor{950, 750};
    int foregrounds = 0;
    tray::WindowsVersion version;
    FakeTaskbar taskbar;
    FakeBalloonWindows windows;
    tray::BalloonManager balloons{windows, taskbar};
};

}  // namespace setup::ui::testing
