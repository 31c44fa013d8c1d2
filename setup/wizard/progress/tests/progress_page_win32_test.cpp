// Under Xvfb: a progress page of real windows redrawn by its poll cycle while a worker thread
// publishes, the progress control's own range and position, and the marquee style.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

#include "setup/forms/component_reader.h"
#include "setup/forms/text_form.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/window_peer_win32.h"
#include "setup/wizard/progress/tests/progress_fixture.h"

namespace setup::wizard::testing {
namespace {

class ProgressPageWindowsTest : public ::testing::Test
{
protected:
    ProgressPageWindowsTest() : app(loop, &factory, &timers), page(run.runtime)
    {
        loop.SetApplication(&app);
        app.AddForm(page.form);
        std::ifstream in(std::string(PROGRESS_TEST_DATA) + "/progress_page.txt");
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        forms::ClassRegistry registry;
        ui::RegisterPageClasses(registry);
        forms::ComponentReader reader(registry);
        reader.OnError = [](const std::string&) { return true; };
        reader.ReadRootComponent(forms::ReadTextForm(text), page.form);
        run.pages.pages["4"] = &page;
        run.pages.active = "4";
        page.form.Show();
        app.ProcessMessages();
    }
    ~ProgressPageWindowsTest() override { app.RemoveForm(page.form); }

    template <class T>
    T& Find(const char* name)
    {
        return dynamic_cast<T&>(*page.form.FindComponent(name));
    }
    HWND BarWindow() { return ui::WindowOf(Find<ui::TProgressBar>("ProgressBar1")); }

    ui::Win32PeerFactory factory;
    ui::Win32MessageLoop loop;
    ui::Win32TimerService timers;
    ui::TApplication app;
    ProgressRun run;
    FakeProgressPage page;
};

TEST_F(ProgressPageWindowsTest, TheBarWindowShowsScaledProgress)
{
    run.runtime.UpdateProgressDialog("Copying files", false, 1500000000, 3000000000, 0);
    app.ProcessMessages();
    EXPECT_EQ(::SendMessageA(BarWindow(), PBM_GETRANGE, FALSE, 0), 2929687);
    EXPECT_EQ(::SendMessageA(BarWindow(), PBM_GETPOS, 0, 0), 1464843);
    char text[64] = {};
    ::GetWindowTextA(ui::WindowOf(Find<ui::TStaticText>("StaticText1")), text, sizeof text);
    EXPECT_STREQ(text, "Copying files");
}

TEST_F(ProgressPageWindowsTest, MarqueeStyleFollowsTheMode)
{
    run.variables.Set("PROGRESSMODE", "MARQUEE", "test");
    run.runtime.UpdateProgressDialog("", false, 0, 100, 0);
    app.ProcessMessages();
    EXPECT_NE(::GetWindowLongPtrA(BarWindow(), GWL_STYLE) & PBS_MARQUEE, 0);
    run.variables.Set("PROGRESSMODE", "", "test");
    run.runtime.UpdateProgressDialog("", false, 30, 100, 0);
    app.ProcessMessages();
    EXPECT_EQ(::GetWindowLongPtrA(BarWindow(), GWL_STYLE) & PBS_MARQUEE, 0);
    EXPECT_EQ(::SendMessageA(BarWindow(), PBM_GETPOS, 0, 0), 30);
}

// The page's own timer drives the cycle while a worker thread publishes.
TEST_F(ProgressPageWindowsTest, ThePollTimerRedrawsWhileAWorkerPublishes)
{
    auto& gauge = Find<ui::TGauge>("Gauge1");
    page.timer->SetInterval(20);
    run.flags.busy = true;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int step = 0; step <= 100; ++step) {
            run.runtime.SetThreadProgress("Step " + std::to_string(step), step, 100, 0);
            ::Sleep(2);
        }
        done = true;
    });
    const DWORD start = ::GetTickCount();
    while (!done && ::GetTickCount() - start < 10000)
        app.HandleMessage();
    worker.join();
    run.variables.Set("DOWNLOADED", "75", "test");
    const int ticks = page.ticks;
    while (page.ticks < ticks + 2 && ::GetTickCount() - start < 10000)
        app.HandleMessage();
    EXPECT_EQ(::SendMessageA(BarWindow(), PBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(gauge.Progress(), 75);
    EXPECT_EQ(run.variables.Store().GetValue("TARQ_thCancelled"), "FALSE");
}

}  // namespace
}  // namespace setup::wizard::testing
