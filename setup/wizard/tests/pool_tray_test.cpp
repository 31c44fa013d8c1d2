// The pool's notification-area icons over a recording shell: what the statements put on them,
// and bringing the setup back from the tray with the page asked for meanwhile.
#include <gtest/gtest.h>

#include "setup/ui/tests/tray_fakes.h"
#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/pool_template.h"
#include "setup/wizard/pool_tray.h"
#include "setup/wizard/tests/wizard_fixture.h"

namespace setup::wizard::testing {
namespace {

using ui::testing::RecordingTrayPlatform;
using Events = std::vector<std::string>;

class RecordingWindowControl final : public IDialogWindowControl
{
public:
    void Hide(std::uintptr_t window) override { events.push_back("hide " + Name(window)); }
    void ShowOnTop(std::uintptr_t window) override { events.push_back("show " + Name(window)); }
    void Restore(std::uintptr_t window) override { events.push_back("restore " + Name(window)); }
    void SetForeground(std::uintptr_t window) override
    {
        events.push_back("foreground " + Name(window));
    }
    std::string Name(std::uintptr_t window) const
    {
        return window == pageWindow ? "page" : std::to_string(window);
    }
    std::uintptr_t pageWindow = 0;
    Events events;
};

class PoolTrayTest : public ::testing::Test
{
protected:
    PoolTrayTest() { run.application.AddForm(owner); }

    WizardRun run;
    RecordingTrayPlatform shell;
    RecordingWindowControl windows;
    ui::TForm owner;
    PoolTray* tray = new PoolTray(&owner, run.runtime, windows, &shell);
};

TEST_F(PoolTrayTest, RestoringShowsThePageAskedForWhileInTheTray)
{
    struct Case
    {
        const char* name;
        bool inTray;
        bool deferredPage;
        std::uintptr_t foreground;
        bool restore;
        Events events;
    };
    const Case cases[] = {
        {"in the tray", true, false, 55, false, {"show 55", "restore 55", "foreground 55"}},
        {"a page waits", true, true, 55, false, {"show page", "restore page", "foreground page"}},
        {"not in the tray", false, false, 55, false, {"show 55", "foreground 55"}},
        {"statement, not in the tray", false, false, 55, true,
         {"show 55", "restore 55", "foreground 55"}},
        {"no window", true, false, 0, true, {"foreground 0"}},
        // A page left waiting while the setup was not in the tray is not the restore's business.
        {"page waits, not in the tray", false, true, 55, false, {"show 55", "foreground 55"}},
    };
    TPoolTemplate& page = LoadDialog(
        run.runtime, "0", WritePageFile(run.folder, "Waiting", "object Waiting: TPoolTemplate\nend\n", {}));
    page.HandleNeeded();
    windows.pageWindow = page.Peer()->Handle();
    for (const Case& c : cases) {
        page.Hide();
        windows.events.clear();
        run.runtime.minimizedToTray = c.inTray;
        run.runtime.deferredDialog = c.deferredPage ? &page : nullptr;
        run.engine.ForegroundDialogWindow = c.foreground;
        RestoreFromTray(run.runtime, windows, c.restore);
        EXPECT_EQ(windows.events, c.events) << c.name;
        EXPECT_FALSE(run.runtime.minimizedToTray) << c.name;
        if (c.deferredPage && c.inTray) {
            EXPECT_TRUE(page.Visible()) << c.name;
            EXPECT_EQ(run.runtime.deferredDialog, nullptr);
            EXPECT_EQ(run.engine.ForegroundDialogWindow, windows.pageWindow);
        }
    }
}

TEST_F(PoolTrayTest, AClickOnTheIconBringsTheSetupBack)
{
    tray->Minimize(77);
    EXPECT_TRUE(run.runtime.minimizedToTray);
    run.engine.ForegroundDialogWindow = 77;
    shell.Send(ui::tray::kTrayCallbackMessage, 0, ui::tray::kWmLButtonDown);
    shell.Send(ui::tray::kTrayCallbackMessage, 0, ui::tray::kWmLButtonUp);
    EXPECT_EQ(windows.events, (Events{"hide 77", "show 77", "restore 77", "foreground 77"}));
    windows.events.clear();
    shell.Send(ui::tray::kTrayCallbackMessage, 0, ui::tray::kWmLButtonDblClk);
    EXPECT_EQ(windows.events, (Events{"show 77", "foreground 77"}));
}

TEST_F(PoolTrayTest, StatementsShowTheIconOnceAndTheirBalloons)
{
    tray->SetTrayIcon(true, "Product");
    engine::TrayBalloon balloon;
    balloon.title = "Setup";
    balloon.text = "Copying";
    balloon.kind = 2;
    balloon.timeoutMs = 12000;
    balloon.hint = "Product";
    tray->ShowBalloon(balloon);
    balloon.kind = 0;  // keeps the kind before
    tray->ShowBalloon(balloon);

    int adds = 0;
    for (const auto& call : shell.calls)
        adds += call.message == ui::tray::nimAdd;
    EXPECT_EQ(adds, 1);
    const ui::tray::NotifyIconData& last = shell.calls.back().data;
    EXPECT_EQ(last.tip, "Product");
    EXPECT_EQ(last.info, "Copying");
    EXPECT_EQ(last.infoTitle, "Setup");
    EXPECT_EQ(last.infoFlags, ui::tray::kNiifWarning);
    EXPECT_EQ(last.timeout, 12000u);
    EXPECT_TRUE(last.flags & ui::tray::kNifInfo);
    EXPECT_TRUE(shell.windows.opened.empty());

    // Without balloons in the shell the custom icon shows its own.
    shell.version = {false, 4, 10};
    balloon.kind = 3;
    tray->ShowBalloon(balloon);
    ASSERT_EQ(shell.windows.opened.size(), 1u);
    EXPECT_EQ(shell.windows.opened[0].request.flags, ui::tray::niifError);
    EXPECT_EQ(shell.windows.opened[0].request.timeoutSeconds, 12);
    EXPECT_EQ(shell.windows.opened[0].request.text, "Copying");

    tray->SetTrayIcon(false, "Product");
    EXPECT_EQ(shell.calls.back().message, ui::tray::nimDelete);
    shell.refuse = true;
    EXPECT_THROW(tray->SetTrayIcon(true, "Product"), ui::tray::EOutOfResources);
}

}  // namespace
}  // namespace setup::wizard::testing
