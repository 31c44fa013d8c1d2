#include "shred/wipers/slack_walk.h"
#include "shred/wipers/tests/progress_file_fakes.h"
#include "shred/wipers/tests/slack_fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace shred::wipers::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

struct SlackCall
{
    int value;
    int ctx;
    void** pause;
    void* event;  // *pause during the call: the walk's own event lives only as long as the walk
};
std::vector<SlackCall> g_progress;
std::vector<std::pair<int, int>> g_done;

void SHRED_CALLBACK RecordProgress(int value, int ctx, void** pause)
{
    g_progress.push_back({value, ctx, pause, pause != nullptr ? *pause : nullptr});
}
void SHRED_CALLBACK RecordDone(int one, int ctx)
{
    g_done.emplace_back(one, ctx);
}

struct SlackWalkFixture : ::testing::Test
{
    FakeSlackSystem system;
    FakeProgressSystem progressSystem;
    SlackRequest request;

    void SetUp() override
    {
        g_progress.clear();
        g_done.clear();
        system.AddFile(L"C:\\data\\a.txt", 10);
        system.AddFile(L"C:\\data\\.hidden", 20);
        system.AddFile(L"C:\\data\\sub\\b.txt", 30);
        system.AddFile(L"C:\\data\\sub\\deeper\\c.txt", 40);
        system.links.insert(L"C:\\data\\out");
        system.AddFile(L"C:\\data\\out\\elsewhere.txt", 50);  // reached only through the link
        system.folders.erase(L"C:\\data\\out");
        request.path = L"C:\\data\\";
        request.ctx = 9;
        progressSystem.code.insert(reinterpret_cast<const void*>(&RecordProgress));
    }
    int Run() { return WipeFileSlack(request, system, progressSystem, TestSlackServices(system)); }
};

TEST_F(SlackWalkFixture, TrailingBackslashWalksEveryFileButNotThroughLinks)
{
    request.progress = progressSystem.AddProgressFile(L"p.xml", "<H/>\r\n");
    EXPECT_EQ(Run(), kSlackDone);
    EXPECT_THAT(system.opened,
                UnorderedElementsAre(L"C:\\data\\a.txt", L"C:\\data\\.hidden",
                                     L"C:\\data\\sub\\b.txt", L"C:\\data\\sub\\deeper\\c.txt"));
    EXPECT_THAT(system.printed, HasSubstr("totalAmount: 4 C:\\data\\*\n"));
    std::string expected =
        "<H/>\r\n<OperationName>Shred Slack Space</OperationName>\r\n"
        "<Progress>100</Progress>\r\n<Status>Finished</Status>\r\n";
    const std::string& file = progressSystem.files[L"p.xml"];
    ASSERT_GE(file.size(), expected.size());
    EXPECT_EQ(file, expected + std::string(file.size() - expected.size(), ' '));
    EXPECT_THAT(system.eventsCreated, ElementsAre(L"SlackEvent"));
    EXPECT_NE(system.lastWaitedEvent, nullptr);
}

TEST_F(SlackWalkFixture, CallbackModeReportsTheOwnEventThenTheTotal)
{
    request.progress = reinterpret_cast<const void*>(&RecordProgress);
    request.done = &RecordDone;
    EXPECT_EQ(Run(), kSlackDone);
    ASSERT_EQ(g_progress.size(), 2u);
    EXPECT_EQ(g_progress[0].value, 0);
    EXPECT_EQ(g_progress[1].value, 4);
    EXPECT_EQ(g_progress[0].ctx, 9);
    ASSERT_NE(g_progress[0].pause, nullptr);
    EXPECT_EQ(g_progress[0].event, system.lastWaitedEvent);
    EXPECT_EQ(g_done.size(), 4u);
    EXPECT_EQ(g_done[0], std::make_pair(1, 9));

    // The caller's own event: none is created and no 0 call is made.
    g_progress.clear();
    system.eventsCreated.clear();
    void* event = &request;
    request.pauseEvent = &event;
    EXPECT_EQ(Run(), kSlackDone);
    EXPECT_TRUE(system.eventsCreated.empty());
    ASSERT_EQ(g_progress.size(), 1u);
    EXPECT_EQ(g_progress[0].value, 4);
    EXPECT_EQ(g_progress[0].pause, &event);
}

