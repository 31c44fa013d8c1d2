// The wizard on screen (Xvfb): pages shown by the pool with real windows and driven by posted
// clicks and keys, the cancel question answered both ways in its real message box, a licence
// whose Next enables only once it was scrolled to the end, closing refused.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "setup/ui/application.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/window_peer_win32.h"
#include "core/unique_handle.h"
#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/image_list_pool.h"
#include "setup/wizard/language_form.h"
#include "setup/wizard/page_binding.h"
#include "setup/wizard/page_system_win32.h"
#include "setup/wizard/pool_template.h"
#include "setup/wizard/tests/wizard_fixture.h"

namespace setup::wizard::testing {
namespace {

std::string WizardPage(const std::string& name, bool disabledNext, const std::string& extra)
{
    std::ostringstream text;
    text << "object " << name << ": TPoolTemplate\n  Caption = '" << name
         << "'\n  ClientHeight = 200\n  ClientWidth = 400\n"
         << extra << "  object BackButton: TButton\n    Tag = 2\n    Left = 150\n    Top = 160\n"
         << "    Width = 75\n    Height = 25\n    Caption = '< &Back'\n  end\n"
         << "  object NextButton: TButton\n    Tag = 1\n    Left = 230\n    Top = 160\n"
         << "    Width = 75\n    Height = 25\n    Caption = '&Next >'\n"
         << (disabledNext ? "    Enabled = False\n" : "") << "  end\n"
         << "  object CancelButton: TButton\n    Tag = 3\n    Left = 310\n    Top = 160\n"
         << "    Width = 75\n    Height = 25\n    Caption = 'Cancel'\n  end\nend\n";
    return text.str();
}

// A support folder and a run whose pages have real windows.
class WizardOnScreen : public ::testing::Test
{
protected:
    WizardOnScreen() : application(loop, &peers, &timers), runtime(engine, application, system)
    {
        loop.SetApplication(&application);
        std::string support = run.folder.string() + "\\";
        InitDialogPool(runtime, support);
    }
    ~WizardOnScreen() override { FreeDialogPool(runtime); }

    HWND Window(TPoolTemplate& page, const char* control)
    {
        return ui::WindowOf(dynamic_cast<ui::TWinControl&>(*page.FindComponent(control)));
    }
    // Runs the action once, `delay` ms into the modal loop that follows.
    void After(unsigned delay, std::function<void()> action)
    {
        auto shared = std::make_shared<std::uintptr_t>(0);
        *shared = timers.StartTimer(delay, [this, shared, action] {
            timers.StopTimer(*shared);
            action();
        });
    }
    int Show(const std::string& key)
    {
        PrepareDialog(runtime, key);
        const int result = ShowDialog(runtime, key, true, false).result;
        ReleaseDialog(runtime, key);
        return result;
    }

