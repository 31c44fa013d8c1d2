// Under Xvfb: the icon's toolbar read out of another process, the shell's record as the system
// takes it, and the program's own balloon window with its outline, fading and hide timer.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "core/module_path.h"
#include "setup/ui/tray/balloon_window_win32.h"
#include "setup/ui/tray/taskbar_win32.h"
#include "setup/ui/tray/tray_platform_win32.h"

namespace setup::ui::testing {
namespace {

using namespace setup::ui::tray;

// The helper process with its toolbar, ended again at the end of the test.
class ToolbarHelper
{
public:
    ToolbarHelper()
    {
        const auto program =
            std::filesystem::path(core::ModulePath(nullptr)).parent_path() / "tray_toolbar_helper.exe";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + program.wstring() + L"\"";
        if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &m_process))
            return;
        for (int tries = 0; tries < 200 && !m_toolbar; ++tries) {
            ::Sleep(50);
            if (const HWND window = ::FindWindowA("TrayToolbarHelper", nullptr))
                m_toolbar = ::FindWindowExA(window, nullptr, "ToolbarWindow32", nullptr);
        }
    }
    ~ToolbarHelper()
    {
        if (const HWND window = ::FindWindowA("TrayToolbarHelper", nullptr))
            ::PostMessageA(window, WM_CLOSE, 0, 0);
        if (m_process.hProcess) {
            if (::WaitForSingleObject(m_process.hProcess, 5000) != WAIT_OBJECT_0)
                ::TerminateProcess(m_process.hProcess, 1);
            ::CloseHandle(m_process.hProcess);
            ::CloseHandle(m_process.hThread);
        }
    }
    HWND Toolbar() const { return m_toolbar; }

private:
    PROCESS_INFORMATION m_process{};
    HWND m_toolbar = nullptr;
};

TEST(TrayToolbarRead, FindsTheIconsButtonInAnotherProcess)
{
    ToolbarHelper helper;
    ASSERT_NE(helper.Toolbar(), nullptr);
    RECT toolbar;
    ::GetWindowRect(helper.Toolbar(), &toolbar);

    const TrayIconLookup third = ReadToolbarIcon(helper.Toolbar(), 0x3333, 3);
    ASSERT_EQ(third.outcome, TrayIconLookup::Found);
    EXPECT_GT(third.rect.Width(), 0);
    EXPECT_GE(third.rect.left, toolbar.left);
    EXPECT_LE(third.rect.right, toolbar.right);
    EXPECT_GE(third.rect.top, toolbar.top);
    const TrayIconLookup first = ReadToolbarIcon(helper.Toolbar(), 0x1111, 1);
    ASSERT_EQ(first.outcome, TrayIconLookup::Found);
    EXPECT_LT(first.rect.left, third.rect.left);

    struct Case
    {
        std::uintptr_t window;
        std::uint32_t id;
        TrayIconLookup::Outcome outcome;
    };
    for (const Case& c : {Case{0x2222, 2, TrayIconLookup::Hidden},
                          Case{0x3333, 2, TrayIconLookup::NotFound},
                          Case{0x4444, 4, TrayIconLookup::NotFound}}) {
        const TrayIconLookup lookup = ReadToolbarIcon(helper.Toolbar(), c.window, c.id);
        EXPECT_EQ(lookup.outcome, c.outcome) << c.window;
        EXPECT_EQ(lookup.rect, Rect{}) << c.window;
    }
}

TEST(TrayShellRecord, SizeAndFieldsAsTheShellTakesThem)
{
    NotifyIconData data;
    data.window = 0x1234;
    data.id = 9;
    data.flags = kNifTip | kNifInfo;
    data.SetTip(std::string(200, 't'));
    data.SetInfo("text");
    data.SetInfoTitle("title");
    data.timeout = 5000;
    data.infoFlags = kNiifWarning;
    const NOTIFYICONDATAA record = ToShellRecord(data);
    EXPECT_EQ(record.cbSize, NotifyIconDataSize(sizeof(void*)));
    EXPECT_EQ(std::string(record.szTip), std::string(127, 't'));
    EXPECT_STREQ(record.szInfo, "text");
    EXPECT_STREQ(record.szInfoTitle, "title");
    EXPECT_EQ(record.uTimeout, 5000u);
    EXPECT_EQ(record.dwInfoFlags, 2u);
}

TEST(TrayShellIcon, AddModifyAndDeleteAreAccepted)
{
    Win32TrayPlatform platform;
    NotifyIconData data;
    data.window = platform.CreateHiddenWindow({});
    data.id = 1;
    data.flags = kNifMessage | kNifIcon | kNifTip;
    data.callbackMessage = kWmUser + 1;
    data.icon = platform.ApplicationIcon();
    data.SetTip("Setup");
    EXPECT_TRUE(platform.NotifyShell(nimAdd, data));
    data.flags |= kNifInfo;
    data.SetInfo("Balloon");
    EXPECT_TRUE(platform.NotifyShell(nimModify, data));
    EXPECT_TRUE(platform.NotifyShell(nimDelete, data));
    platform.DestroyHiddenWindow(data.window);
}

