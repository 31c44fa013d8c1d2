// The worker wait every long statement runs: done through the completion routine, cancel turned
// into a terminate request, the busy flag held, in both wait modes.
#include "setup/engine/workers/worker_wait_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "setup/engine/workers/worker_protocol.h"

namespace setup::engine {
namespace {

// Runs until asked to stop (or a step limit), then reports done through the GUI thread.
class CountingWorker final : public rtl::TThread
{
public:
    explicit CountingWorker(const WorkerFlags& flags) : m_flags(flags) {}
    ~CountingWorker() override
    {
        Terminate();
        WaitFor();
    }
    bool done = false;  // GUI thread only
    std::atomic<int> steps{0};
    std::atomic<bool> sawBusy{false};
    int limit = 20;

protected:
    void Execute() override
    {
        while (!Terminated() && steps < limit) {
            sawBusy = sawBusy || m_flags.busy;
            ++steps;
            ::Sleep(5);
        }
        Synchronize([this] { done = true; });
        rtl::WakeMainThread();
    }

private:
    const WorkerFlags& m_flags;
};

class WorkerWaitTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(rtl::InitGuiThread()); }
    void TearDown() override { rtl::DoneGuiThread(); }

    WorkerFlags flags;
};

TEST_F(WorkerWaitTest, WaitsForTheCompletionRoutineInBothModes)
{
    for (const bool silent : {false, true}) {
        CountingWorker worker(flags);
        WorkerWaitOptions options;
        options.silent = silent;
        RunWorker(
            worker, flags, [&] { return worker.done; }, options);
        EXPECT_TRUE(worker.done) << silent;
        EXPECT_EQ(worker.steps, 20) << silent;
        EXPECT_TRUE(worker.sawBusy) << silent;
        EXPECT_FALSE(flags.busy) << silent;
    }
}

TEST_F(WorkerWaitTest, ACancelAsksTheWorkerToStopAndStillWaitsForIt)
{
    // A timer keeps messages coming, as a page's poll timer does.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, nullptr);
    CountingWorker worker(flags);
    worker.limit = 100000;
    int polls = 0;
    WorkerWaitOptions options;
    options.silent = false;
    options.checkCancel = [&] { return ++polls >= 3 ? -1 : 1; };
    RunWorker(
        worker, flags, [&] { return worker.done; }, options);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(worker.Terminated());
    EXPECT_TRUE(worker.done);
    EXPECT_LT(worker.steps, 100000);
}

// Fails before its completion routine, as a worker whose plug-in or program crashed.
class FailingWorker final : public rtl::TThread
{
public:
    ~FailingWorker() override { WaitFor(); }

protected:
    void Execute() override
    {
        ::Sleep(20);
        throw std::runtime_error("worker failed");
    }
};

TEST_F(WorkerWaitTest, AWorkerThatFailsBeforeReportingEndsTheWait)
{
    for (const bool silent : {false, true}) {
        FailingWorker worker;
        WorkerWaitOptions options;
        options.silent = silent;
        RunWorker(
            worker, flags, [] { return false; }, options);
        EXPECT_TRUE(worker.Finished()) << silent;
        EXPECT_EQ(worker.FatalMessage(), "worker failed") << silent;
    }
}

TEST_F(WorkerWaitTest, WithoutBusyTheFlagStaysClear)
{
    CountingWorker worker(flags);
    WorkerWaitOptions options;
    options.holdWorkerBusy = false;
    options.silent = true;
    RunWorker(
        worker, flags, [&] { return worker.done; }, options);
    EXPECT_FALSE(worker.sawBusy);
}

}  // namespace
}  // namespace setup::engine
