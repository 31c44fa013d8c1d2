#include "setup/engine/rtl/thread_win32.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "setup/engine/rtl/exceptions.h"

namespace setup::rtl {
namespace {

class GuiThreadTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(InitGuiThread()); }
    void TearDown() override { DoneGuiThread(); }
};

// A worker that runs a body and records on which threads its routines ran.
class TestWorker : public TThread
{
public:
    explicit TestWorker(std::function<void(TestWorker&)> body) : m_body(std::move(body)) {}
    ~TestWorker() override
    {
        Terminate();
        WaitFor();
    }
    using TThread::Synchronize;

    std::atomic<bool> done{false};
    std::vector<DWORD> routineThreads;  // written on the GUI thread only

protected:
    void Execute() override
    {
        m_body(*this);
        Synchronize([this] {
            routineThreads.push_back(::GetCurrentThreadId());
            done = true;
        });
        WakeMainThread();
    }

private:
    std::function<void(TestWorker&)> m_body;
};

TEST_F(GuiThreadTest, CompletionRunsOnGuiThreadWhilePumping)
{
    TestWorker worker([](TestWorker&) { ::Sleep(20); });
    worker.Start();
    while (!worker.done)
        ASSERT_TRUE(HandleMessage());  // wakes for the routine and for the null message
    EXPECT_EQ(worker.routineThreads, std::vector<DWORD>{::GetCurrentThreadId()});
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
}

TEST_F(GuiThreadTest, WaitForServesRoutinesWithoutMessageLoop)
{
    TestWorker worker([](TestWorker& self) {
        for (int i = 0; i < 50; ++i)
            self.Synchronize([&] { self.routineThreads.push_back(::GetCurrentThreadId()); });
    });
    worker.Start();
    worker.WaitFor();  // silent mode: no message loop at all
    EXPECT_TRUE(worker.done);
    EXPECT_EQ(worker.routineThreads, std::vector<DWORD>(51, ::GetCurrentThreadId()));
    ProcessMessages();  // the posted wake-ups find nothing left to do
}

TEST_F(GuiThreadTest, ManyWorkersSynchronizeConcurrently)
{
    int counter = 0;  // touched by the GUI thread only
    std::vector<std::unique_ptr<TestWorker>> workers;
    for (int w = 0; w < 4; ++w) {
        workers.push_back(std::make_unique<TestWorker>([&counter](TestWorker& self) {
            for (int i = 0; i < 100; ++i)
                self.Synchronize([&counter] { ++counter; });
        }));
    }
    for (auto& worker : workers)
        worker->Start();
    auto allDone = [&] {
        for (auto& worker : workers)
            if (!worker->done)
                return false;
        return true;
    };
    while (!allDone())
        HandleMessage();
    EXPECT_EQ(counter, 400);
}

TEST_F(GuiThreadTest, RoutineExceptionReturnsToTheWorker)
{
    std::string caught;
    TestWorker worker([&caught](TestWorker& self) {
        try {
            self.Synchronize([] { throw Exception("General setup failure"); });
        } catch (const Exception& e) {
            caught = e.what();
        }
    });
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(caught, "General setup failure");
    EXPECT_EQ(worker.FatalMessage(), "");
}

TEST_F(GuiThreadTest, ExecuteExceptionEndsThreadWithItsMessage)
{
    TestWorker worker([](TestWorker&) { throw EConvertError("'x' is not a valid integer value"); });
    worker.Start();
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
    EXPECT_FALSE(worker.done);
    EXPECT_EQ(worker.FatalMessage(), "'x' is not a valid integer value");
}

TEST_F(GuiThreadTest, TerminateIsCooperative)
{
    std::atomic<int> rounds{0};
    {
        TestWorker worker([&rounds](TestWorker& self) {
            while (!self.Terminated()) {
                ++rounds;
                ::Sleep(1);
            }
        });
        worker.Start();
        while (rounds < 3)
            ::Sleep(1);
        worker.Terminate();
        worker.WaitFor();
        EXPECT_TRUE(worker.done);
    }
    {
        TestWorker neverStarted([&rounds](TestWorker&) { rounds = -1000; });
    }
    EXPECT_GT(rounds, 0);
}

TEST_F(GuiThreadTest, AKilledThreadLeavesNoLockTaken)
{
    // Workers that never look at Terminated: one allocating without pause, one queueing routines
    // the GUI thread does not serve. Killed, each is finished at once, and the heap and the
    // routine queue still work.
    std::atomic<long> allocations{0};
    TestWorker allocating([&allocations](TestWorker&) {
        for (;;) {
            std::vector<std::string> garbage(64, std::string(100, 'x'));
            ++allocations;
        }
    });
    TestWorker queueing([](TestWorker& self) {
        for (;;)
            self.Synchronize([] {});
    });
    allocating.Start();
    queueing.Start();
    while (allocations < 1000)
        ::Sleep(1);
    ::Sleep(50);
    allocating.Kill();
    queueing.Kill();
    EXPECT_TRUE(allocating.Finished());
    EXPECT_TRUE(queueing.Finished());
    EXPECT_FALSE(allocating.done);
    std::vector<std::string> after(10000, std::string(100, 'y'));
    EXPECT_EQ(after.back().size(), 100u);
    CheckSynchronize();
    TestWorker healthy([](TestWorker&) {});
    healthy.Start();
    healthy.WaitFor();
    EXPECT_TRUE(healthy.done);
}

TEST(GuiThread, SynchronizeWithoutGuiThreadFails)
{
    std::string caught;
    TestWorker worker([&caught](TestWorker& self) {
        try {
            self.Synchronize([] {});
        } catch (const Exception& e) {
            caught = e.what();
            throw;
        }
    });
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(caught, "Cannot synchronize: no GUI thread");
    EXPECT_EQ(worker.FatalMessage(), "Cannot synchronize: no GUI thread");
}

}  // namespace
}  // namespace setup::rtl