void Pump(DWORD milliseconds)
{
    const DWORD end = ::GetTickCount() + milliseconds;
    MSG message;
    while (static_cast<int>(end - ::GetTickCount()) > 0) {
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
        ::Sleep(10);
    }
}

class CountingEvents final : public IBalloonEvents
{
public:
    void BalloonShown() override { ++shown; }
    void BalloonHidden() override { ++hidden; }
    void BalloonTimedOut() override { ++timedOut; }
    void BalloonClicked() override { ++clicked; }
    int shown = 0, hidden = 0, timedOut = 0, clicked = 0;
};

TEST(BalloonWindow, OutlineFadingTimerAndClick)
{
    Win32TaskbarProbe taskbar;
    Win32BalloonWindows windows;
    BalloonManager manager(windows, taskbar);
    CountingEvents events;
    BalloonRequest request;
    request.title = "Setup & more";
    request.text = "The files are copied. This text is long enough to wrap at least once within "
                   "the balloon's three hundred and fifty pixels of text width.";
    request.flags = niifWarning;
    request.timeoutSeconds = 1;
    request.anchor = {BalloonAnchor::Area, 0, 0, {700, 600, 760, 620}};
    request.events = &events;
    ASSERT_TRUE(manager.ShowBalloonAt(request));
    const HWND window = windows.CurrentWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Faded in to full opacity.
    BYTE alpha = 0;
    DWORD flags = 0;
    if (::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags)) {
        EXPECT_EQ(alpha, 255);
    }
    // The outline: the body above the anchor and the stem reaching down at the lower right.
    RECT box;
    ::GetWindowRect(window, &box);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window, region), ERROR);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    EXPECT_TRUE(::PtInRegion(region, width / 2, 10));
    EXPECT_TRUE(::PtInRegion(region, width - 24, height - 6));  // near the stem's tip
    EXPECT_FALSE(::PtInRegion(region, 5, height - 3));
    ::DeleteObject(region);
    EXPECT_LE(box.bottom, 605);

    EXPECT_FALSE(manager.ShowBalloonAt(request));  // one at a time
    Pump(1500);  // the hide timer
    EXPECT_FALSE(manager.HasBalloon());
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(events.timedOut, 0);  // a balloon away from the tray hears nothing back
    EXPECT_EQ(events.shown, 0);

    // Anchored to a tray icon the events arrive; a click closes it.
    request.anchor = {BalloonAnchor::TrayIcon, 0x1234, 1, {}};
    request.timeoutSeconds = 0;
    ASSERT_TRUE(manager.ShowBalloonAt(request));
    const HWND clicked = windows.CurrentWindow();
    ::SendMessageA(clicked, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    ::SendMessageA(clicked, WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    EXPECT_FALSE(manager.HasBalloon());
    EXPECT_EQ(events.shown, 1);
    EXPECT_EQ(events.hidden, 1);
    EXPECT_EQ(events.clicked, 1);
}

TEST(BalloonWindow, GoesWhenTheWindowItPointsIntoIsResized)
{
    const HWND owner = ::CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                         300, 400, 400, 300, nullptr, nullptr, nullptr, nullptr);
    const HWND control = ::CreateWindowExA(0, "BUTTON", "Here", WS_CHILD | WS_VISIBLE, 60, 80,
                                           100, 30, owner, nullptr, nullptr, nullptr);
    Pump(100);
    RECT at;
    ::GetWindowRect(control, &at);
    Win32TaskbarProbe taskbar;
    Win32BalloonWindows windows;
    BalloonManager manager(windows, taskbar);
    BalloonRequest request;
    request.title = "Owner";
    request.text = "Watched";
    request.fade = false;
    request.anchor = {BalloonAnchor::Area, 0, 0, {at.left, at.top, at.right, at.bottom}};
    // Other test programs share the display: a window of theirs that comes up over the balloon
    // dismisses it, as it should, and so does a late size report of the owner's new window. Such
    // a round is shown again, a few times at most.
    bool shown = false;
    for (int round = 0; round < 5 && !shown; ++round) {
        ASSERT_TRUE(manager.ShowBalloonAt(request));
        Pump(100);
        shown = manager.HasBalloon();
    }
    ASSERT_TRUE(shown);
    ::SetWindowPos(owner, nullptr, 0, 0, 420, 320, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(200);
    EXPECT_FALSE(manager.HasBalloon());
    ::DestroyWindow(owner);
}

}  // namespace
}  // namespace setup::ui::testing