TEST_F(SlackWalkFixture, DoneCallbackTakesOverFromTheProgressFile)
{
    request.progress = progressSystem.AddProgressFile(L"p.xml", "<H/>\r\n");
    request.done = &RecordDone;
    EXPECT_EQ(Run(), kSlackDone);
    EXPECT_EQ(g_done.size(), 4u);
    // Only the final update of the run was written.
    EXPECT_EQ(progressSystem.files[L"p.xml"],
              "<H/>\r\n<OperationName>Shred Slack Space</OperationName>\r\n"
              "<Progress>100</Progress>\r\n<Status>Finished</Status>\r\n");
}

TEST_F(SlackWalkFixture, AbortEndsTheRunFromTheInnermostLevelAndTouchesNoFurtherFile)
{
    char abortFlag = 0;
    request.abortFlag = &abortFlag;
    system.onWait = [&](int) {
        if (system.opened.size() == 2)
            abortFlag = 1;
    };
    EXPECT_EQ(Run(), kSlackAborted);
    EXPECT_EQ(system.opened.size(), 2u);
}

TEST_F(SlackWalkFixture, ClientAbortInFileModeStopsAfterTheCurrentFile)
{
    request.progress = progressSystem.AddProgressFile(L"p.xml", "<H/>\r\n");
    progressSystem.clientInput = L"ABORT";
    EXPECT_EQ(Run(), kSlackAborted);
    EXPECT_EQ(system.opened.size(), 1u);
    EXPECT_THAT(progressSystem.files[L"p.xml"],
                HasSubstr("<Progress>25</Progress>\r\n<Status>Aborted</Status>\r\n"));
}

TEST_F(SlackWalkFixture, ProgressFileFollowsThePercentage)
{
    request.progress = progressSystem.AddProgressFile(L"p.xml", "");
    std::vector<std::string> seen;
    system.onWait = [&](int) { seen.push_back(progressSystem.files[L"p.xml"]); };
    EXPECT_EQ(Run(), kSlackDone);
    EXPECT_THAT(seen, ::testing::Contains(HasSubstr("<Progress>50</Progress>\r\n"
                                                    "<Status>In progress</Status>")));
    EXPECT_THAT(seen, ::testing::Contains(HasSubstr("<Progress>75</Progress>")));
}

TEST_F(SlackWalkFixture, PathsThatMatchNothingOrNameOneFile)
{
    request.path = L"C:\\nowhere\\*";
    EXPECT_EQ(Run(), kSlackNotFound);
    EXPECT_THAT(system.printed,
                HasSubstr("Invalid File Handle in dll VNTWipeFileSlack. GetLastError reports 2\n"));

    request.path = L"C:\\data\\sub\\b.txt";
    EXPECT_EQ(Run(), kSlackDone);
    EXPECT_THAT(system.opened, ElementsAre(L"C:\\data\\sub\\b.txt"));

    // A folder without a trailing backslash, and a pattern whose first match is a folder: the
    // children are named from the folder the pattern searches.
    for (const wchar_t* path : {L"C:\\data\\sub", L"C:\\data\\s*"}) {
        request.path = path;
        system.opened.clear();
        EXPECT_EQ(Run(), kSlackDone);
        EXPECT_THAT(system.opened,
                    UnorderedElementsAre(L"C:\\data\\sub\\b.txt", L"C:\\data\\sub\\deeper\\c.txt"));
    }
}

TEST_F(SlackWalkFixture, CallersOwnTotalIsNeitherCountedNorFinished)
{
    request.progress = progressSystem.AddProgressFile(L"p.xml", "");
    request.totalCount = 8;
    EXPECT_EQ(Run(), kSlackDone);
    EXPECT_THAT(system.printed, ::testing::Not(HasSubstr("totalAmount")));
    EXPECT_THAT(progressSystem.files[L"p.xml"],
                HasSubstr("<Progress>50</Progress>\r\n<Status>In progress</Status>"));
}

TEST_F(SlackWalkFixture, ZeroCountWithFilesToWipeDoesNotDivideByZero)
{
    request.progress = progressSystem.AddProgressFile(L"p.xml", "");
    SlackServices services = TestSlackServices(system);
    services.countTargets = [](const std::wstring&) { return 0; };
    EXPECT_EQ(WipeFileSlack(request, system, progressSystem, services), kSlackDone);
    EXPECT_EQ(system.opened.size(), 4u);
    EXPECT_THAT(progressSystem.files[L"p.xml"], HasSubstr("<Progress>100</Progress>"));
}

}  // namespace
}  // namespace shred::wipers::testing
