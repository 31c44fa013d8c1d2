// The wizard on screen (Xvfb): pages shown by the pool with real windows and driven by posted
// clicks and keys, the cancel question answered both ways in its real message box, a licence
// whose Next enables only once it was scrolled to the end, closing refused; the media retry forms
// with their texts, first choices and timers, over the page on screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "setup/ui/application.h"
#include "setup/ui/capture_win32.h"
#include "setup/ui/html_pane.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/window_peer_win32.h"
#include "core/unique_handle.h"
#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/image_list_pool.h"
#include "setup/wizard/language_form.h"
#include "setup/wizard/media_retry_forms.h"
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

// The page binding chooses the pane's document (the support folder's index page); on screen the
// page shows it in the pane's region, and its refresh moves on to the next document.
TEST_F(WizardOnScreen, AnHtmlPageShowsTheDocumentTheBindingChose)
{
    std::ofstream(run.folder / "index.htm")
        << "<title>Index</title><meta http-equiv=refresh content=\"1;url=next.htm\">"
           "<body bgcolor=#00ff00><p><font color=#ff0000 size=7>MMMMMMMM</font></p>";
    std::ofstream(run.folder / "next.htm") << "<title>Next document</title><body bgcolor=#0000ff>";
    const std::string pane =
        "  object Viewer: THtmlPane\n    Tag = 1\n    Left = 10\n    Top = 10\n"
        "    Width = 380\n    Height = 140\n    BorderStyle = htNone\n  end\n";
    TPoolTemplate& page =
        LoadDialog(runtime, "0", WritePageFile(run.folder, "Html", WizardPage("Html", false, pane), {}));
    auto& viewer = dynamic_cast<ui::THtmlPane&>(*page.FindComponent("Viewer"));
    After(300, [&] {
        ::RedrawWindow(ui::WindowOf(page), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const htmlview::PixelImage shot = ui::CaptureForm(page);
        // The picture is of the whole window: client points move by the frame and caption.
        RECT frame{};
        ::GetWindowRect(ui::WindowOf(page), &frame);
        POINT client{0, 0};
        ::ClientToScreen(ui::WindowOf(page), &client);
        const int dx = client.x - frame.left, dy = client.y - frame.top;
        EXPECT_EQ(shot.ColorAt(dx + 300, dy + 120), (htmlview::Rgb{0, 255, 0}));
        EXPECT_NE(shot.ColorAt(dx + 300, dy + 170), (htmlview::Rgb{0, 255, 0}));
        int red = 0;
        for (int y = dy + 10; y < dy + 80; ++y)
            for (int x = dx + 10; x < dx + 390; ++x)
                red += shot.ColorAt(x, y) == htmlview::Rgb{255, 0, 0};
        EXPECT_GT(red, 100);
        EXPECT_TRUE(page.metaTimer->Enabled());
    });
    After(2000, [&] {
        EXPECT_EQ(viewer.GetDocumentTitle(), "Next document");
        EXPECT_EQ(page.Caption(), "Next document");
        ::PostMessageA(Window(page, "NextButton"), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(Show("0"), 6);
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

std::string WindowText(HWND window)
{
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// The first child window of `parent` (at any depth) with the class and text, or null.
HWND FindChild(HWND parent, const std::string& className, const std::string& text = "")
{
    struct Search
    {
        std::string className, text;
        HWND found = nullptr;
    } search{className, text};
    ::EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            char name[64] = {};
            ::GetClassNameA(window, name, sizeof name);
            if (_stricmp(name, s.className.c_str()) != 0 ||
                (!s.text.empty() && WindowText(window) != s.text))
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(WizardOnScreen, RetryFormsShowTheirTextsAndFirstChoices)
{
    const engine::SetupMessages& messages = *engine.Messages;
    {
        TqbrExtract form(application, messages);
        After(100, [&] {
            EXPECT_EQ(WindowText(ui::WindowOf(form)), "Retry Extraction?");
            EXPECT_EQ(form.question->Caption(),
                      "Extraction of installation data downloaded from the web has failed. What "
                      "would you like to do?");
            EXPECT_EQ(form.note->Caption(),
                      "If you choose Cancel, setup will exit. Your existing "
                      "download data will be preserved.");
            EXPECT_EQ(form.download->Caption(), "&Download a fresh copy of the installation data.");
            EXPECT_EQ(form.extract->Caption(), "Try to &extract the existing download data again.");
            EXPECT_TRUE(form.download->Checked());
            EXPECT_FALSE(form.extract->Checked());
            EXPECT_EQ(WindowText(ui::WindowOf(*form.ok)), "&OK");
            EXPECT_EQ(WindowText(ui::WindowOf(*form.cancel)), "&Cancel");
            EXPECT_TRUE(form.ok->Default());
            EXPECT_EQ(form.Color(), ui::clWhite);
            EXPECT_EQ(form.Font()->Name(), "Tahoma");
            EXPECT_TRUE(form.timer->Enabled());
            EXPECT_EQ(form.timer->Interval(), 60000u);
            ::PostMessageA(ui::WindowOf(*form.cancel), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(form.ShowModal(), ui::mrCancel);
        EXPECT_FALSE(form.timer->Enabled());
    }
    {
        TqbrProxyEx form(application, messages);
        After(100, [&] {
            EXPECT_EQ(WindowText(ui::WindowOf(form)), "Retry Download?");
            EXPECT_EQ(form.question->Caption(),
                      "Downloading of installation data from the web has failed. Please make sure "
                      "you are connected to the Internet.");
            EXPECT_EQ(form.choose->Caption(), "Would you like to:");
            EXPECT_EQ(form.resume->Caption(), "Try to &resume the broken download?");
            EXPECT_EQ(form.newCopy->Caption(), "Download a &new copy of the data instead?");
            EXPECT_TRUE(form.resume->Checked());
            EXPECT_TRUE(form.timer->Enabled());
            ::PostMessageA(ui::WindowOf(*form.ok), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(form.ShowModal(), ui::mrOk);
        EXPECT_FALSE(form.answeredByTimer);
    }
    {
        TqbrProxy form(application, messages);
        After(100, [&] {
            EXPECT_EQ(WindowText(ui::WindowOf(form)), "Retry Download?");
            EXPECT_EQ(WindowText(ui::WindowOf(*form.group)), " Proxy Information (optional) ");
            EXPECT_EQ(form.serverLabel->Caption(), "Proxy &Server:");
            EXPECT_EQ(form.passwordLabel->Caption(), "Proxy Pass&word:");
            EXPECT_EQ(WindowText(ui::WindowOf(*form.yes)), "&Yes");
            EXPECT_TRUE(form.yes->Default());
            EXPECT_TRUE(form.no->cancel);
            ::PostMessageA(ui::WindowOf(*form.no), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(form.ShowModal(), ui::mrNo);
        // This one waits for its answer.
        for (std::size_t i = 0; i < form.ComponentCount(); ++i)
            EXPECT_EQ(dynamic_cast<ui::TTimer*>(form.Component(i)), nullptr);
    }
}

TEST_F(WizardOnScreen, UnansweredRetryFormsAnswerThemselves)
{
    const engine::SetupMessages& messages = *engine.Messages;
    // The extraction question picks a fresh download, whatever was chosen.
    TqbrExtract extract(application, messages);
    extract.timer->SetInterval(200);
    After(50, [&] { extract.extract->SetChecked(true); });
    EXPECT_EQ(extract.ShowModal(), ui::mrOk);
    EXPECT_TRUE(extract.answeredByTimer);
    EXPECT_TRUE(extract.download->Checked());
    EXPECT_FALSE(extract.timer->Enabled());

    // The download question keeps the choice on screen.
    TqbrProxyEx download(application, messages);
    download.timer->SetInterval(200);
    After(50, [&] { download.newCopy->SetChecked(true); });
    EXPECT_EQ(download.ShowModal(), ui::mrOk);
    EXPECT_TRUE(download.answeredByTimer);
    EXPECT_FALSE(download.resume->Checked());
}

TEST_F(WizardOnScreen, RetryQuestionsAreOwnedByThePageAndAnswerTheDriver)
{
    TPoolTemplate& page = LoadDialog(
        runtime, "0", WritePageFile(run.folder, "Busy", WizardPage("Busy", false, ""), {}));
    PrepareDialog(runtime, "0");
    runtime.activeDialog = &page;
    page.Show();
    PageMediaPrompts prompts(runtime);

    // The proxy form starts from the settings and hands back what was typed.
    engine::ProxySettings proxy{"old.example", "3128", "", ""};
    HWND owner = nullptr;
    After(150, [&] {
        HWND form = ::FindWindowA(nullptr, "Retry Download?");
        ASSERT_NE(form, nullptr);
        owner = ::GetWindow(form, GW_OWNER);
        HWND server = FindChild(form, "Edit", "old.example");
        ASSERT_NE(server, nullptr);
        ::SendMessageA(server, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("127.0.0.1"));
        ::PostMessageA(FindChild(form, "Button", "&Yes"), BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(prompts.AskProxy(proxy));
    EXPECT_EQ(owner, ui::WindowOf(page));
    EXPECT_EQ(proxy.server, "127.0.0.1");
    EXPECT_EQ(proxy.port, "3128");

    // The window's close box answers Cancel; the extraction question's Extract choice goes back.
    After(150, [&] { ::PostMessageA(::FindWindowA(nullptr, "Retry Download?"), WM_CLOSE, 0, 0); });
    EXPECT_FALSE(prompts.AskDownloadRetry().retry);
    After(150, [&] {
        HWND form = ::FindWindowA(nullptr, "Retry Extraction?");
        ASSERT_NE(form, nullptr);
        ::PostMessageA(FindChild(form, "Button", "&OK"), BM_CLICK, 0, 0);
    });
    const engine::ExtractAnswer answer = prompts.AskExtractRetry();
    EXPECT_EQ(answer.choice, engine::ExtractRetry::Download);
    EXPECT_FALSE(answer.byTimer);
    page.Hide();
    runtime.activeDialog = nullptr;
}

}  // namespace
}  // namespace setup::wizard::testing
