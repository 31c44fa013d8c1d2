#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "setup/ui/common_controls.h"
#include "setup/ui/std_controls.h"
#include "setup/wizard/progress/tests/progress_fixture.h"

namespace setup::wizard::testing {
namespace {

// A worker publishes while the page's timer redraws: every redraw sees a consistent bar (the
// four values may be from two publications, which the bar's clamping absorbs) and the last
// redraw shows the last publication.
TEST(ProgressThreads, AWorkerPublishesWhileThePageRedraws)
{
    ProgressRun run;
    FakeProgressPage page(run.runtime);
    run.pages.pages["2"] = &page;
    run.pages.active = "2";
    auto& bar = page.Add<ui::TProgressBar>("ProgressBar1", 1);
    auto& text = page.Add<ui::TStaticText>("StaticText1", 1);
    run.flags.busy = true;

    constexpr std::int64_t kTotal = 6000000000;  // above 2^31-1: scaled by 1024
    constexpr int kSteps = 2000;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int step = 1; step <= kSteps; ++step)
            run.runtime.SetThreadProgress("File " + std::to_string(step),
                                          kTotal / kSteps * step, kTotal, 0);
        done = true;
    });
    while (!done) {
        page.cycle.OnTimer();
        ASSERT_GE(bar.Position(), bar.Min());
        ASSERT_LE(bar.Position(), bar.Max());
    }
    worker.join();
    page.cycle.OnTimer();
    EXPECT_EQ(bar.Max(), kTotal / 1024);
    EXPECT_EQ(bar.Position(), kTotal / 1024);
    EXPECT_EQ(text.Caption(), "File 2000");
}

}  // namespace
}  // namespace setup::wizard::testing