    WizardRun run;  // only for its support folder
    engine::EngineState engine;
    Win32PageSystem system;
    ui::Win32PeerFactory peers;
    ui::Win32MessageLoop loop;
    ui::Win32TimerService timers;
    ui::TApplication application;
    DialogRuntime runtime;
};

TEST_F(WizardOnScreen, NextBackAndCancelByPostedClicks)
{
    TPoolTemplate& first =
        LoadDialog(runtime, "0", WritePageFile(run.folder, "First", WizardPage("First", false, ""), {}));
    TPoolTemplate& second = LoadDialog(
        runtime, "1", WritePageFile(run.folder, "Second", WizardPage("Second", false, ""), {}));

    After(100, [&] { ::PostMessageA(Window(first, "NextButton"), BM_CLICK, 0, 0); });
    EXPECT_EQ(Show("0"), 6);
    EXPECT_TRUE(::IsWindowVisible(ui::WindowOf(first)));
    const RECT firstPlace = [&] {
        RECT r{};
        ::GetWindowRect(ui::WindowOf(first), &r);
        return r;
    }();

    After(100, [&] { ::PostMessageA(Window(second, "BackButton"), BM_CLICK, 0, 0); });
    EXPECT_EQ(Show("1"), 7);
    // The second page took the first one's place and the first page went.
    RECT secondPlace{};
    ::GetWindowRect(ui::WindowOf(second), &secondPlace);
    EXPECT_EQ(secondPlace.left, firstPlace.left);
    EXPECT_EQ(secondPlace.top, firstPlace.top);
    EXPECT_FALSE(first.Visible());

    // Closing a shown page is refused; the cancel question answered No keeps it, Yes ends it.
    const auto answer = [&](int button) {
        HWND box = ::FindWindowA("#32770", nullptr);
        ASSERT_NE(box, nullptr);
        ::PostMessageA(::GetDlgItem(box, button), BM_CLICK, 0, 0);
    };
    After(100, [&] { ::PostMessageA(ui::WindowOf(second), WM_CLOSE, 0, 0); });
    After(300, [&] { ::PostMessageA(Window(second, "CancelButton"), BM_CLICK, 0, 0); });
    After(800, [&] { answer(IDNO); });
    After(1300, [&] {
        EXPECT_TRUE(::IsWindowVisible(ui::WindowOf(second)));
        EXPECT_EQ(second.resultCode, -1);
        EXPECT_FALSE(runtime.CancelFlag());
        ::PostMessageA(Window(second, "CancelButton"), BM_CLICK, 0, 0);
    });
    After(1800, [&] { answer(IDYES); });
    EXPECT_EQ(Show("1"), 2);
    EXPECT_TRUE(runtime.CancelFlag());
}

TEST_F(WizardOnScreen, LicenceNextEnablesOnlyAfterScrollingToTheEnd)
{
    {
        std::ofstream licence(run.folder / "license.txt", std::ios::binary);
        for (int i = 1; i <= 80; ++i)
            licence << "Term " << i << " of the licence.\r\n";
    }
    const std::string memo =
        "  object Licence: TMemo\n    Tag = 2\n    Left = 8\n    Top = 8\n    Width = 380\n"
        "    Height = 140\n    ScrollBars = ssVertical\n  end\n";
    TPoolTemplate& page = LoadDialog(
        runtime, "0",
        WritePageFile(run.folder, "Licence", WizardPage("Licence", true, memo),
                      {"IF (Licence.MaxLength = 2147483647)  THEN  NextButton.Enabled := True;"}));
    bool disabledAtFirst = false;
    After(200, [&] {
        disabledAtFirst = !::IsWindowEnabled(Window(page, "NextButton"));
        for (int i = 0; i < 40; ++i)
            ::PostMessageA(Window(page, "Licence"), WM_KEYDOWN, VK_NEXT, 0);
    });
    After(1500, [&] { ::PostMessageA(Window(page, "NextButton"), BM_CLICK, 0, 0); });
    EXPECT_EQ(Show("0"), 6);
    EXPECT_TRUE(disabledAtFirst);
    EXPECT_EQ(dynamic_cast<ui::TMemo&>(*page.FindComponent("Licence")).MaxLength(), 2147483647);
}

TEST_F(WizardOnScreen, SilentRunsShowNoWindow)
{
    TPoolTemplate& page =
        LoadDialog(runtime, "0", WritePageFile(run.folder, "Quiet", WizardPage("Quiet", false, ""), {}));
    engine.Variables.SilentMode = true;
    EXPECT_EQ(Show("0"), 6);
    EXPECT_FALSE(page.HandleAllocated());
}

TEST_F(WizardOnScreen, TheLanguageFormAnswersOkWithTheChoiceAndCancelWithTwo)
{
    engine.Messages->Set(89, "Setup-Sprache");
    engine.Messages->Set(38, "&Weiter");
    const std::vector<std::string> languages = {"English", "German", "French"};
    struct Case
    {
        const char* button;
        int result;
    };
    for (const Case& c : {Case{"&Weiter", 1}, Case{"&Cancel", 2}}) {
        SCOPED_TRACE(c.button);
        std::string combo;
        bool xpIcon = false;
        After(300, [&] {
            HWND form = ::FindWindowA(nullptr, "Setup-Sprache");
            ASSERT_NE(form, nullptr);
            HWND list = ::FindWindowExA(form, nullptr, "ComboBox", nullptr);
            char text[64] = {};
            ::GetWindowTextA(list, text, sizeof(text));
            combo = text;
            for (ui::TCustomForm* shown : application.Screen().Forms())
                if (auto* language = dynamic_cast<TSetLanguage*>(shown))
                    xpIcon = language->image1->Visible() && !language->image2->Visible();
            ::PostMessageA(::FindWindowExA(form, nullptr, "Button", c.button), BM_CLICK, 0, 0);
        });
        const engine::LanguageChoice choice =
            ShowLanguageForm(application, *engine.Messages, {5, 1}, languages, 1);
        EXPECT_EQ(choice.modalResult, c.result);
        EXPECT_EQ(choice.index, 1);
        EXPECT_EQ(combo, "German");
        EXPECT_TRUE(xpIcon);
    }
}

// Publishes through the variables' lock, then waits outside it for an event nobody sets.
struct StuckWorker
{
    engine::EngineState* engine;
    HANDLE never;
    static DWORD WINAPI Run(void* data)
    {
        auto& self = *static_cast<StuckWorker*>(data);
        self.engine->Variables.Set("PROGRESSTEXT", "stuck", "worker");
        ::WaitForSingleObject(self.never, INFINITE);
        return 1;
    }
};

TEST_F(WizardOnScreen, AWatchdogEndsAWorkerStuckInABlockingCallWithoutHangingThePages)
{
    core::UniqueEvent never(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    StuckWorker worker{&engine, never.Get()};
    core::UniqueThread thread(::CreateThread(nullptr, 0, &StuckWorker::Run, &worker, 0, nullptr));
    while (engine.Variables.Get("PROGRESSTEXT") != "stuck")
        ::Sleep(10);

    TImageListPool& pool = *runtime.imageListPool;
    pool.WatchdogTimer(WatchedWorker::Download).SetInterval(300);
    bool finished = false;
    pool.ArmWatchdog(WatchedWorker::Download, [&] {
        ::TerminateThread(thread.Get(), 0);
        finished = true;
    });
    const DWORD start = ::GetTickCount();
    while (!finished && ::GetTickCount() - start < 10000)
        application.HandleMessage();
    ASSERT_TRUE(finished);
    EXPECT_EQ(::WaitForSingleObject(thread.Get(), 5000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeThread(thread.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(pool.WatchdogTimer(WatchedWorker::Download).Enabled());
    // The GUI thread still gets the lock the worker used.
    engine.Variables.Set("PROGRESSTEXT", "cancelled", "test");
    EXPECT_EQ(engine.Variables.Get("PROGRESSTEXT"), "cancelled");
}

}  // namespace
}  // namespace setup::wizard::testing
