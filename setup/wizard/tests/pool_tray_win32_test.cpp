// Under Xvfb: "System Tray" and "MessageBalloon" from a script reach the pool's real tray icon,
// and a click on the icon brings the hidden window back.
#include <windows.h>

#include "setup/engine/testing/interpreter_test_support.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/tray/tray_platform_win32.h"
#include "setup/ui/window_peer_win32.h"
#include "setup/wizard/page_system_win32.h"
#include "setup/wizard/pool_tray.h"
#include "setup/wizard/pool_tray_win32.h"

namespace setup::wizard::testing {
namespace {

// The fake host of the interpreter's tests, with the tray statements served by the pool's icons.
class TrayServingHost final : public engine::testing::FakeInterpreterHost
{
public:
    void MinimizeToTray(std::uintptr_t window) override { tray->Minimize(window); }
    void RestoreFromTray(std::uintptr_t) override { tray->Restore(); }
    void SetTrayIcon(bool visible, const std::string& hint) override
    {
        tray->SetTrayIcon(visible, hint);
    }
    void ShowTrayBalloon(const engine::TrayBalloon& balloon) override
    {
        tray->ShowBalloon(balloon);
    }
    PoolTray* tray = nullptr;
};

class TrayStatementsOnScreen : public engine::testing::InterpreterTest
{
protected:
    TrayStatementsOnScreen()
        : application(loop, &peers, &timers), runtime(engine, application, system)
    {
        loop.SetApplication(&application);
        application.trayPlatform = &platform;
        application.AddForm(form);
        tray = new PoolTray(&form, runtime, windows);
        served.tray = tray;
        form.SetCaption("Setup");
        form.Show();
    }

    // "Own Window" makes the form the window the statements hide and bring back, as a
    // non-modal page would.
    void RunServed(std::initializer_list<std::string> lines)
    {
        handlers.Register("Own Window", [this](engine::StatementContext& statement) {
            statement.Engine().ForegroundDialogWindow =
                reinterpret_cast<std::uintptr_t>(ui::WindowOf(form));
        });
        served.files.insert(PackagePath());
        m_served = engine::testing::BuildScript(lines);
        engine::ExecuteScript({m_served, PackagePath(), {}, handlers, served.Bundle(), engine});
    }
    void Pump()
    {
        for (int i = 0; i < 20; ++i) {
            application.ProcessMessages();
            ::Sleep(10);
        }
    }
    HWND Window() { return ui::WindowOf(form); }

    ui::Win32PeerFactory peers;
    ui::Win32MessageLoop loop;
    ui::Win32TimerService timers;
    ui::TApplication application;
    ui::tray::Win32TrayPlatform platform;
    Win32PageSystem system;
    DialogRuntime runtime;
    Win32DialogWindowControl windows;
    ui::TForm form;
    PoolTray* tray = nullptr;
    TrayServingHost served;
    engine::SetupScript m_served;
};

TEST_F(TrayStatementsOnScreen, IntoTheTrayAndBackByAClick)
{
    RunServed({"Set Variable|TITLE|Wipestation", "Own Window", "System Tray|TRUE|||"});
    EXPECT_TRUE(served.errors.empty());
    EXPECT_FALSE(::IsWindowVisible(Window()));
    EXPECT_TRUE(runtime.minimizedToTray);
    ASSERT_TRUE(tray->Tray().Visible());
    EXPECT_EQ(tray->Tray().Data().tip, "Wipestation");

    const auto icon = reinterpret_cast<HWND>(tray->Tray().Data().window);
    ::PostMessageA(icon, ui::tray::kTrayCallbackMessage, 0, WM_LBUTTONDOWN);
    ::PostMessageA(icon, ui::tray::kTrayCallbackMessage, 0, WM_LBUTTONUP);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(Window()));
    EXPECT_FALSE(runtime.minimizedToTray);

    RunServed({"MessageBalloon|Setup|Copied|1|12"});
    EXPECT_TRUE(served.errors.empty());
    EXPECT_TRUE(tray->Tray().Data().flags & ui::tray::kNifInfo);
    EXPECT_EQ(tray->Tray().Data().infoFlags, ui::tray::kNiifWarning);
    EXPECT_EQ(tray->Tray().Data().timeout, 12000u);

    ::ShowWindow(Window(), SW_HIDE);
    RunServed({"Own Window", "System Tray||||TRUE"});
    EXPECT_FALSE(tray->Tray().Visible());
    EXPECT_TRUE(::IsWindowVisible(Window()));
}

}  // namespace
}  // namespace setup::wizard::testing
