#include <gtest/gtest.h>

#include "setup/ui/std_controls.h"
#include "setup/wizard/progress/tests/progress_fixture.h"

namespace setup::wizard::testing {
namespace {

class ProgressPageCycleTest : public ::testing::Test
{
protected:
    ProgressPageCycleTest() : page(run.runtime), text(page.Add<ui::TStaticText>("StaticText1", 1))
    {
        run.pages.pages["5"] = &page;
        run.pages.active = "5";
        run.variables.Store().SetValue("TARQ_thProgressText", "Installing");
    }

    std::string Value(const char* name) { return run.variables.Store().GetValue(name); }
    void Tick() { page.cycle.OnTimer(); }

    ProgressRun run;
    FakeProgressPage page;
    ui::TStaticText& text;
};

TEST_F(ProgressPageCycleTest, AFreshPageRefreshesOnlyWhileAWorkerRuns)
{
    EXPECT_TRUE(page.timer->Enabled());
    Tick();
    EXPECT_EQ(text.Caption(), "");
    EXPECT_TRUE(page.timer->Enabled());
    run.flags.busy = true;
    run.flags.cancelled = true;
    Tick();
    EXPECT_EQ(text.Caption(), "Installing");
    EXPECT_EQ(Value("TARQ_thCancelled"), "TRUE");
    EXPECT_TRUE(page.timer->Enabled());
    EXPECT_TRUE(run.installer.events.empty());
}

TEST_F(ProgressPageCycleTest, TheInstallThreadStartsOnTheNextTickAndEndsThePage)
{
    page.timer->SetEnabled(false);
    run.variables.Store().SetValue("TARQ_thFinished", "TRUE");  // left from an earlier install
    run.variables.Store().SetValue("TARQ_thCancelled", "TRUE");
    run.runtime.StartInstallThread(true);
    EXPECT_EQ(run.installer.progressWindow, 0x1234u);
    EXPECT_TRUE(page.timer->Enabled());
    EXPECT_TRUE(page.cycle.InstallMode());
    EXPECT_TRUE(run.installer.events.empty());

    Tick();
    EXPECT_EQ(run.installer.events, std::vector<std::string>{"start"});
    EXPECT_EQ(Value("TARQ_thFinished"), "FALSE");
    EXPECT_EQ(Value("TARQ_thCancelled"), "FALSE");
    EXPECT_EQ(text.Caption(), "");
    EXPECT_TRUE(page.timer->Enabled());

    Tick();
    EXPECT_EQ(text.Caption(), "Installing");
    EXPECT_EQ(page.resultCode, -1);

    run.variables.Store().SetValue("TARQ_thFinished", "TRUE");
    Tick();
    EXPECT_EQ(page.resultCode, 1);
    EXPECT_EQ(run.installer.events.size(), 1u);

    run.runtime.StartInstallThread(false);
    Tick();
    EXPECT_FALSE(page.timer->Enabled());
    EXPECT_FALSE(page.cycle.PollingStopped());
}

TEST_F(ProgressPageCycleTest, ACancelReachesTheInstallThroughTheVariables)
{
    for (const bool cancelled : {false, true}) {
        run.runtime.StartInstallThread(true);
        Tick();
        run.flags.cancelled = cancelled;
        Tick();
        EXPECT_EQ(Value("TARQ_thCancelled"), cancelled ? "TRUE" : "FALSE");
        run.flags.cancelled = false;
    }
}

TEST_F(ProgressPageCycleTest, AMinimizedPageIsNotRedrawnButStillEnds)
{
    run.runtime.StartInstallThread(true);
    Tick();
    page.form.SetWindowState(ui::TWindowState::wsMinimized);
    run.flags.cancelled = true;
    run.variables.Store().SetValue("TARQ_thFinished", "TRUE");
    Tick();
    EXPECT_EQ(text.Caption(), "");
    EXPECT_EQ(Value("TARQ_thCancelled"), "FALSE");
    EXPECT_EQ(page.resultCode, 1);
}

TEST_F(ProgressPageCycleTest, SilentRunsStartAndWaitWithoutThePage)
{
    run.variables.SilentMode = true;
    run.runtime.StartInstallThread(true);
    run.runtime.StartInstallThread(false);
    EXPECT_EQ(run.installer.events, std::vector<std::string>{"run to end"});
    EXPECT_FALSE(page.cycle.InstallMode());
    EXPECT_EQ(run.installer.progressWindow, 0u);
}

TEST_F(ProgressPageCycleTest, WithoutAPageOnScreenNothingStarts)
{
    run.pages.active = "9";
    run.runtime.StartInstallThread(true);
    EXPECT_FALSE(page.cycle.InstallMode());
    EXPECT_EQ(run.installer.progressWindow, 0u);
}

}  // namespace
}  // namespace setup::wizard::testing
