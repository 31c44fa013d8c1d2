#include <gtest/gtest.h>

#include "setup/ui/common_controls.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/std_controls.h"
#include "setup/wizard/progress/page_installer_dialogs.h"
#include "setup/wizard/progress/progress_values.h"
#include "setup/wizard/progress/tests/progress_fixture.h"

namespace setup::wizard::testing {
namespace {

class ProgressRuntimeTest : public ::testing::Test
{
protected:
    ProgressRuntimeTest() : page(run.runtime)
    {
        run.pages.pages["3"] = &page;
        run.pages.active = "3";
    }

    void Store(const std::string& name, const std::string& value)
    {
        run.variables.Store().SetValue(name, value);
    }

    ProgressRun run;
    FakeProgressPage page;
};

TEST(BarRange, LargeMaximaScaleDownBy1024)
{
    struct Case
    {
        std::int64_t position, max, min;
        BarRange expected;
    };
    const Case cases[] = {
        {50, 100, 0, {100, 0, 50}},
        {2147483647, 2147483647, 0, {2147483647, 0, 2147483647}},
        {1500000000, 3000000000, 0, {2929687, 0, 1464843}},
        {1024, 2147483648, 2048, {2097152, 2, 1}},
        // Below the limit the low 32 bits are taken as they are.
        {5, 10, -4294967296 + 3, {10, 3, 5}},
    };
    for (const Case& c : cases) {
        const BarRange range = FitBarRange(c.position, c.max, c.min);
        EXPECT_EQ(range.max, c.expected.max) << c.max;
        EXPECT_EQ(range.min, c.expected.min) << c.max;
        EXPECT_EQ(range.position, c.expected.position) << c.max;
    }
}

TEST_F(ProgressRuntimeTest, ThreadProgressBarFollowsTheStoredValuesAndClamps)
{
    struct Case
    {
        const char* position;
        const char* max;
        const char* min;
        std::int32_t barMax, barMin, barPosition;
    };
    const Case cases[] = {
        {"40", "100", "0", 100, 0, 40},
        {"101", "100", "0", 100, 0, 100},
        {"-1", "100", "0", 100, 0, 0},
        {"x", "100", "0", 100, 0, 100},     // not a number: full
        {"10", "lots", "0", 100, 0, 100},  // the range unreadable: full
        {"1500000000", "3000000000", "0", 2929687, 0, 1464843},
    };
    auto& bar = page.Add<ui::TProgressBar>("ProgressBar1", 1);
    for (const Case& c : cases) {
        bar.SetPosition(0);
        Store("TARQ_thProgress", c.position);
        Store("TARQ_thMax", c.max);
        Store("TARQ_thMin", c.min);
        run.runtime.UpdateProgressDialog("$TARQ$", false, 0, 0, 0);
        EXPECT_EQ(bar.Max(), c.barMax) << c.position;
        EXPECT_EQ(bar.Min(), c.barMin) << c.position;
        EXPECT_EQ(bar.Position(), c.barPosition) << c.position;
    }
}

TEST_F(ProgressRuntimeTest, GivenNumbersAreDrawnWithoutTheVariables)
{
    auto& bar = page.Add<ui::TProgressBar>("ProgressBar1", 1);
    auto& text = page.Add<ui::TStaticText>("StaticText1", 1);
    run.runtime.UpdateProgressDialog("Copying", false, 7, 20, 0);
    EXPECT_EQ(bar.Max(), 20);
    EXPECT_EQ(bar.Position(), 7);
    EXPECT_EQ(text.Caption(), "Copying");
    EXPECT_EQ(run.variables.Store().GetValue("TARQ_thProgress"), "0");
}

TEST_F(ProgressRuntimeTest, PercentElementsReadTheVariableTheirHintNames)
{
    struct Case
    {
        const char* value;  // nullptr: the variable does not exist
        std::int32_t position;
    };
    const Case cases[] = {{"40", 40}, {"101", 100}, {"-1", 0}, {"x", 100}, {nullptr, 100}};
    auto& bar = page.Add<ui::TProgressBar>("ProgressBar2", 100);
    auto& gauge = page.Add<ui::TGauge>("Gauge2", 100);
    bar.SetHint("DONE");
    gauge.SetHint("DONE");
    bar.SetMax(500);
    gauge.SetMinValue(-10);
    for (const Case& c : cases) {
        bar.SetPosition(0);
        gauge.SetProgress(0);
        if (c.value)
            run.variables.Set("DONE", c.value, "test");
        else
            run.variables.Clear();
        run.runtime.UpdateProgressDialog("", false, 0, 100, 0);
        EXPECT_EQ(bar.Max(), 100);
        EXPECT_EQ(gauge.MinValue(), 0);
        EXPECT_EQ(bar.Position(), c.position) << (c.value ? c.value : "missing");
        EXPECT_EQ(gauge.Progress(), c.position) << (c.value ? c.value : "missing");
    }
}

TEST_F(ProgressRuntimeTest, GaugeTakesTheLow32BitsUnscaled)
{
    auto& gauge = page.Add<ui::TGauge>("Gauge1", 1);
    run.runtime.UpdateProgressDialog("", false, 4294967296 + 30, 4294967296 + 60, 0);
    EXPECT_EQ(gauge.MaxValue(), 60);
    EXPECT_EQ(gauge.Progress(), 30);
    Store("TARQ_thProgress", "half");
    run.runtime.UpdateProgressDialog("$TARQ$", false, 0, 0, 0);
    EXPECT_EQ(gauge.Progress(), gauge.MaxValue());
}

TEST_F(ProgressRuntimeTest, CaptionsFollowTheVariablesAndHandlersComeBack)
{
    page.Add<ui::TLabel>("Label1");
    page.Add<ui::TStaticText>("StaticText2", 2);
    page.Add<ui::TButton>("Button1");
    page.Add<ui::TBitBtn>("BitBtn1");
    page.Add<ui::TLabel>("cmpFormDesigner");
    run.runtime.UpdateProgressDialog("", false, 0, 100, 0);
    const std::vector<std::string> expected = {
        "Label1 Label1Click",  "caption Label1",      "caption StaticText2",
        "Button1 Button1Click", "caption Button1",    "BitBtn1 Button1Click",
        "caption BitBtn1",      "rules"};
    EXPECT_EQ(page.events, expected);
}

TEST_F(ProgressRuntimeTest, MarqueeIsSetOnceAndRemovedWhenTheModeChangesBack)
{
    auto& bar = page.Add<ui::TProgressBar>("ProgressBar1", 1);
    run.variables.Set("PROGRESSMODE", "MARQUEE", "test");
    run.runtime.UpdateProgressDialog("", false, 5, 100, 0);
    EXPECT_EQ(bar.Style(), ui::pbstMarquee);
    EXPECT_EQ(bar.marqueeInterval, 100);
    EXPECT_EQ(bar.Position(), 0);  // the numbers wait for the normal mode
    run.variables.Set("PROGRESSMODE", "marquee", "test");  // compared with case
    run.runtime.UpdateProgressDialog("", false, 5, 100, 0);
    EXPECT_EQ(bar.Style(), ui::pbstNormal);
    EXPECT_EQ(bar.Position(), 5);
}

TEST(ProgressRuntimeBeforeXP, MarqueeMovesOneStepEveryTenthRefreshAndWraps)
{
    ProgressRun run;
    ProgressRuntime runtime(ProgressEnvironment{run.variables, run.flags, run.pages,
                                                run.installer, false});
    FakeProgressPage page(runtime);
    run.pages.pages["1"] = &page;
    run.pages.active = "1";
    auto& bar = page.Add<ui::TProgressBar>("ProgressBar1", 1);
    bar.SetMax(1);
    run.variables.Set("PROGRESSMODE", "MARQUEE", "test");
    std::vector<std::int32_t> positions;
    for (int i = 0; i < 30; ++i) {
        runtime.UpdateProgressDialog("", false, 0, 0, 0);
        if (i % 10 == 9)
            positions.push_back(bar.Position());
    }
    EXPECT_EQ(positions, (std::vector<std::int32_t>{1, 0, 1}));
    EXPECT_EQ(bar.Style(), ui::pbstNormal);
}

TEST_F(ProgressRuntimeTest, CancelIsRecordedAndReturnedAsItWasOnEntry)
{
    struct Case
    {
        bool cancelled, writeCancelled, silent;
        const char* recorded;
    };
    const Case cases[] = {
        {true, true, false, "TRUE"},  {false, true, false, "FALSE"}, {true, false, false, "x"},
        {true, true, true, "TRUE"},
    };
    auto& text = page.Add<ui::TStaticText>("StaticText1", 1);
    for (const Case& c : cases) {
        Store("TARQ_thCancelled", "x");
        text.SetCaption("");
        run.flags.cancelled = c.cancelled;
        run.variables.SilentMode = c.silent;
        EXPECT_EQ(run.runtime.UpdateProgressDialog("shown", c.writeCancelled, 0, 1, 0),
                  c.cancelled);
        EXPECT_EQ(run.variables.Store().GetValue("TARQ_thCancelled"), c.recorded);
        // Silent runs draw nothing.
        EXPECT_EQ(text.Caption(), c.silent ? "" : "shown");
    }
    run.flags.cancelled = true;
    EXPECT_EQ(run.runtime.CheckCancel(), -1);
}

TEST_F(ProgressRuntimeTest, NoActivePageNoRefresh)
{
    auto& text = page.Add<ui::TStaticText>("StaticText1", 1);
    for (const char* active : {"", "7"}) {
        run.pages.active = active;
        run.runtime.UpdateProgressDialog("shown", false, 0, 1, 0);
        EXPECT_EQ(text.Caption(), "");
        EXPECT_TRUE(page.events.empty());
    }
}

TEST_F(ProgressRuntimeTest, InstallerBridgeSeesThePageOnScreen)
{
    PageInstallerDialogs dialogs(run.runtime);
    EXPECT_TRUE(dialogs.HasActivePage());
    EXPECT_EQ(dialogs.GetActiveDialogName(), "3");
    EXPECT_EQ(dialogs.FindDialogWindow("3"), 0x1234u);
    EXPECT_EQ(dialogs.FindDialogWindow("4"), 0u);
    EXPECT_EQ(dialogs.FindDialogWindow(""), 0u);
    dialogs.SetWorkerBusy(true);
    EXPECT_TRUE(run.flags.busy);
    EXPECT_EQ(dialogs.CheckCancel(), 1);
    run.flags.cancelled = true;
    EXPECT_EQ(dialogs.CheckCancel(), -1);
    run.pages.active.clear();
    EXPECT_FALSE(dialogs.HasActivePage());
}

}  // namespace
}  // namespace setup::wizard::testing
