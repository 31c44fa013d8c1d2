#include "shred/wipers/progress_file_estimate.h"
#include "shred/wipers/tests/progress_file_fakes.h"

#include <gtest/gtest.h>

#include <vector>

namespace shred::wipers::testing {
namespace {

constexpr std::uint64_t kMiB = 1 << 20;

struct CallbackCall
{
    int kind;
    int ctx;
    void* pauseOrText;
    int value;
    double rate;
};
std::vector<CallbackCall> g_calls;

void SHRED_CALLBACK RecordCall(int kind, int ctx, void* pauseOrText, int value, double rate)
{
    g_calls.push_back({kind, ctx, pauseOrText, value, rate});
}

struct EstimateFixture : ::testing::Test
{
    FakeProgressSystem system;
    ProgressTarget target;
    char ownAbort = 0;
    WipeContext context;

    void SetUp() override
    {
        g_calls.clear();
        context.freeBytes = 100 * kMiB;
        context.baselineTime = 1000;
        context.callerCtx = 42;
        context.system = &system;
        context.target = &target;
        context.ownAbort = &ownAbort;
    }
    void Step(std::int64_t now, int percent, int fileIndex, int fileCount, std::uint64_t bytes,
              void** pause = nullptr)
    {
        system.now = now;
        WriteWipeProgress(&context, percent, fileIndex, fileCount, 1, bytes, pause, 0.0f, 0);
    }
};

TEST_F(EstimateFixture, CountsWholeSecondsAndLeavesLongGapsOut)
{
    UpdateEstimate(context, 1001, 10, 1, 1, 2 * kMiB);
    EXPECT_EQ(context.accBytes, 2 * kMiB);
    EXPECT_EQ(context.accSeconds, 1);
    EXPECT_EQ(context.timeLeft, 49);  // 98 MiB at 2 MiB/s
    EXPECT_EQ(context.rate, 2048.0);

    UpdateEstimate(context, 1001, 20, 1, 1, 5 * kMiB);  // the same second: nothing
    EXPECT_EQ(context.accBytes, 2 * kMiB);

    UpdateEstimate(context, 1004, 30, 1, 1, 9 * kMiB);  // a 3-second gap re-baselines
    EXPECT_EQ(context.accBytes, 2 * kMiB);
    EXPECT_EQ(context.lastBytes, 9 * kMiB);
    EXPECT_EQ(context.baselineTime, 1004);

    UpdateEstimate(context, 1006, 40, 1, 1, 1 * kMiB);  // a new file began: counts from 0
    EXPECT_EQ(context.accBytes, 3 * kMiB);
    EXPECT_EQ(context.accSeconds, 3);
    EXPECT_EQ(context.timeLeft, 97);  // 97 MiB at 1 MiB/s

    for (const auto& [percent, fileIndex] : {std::pair{200, 1}, std::pair{50, 0}}) {
        UpdateEstimate(context, 1007, percent, fileIndex, 1, 5 * kMiB);
        EXPECT_EQ(context.accBytes, 3 * kMiB);
    }
}

TEST_F(EstimateFixture, NoWholeMebibyteGivesTheUnknownValueAndNoStepCallback)
{
    target.callback = reinterpret_cast<void*>(&RecordCall);
    Step(1001, 10, 1, 5, 512 * 1024);
    EXPECT_EQ(context.timeLeft, kTimeLeftUnknown);
    EXPECT_TRUE(g_calls.empty());

    void* event = &ownAbort;
    Step(1001, 200, 1, 5, 512 * 1024, &event);  // a finished file is always reported
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].kind, kWipeFillerDone);
    EXPECT_EQ(g_calls[0].ctx, 42);
    EXPECT_EQ(g_calls[0].pauseOrText, &event);
}

TEST_F(EstimateFixture, ProgressAccountedBeyondTheFreeSpaceLeavesNoTimeRatherThanWrapping)
{
    context.freeBytes = 1 * kMiB;
    UpdateEstimate(context, 1001, 10, 1, 1, 3 * kMiB);
    EXPECT_EQ(context.timeLeft, 0);
}

TEST_F(EstimateFixture, CallbackGetsTheStepThenTheFinishedFile)
{
    target.callback = reinterpret_cast<void*>(&RecordCall);
    Step(1001, 50, 1, 5, 4 * kMiB);
    Step(1001, 200, 1, 5, 4 * kMiB);
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[0].kind, kWipeProgressStep);
    EXPECT_EQ(g_calls[0].value, 24);  // 96 MiB at 4 MiB/s
    EXPECT_EQ(g_calls[0].rate, 4096.0);
    EXPECT_EQ(g_calls[1].kind, kWipeProgressStep);
    EXPECT_EQ(g_calls[2].kind, kWipeFillerDone);
    EXPECT_EQ(g_calls[2].value, 24);
}

TEST_F(EstimateFixture, FileLinesFollowTheStep)
{
    const struct
    {
        int percent;
        int fileIndex;
        int fileCount;
        bool abort;
        std::string lines;
    } cases[] = {
        {50, 1, 1, false,
         "<Progress>100</Progress>\r\n<TimeLeft>77</TimeLeft>\r\n"
         "<Status>Starting up</Status>\r\n"},
        {200, 1, 1, false,
         "<Progress>100</Progress>\r\n<TimeLeft>0</TimeLeft>\r\n"
         "<Status>Starting up</Status>\r\n"},
        {200, 3, 10, false,
         "<Progress>30</Progress>\r\n<TimeLeft>0</TimeLeft>\r\n"
         "<Status>Finished</Status>\r\n"},
        {40, 3, 10, false,
         "<Progress>30</Progress>\r\n<TimeLeft>77</TimeLeft>\r\n"
         "<Status>In progress</Status>\r\n"},
        {40, 0, 0, false, "<TimeLeft>77</TimeLeft>\r\n<Status>In progress</Status>\r\n"},
        {40, 3, 10, true, "<Progress>30</Progress>\r\n<Status>Aborted</Status>\r\n"},
    };
    for (const auto& c : cases) {
        const std::string header = "<Id>1</Id>\r\n";
        system.AddProgressFile(L"p.xml", header);
        target.file = ProgressFile::Open(system, L"p.xml");
        ownAbort = 0;
        system.clientInput = c.abort ? std::optional<std::wstring>(L"ABORT") : std::nullopt;
        context.timeLeft = 77;
        Step(1000, c.percent, c.fileIndex, c.fileCount, 0);  // same second: estimate kept
        EXPECT_EQ(system.files[L"p.xml"],
                  header + "<OperationName>Shred Free Disk Space</OperationName>\r\n" + c.lines)
            << c.percent << " " << c.fileIndex << "/" << c.fileCount;
        EXPECT_EQ(ownAbort, c.abort ? 1 : 0);
    }
}

}  // namespace
}  // namespace shred::wipers::testing
