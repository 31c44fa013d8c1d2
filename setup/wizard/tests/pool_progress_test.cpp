// The pool's pages driving the run's progress display: their poll timers run its cycle, a page
// shown with the installer to start starts the thread and returns once it has finished, the
// installer bridge finds the page on screen, and a silent run runs the thread to its end.
#include <gtest/gtest.h>

#include "setup/engine/interpreter/interpreter_steps.h"
#include "setup/engine/workers/worker_protocol.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/std_controls.h"
#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/page_binding.h"
#include "setup/wizard/pool_template.h"
#include "setup/wizard/progress/page_installer_dialogs.h"
#include "setup/wizard/progress/progress_runtime.h"
#include "setup/wizard/progress/tests/progress_fixture.h"
#include "setup/wizard/tests/wizard_fixture.h"

namespace setup::wizard::testing {
namespace {

constexpr const char* kProgressPage = R"(object ProgressPage: TPoolTemplate
  Caption = 'Installing'
  object Status: TStaticText
    Tag = 1
    Caption = 'waiting'
  end
  object Bar: TProgressBar
    Tag = 1
  end
  object CancelButton: TButton
    Tag = 3
    Caption = 'Cancel'
  end
end
)";

class PoolProgressTest : public ::testing::Test
{
protected:
    PoolProgressTest()
        : progress(ProgressEnvironment{run.engine.Variables,
                                       run.engine.Parts.Get<engine::WorkerFlags>(), run.runtime,
                                       installer, true})
    {
        engine::StoreThreadProgressDefaults(run.engine.Variables);
        AttachProgress(run.runtime, &progress);
        page =
            &LoadDialog(run.runtime, "4", WritePageFile(run.folder, "Progress", kProgressPage, {}));
        PrepareDialog(run.runtime, "4");
    }
    ~PoolProgressTest() override { AttachProgress(run.runtime, nullptr); }

    void Tick() { page->timer1->GetOnTimer()(page); }
    void Publish(const char* text, std::int64_t position)
    {
        progress.SetThreadProgress(text, position, 200, 0);
    }
    std::string Status()
    {
        return dynamic_cast<ui::TStaticText&>(*page->FindComponent("Status")).Caption();
    }
    int BarPosition()
    {
        return dynamic_cast<ui::TProgressBar&>(*page->FindComponent("Bar")).Position();
    }
    std::string Value(const char* name) { return run.engine.Variables.Store().GetValue(name); }

    WizardRun run;
    FakeInstallThread installer;
    ProgressRuntime progress;
    TPoolTemplate* page = nullptr;
};

TEST_F(PoolProgressTest, AModalPageStartsTheInstallerFollowsItAndReturnsWhenItHasFinished)
{
    run.system.answerYes = true;
    auto& steps = run.loop.steps;
    steps.push_back([&] {
        Tick();
        EXPECT_EQ(installer.events, std::vector<std::string>{"start"});
    });
    steps.push_back([&] {
        Publish("Copying", 50);
        Tick();
        EXPECT_EQ(Status(), "Copying");
        EXPECT_EQ(BarPosition(), 50);
    });
    // A cancel confirmed while the thread runs does not end the page: the thread rolls back.
    steps.push_back([&] {
        dynamic_cast<ui::TButton&>(*page->FindComponent("CancelButton")).Click();
        EXPECT_EQ(page->resultCode, -1);
        Tick();
        EXPECT_EQ(Value("TARQ_thCancelled"), "TRUE");
    });
    steps.push_back([&] {
        run.engine.Variables.Store().SetValue("TARQ_thFinished", "TRUE");
        Tick();
    });
    EXPECT_EQ(ShowDialog(run.runtime, "4", true, true).result, 1);
    EXPECT_EQ(installer.events, std::vector<std::string>{"start"});
    EXPECT_TRUE(page->Cycle().InstallMode());
}

TEST_F(PoolProgressTest, TheInstallerBridgeDrivesANonModalPage)
{
    PageInstallerDialogs dialogs(progress);
    EXPECT_FALSE(dialogs.HasActivePage());
    const ShownDialog shown = ShowDialog(run.runtime, "4", false, false);
    ASSERT_TRUE(dialogs.HasActivePage());
    EXPECT_EQ(dialogs.FindDialogWindow(dialogs.GetActiveDialogName()), shown.window);

    // A worker the bridge waits for: the page redraws on its ticks.
    Publish("Registering", 150);
    Tick();
    EXPECT_EQ(Status(), "");
    dialogs.SetWorkerBusy(true);
    Tick();
    EXPECT_EQ(Status(), "Registering");
    EXPECT_EQ(BarPosition(), 150);
    dialogs.SetWorkerBusy(false);

    // The install thread handed to the page starts on its next tick; stopping ends the polling.
    dialogs.StartInstallThread(true);
    EXPECT_EQ(installer.progressWindow, shown.window);
    Tick();
    EXPECT_EQ(installer.events, std::vector<std::string>{"start"});
    dialogs.StartInstallThread(false);
    Tick();
    EXPECT_FALSE(page->timer1->Enabled());

    // A new progress display starts the pages' cycles afresh.
    AttachProgress(run.runtime, &progress);
    EXPECT_FALSE(page->Cycle().InstallerStarted());
}

TEST_F(PoolProgressTest, ASilentRunRunsTheInstallerToItsEndWithoutAWindow)
{
    run.engine.Variables.SilentMode = true;
    EXPECT_EQ(ShowDialog(run.runtime, "4", true, true).result, 6);
    EXPECT_EQ(installer.events, std::vector<std::string>{"run to end"});
    EXPECT_TRUE(run.peers.created.empty());
}

TEST(PoolWithoutProgress, PagesOnlyPollAndACancelEndsThePage)
{
    WizardRun run;
    TPoolTemplate& page =
        LoadDialog(run.runtime, "0", WritePageFile(run.folder, "Progress", kProgressPage, {}));
    PrepareDialog(run.runtime, "0");
    run.loop.steps.push_back([&page] {
        page.timer1->GetOnTimer()(&page);
        dynamic_cast<ui::TButton&>(*page.FindComponent("CancelButton")).Click();
    });
    EXPECT_EQ(ShowDialog(run.runtime, "0", true, false).result, 2);
    EXPECT_THROW(page.Cycle(), std::exception);
}

}  // namespace
}  // namespace setup::wizard::testing
