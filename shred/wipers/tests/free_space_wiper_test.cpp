#include "shred/wipers/free_space_wiper.h"
#include "shred/wipers/progress_file_estimate.h"
#include "shred/wipers/tests/free_space_fakes.h"
#include "shred/wipers/tests/progress_file_fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace shred::wipers::testing {
namespace {

using ::testing::HasSubstr;

constexpr std::uint64_t kMiB = 1ull << 20;
constexpr std::uint64_t kGiB = 1ull << 30;
const std::wstring kFolder = L"C:\\VNTShred";

struct InitCall
{
    int fillerCount;
    std::uint64_t freeBytes;
    int ctx;
};
std::vector<InitCall> g_inits;
void SHRED_CALLBACK RecordInit(int fillerCount, unsigned long freeLow, unsigned long freeHigh,
                               int ctx)
{
    g_inits.push_back({fillerCount, (static_cast<std::uint64_t>(freeHigh) << 32) | freeLow, ctx});
}

struct ProgressCall
{
    int kind;
    int value;
    std::wstring text;
};
std::vector<ProgressCall> g_progress;
void SHRED_CALLBACK RecordProgress(int kind, int ctx, void* pauseOrText, int value, double)
{
    g_progress.push_back(
        {kind, value, kind == kWipeStartError ? static_cast<const wchar_t*>(pauseOrText) : L""});
}

struct FreeSpaceFixture : ::testing::Test
{
    SimulatedVolume volume;
    FakeProgressSystem progressSystem;
    RecordingShredder shredder{volume};
    void* event = reinterpret_cast<void*>(0x1234);
    FreeSpaceRequest request;

    void SetUp() override
    {
        g_inits.clear();
        g_progress.clear();
        request.algorithmId = 3;
        request.ctx = 77;
        request.pauseEvent = &event;
        request.init = &RecordInit;
    }
    void Volume(std::uint64_t freeBytes)
    {
        volume.capacity = freeBytes + 10 * kGiB;
        volume.used = 10 * kGiB;
    }
    int Run() { return WipeFreeDiskSpace(request, volume, progressSystem, shredder.Function()); }
    bool FolderGone() const
    {
        for (const auto& [path, size] : volume.files)
            if (path.rfind(kFolder + L"\\", 0) == 0)
                return false;
        return volume.folders.empty();
    }
};

TEST_F(FreeSpaceFixture, SmallDriveGetsOneLastFillerAndNoStartUpShred)
{
    Volume(100 * kMiB);
    EXPECT_EQ(Run(), kFreeSpaceDone);

    EXPECT_EQ(volume.log[0], "delete-tree");
    EXPECT_EQ(volume.log[1], "create-folder");
    EXPECT_THAT(volume.log, ::testing::Contains("filler C:\\VNTShred\\S1 104857600 write-through"));
    ASSERT_EQ(g_inits.size(), 1u);
    EXPECT_EQ(g_inits[0].fillerCount, 1);
    EXPECT_EQ(g_inits[0].freeBytes, 100 * kMiB);
    EXPECT_EQ(g_inits[0].ctx, 77);
    ASSERT_EQ(shredder.calls.size(), 1u);
    EXPECT_EQ(shredder.calls[0].path, kFolder);
    EXPECT_EQ(shredder.calls[0].keepFile, 0);
    EXPECT_EQ(shredder.calls[0].algorithmId, 3);
    EXPECT_EQ(shredder.calls[0].pauseEvent, &event);
    EXPECT_TRUE(FolderGone());
    EXPECT_THAT(volume.printed,
                HasSubstr("strWorkingFolder: C:\\VNTShred\nlpTotalNumberOfFreeBytes: 104857600\n"
                          "lpSectorsPerCluster: 8\nlpBytesPerSector: 512\n"));
    EXPECT_THAT(volume.printed, HasSubstr("uiFileSize: 67108864\nfileCount 0\n"));
    EXPECT_THAT(volume.printed, HasSubstr("VNTShredFile -100\n"));
}

TEST_F(FreeSpaceFixture, LargeDriveGetsOnePercentFillersAndShredsTheFirstAloneKeepingIt)
{
    Volume(100 * kGiB);
    request.progress = progressSystem.AddProgressFile(L"p.xml", "<H/>\r\n");
    std::vector<std::string> progressAfterCall;
    shredder.afterCall = [&](const ShredCallRecord&) {
        progressAfterCall.push_back(progressSystem.files[L"p.xml"]);
    };
    EXPECT_EQ(Run(), kFreeSpaceDone);

    EXPECT_THAT(volume.printed, HasSubstr("uiFileSize: 1073741824\nfileCount 98\n"));
    ASSERT_EQ(g_inits.size(), 1u);
    EXPECT_EQ(g_inits[0].fillerCount, 99);
    EXPECT_EQ(g_inits[0].freeBytes, 2 * kGiB);
    ASSERT_EQ(shredder.calls.size(), 2u);
    EXPECT_EQ(shredder.calls[0].path, kFolder + L"\\S0");
    EXPECT_EQ(shredder.calls[0].keepFile, 1);
    EXPECT_EQ(shredder.calls[1].path, kFolder);
    EXPECT_THAT(volume.log,
                ::testing::Contains("filler C:\\VNTShred\\S99 2147483648 write-through"));
    EXPECT_THAT(volume.log, ::testing::Contains("remove C:\\VNTShred\\S0"));
    ASSERT_EQ(progressAfterCall.size(), 2u);
    EXPECT_THAT(progressAfterCall[0], HasSubstr("<Status>Starting up</Status>"));
    EXPECT_THAT(progressAfterCall[1], HasSubstr("<Progress>100</Progress>\r\n<TimeLeft>0</TimeLeft>"
                                                "\r\n<Status>Finished</Status>"));
    EXPECT_TRUE(FolderGone());
}

TEST_F(FreeSpaceFixture, FillerSizeFollowsClustersAndFreeSpace)
{
    const struct
    {
        std::uint64_t freeBytes;
        std::uint32_t cluster;
        std::uint64_t size;
    } cases[] = {
        {100 * kMiB, 4096, 64 * kMiB},
        {6400 * kMiB, 4096, 64 * kMiB},  // exactly 100 fillers: still 64 MiB
        {100 * kGiB, 4096, kGiB},
        {100 * kGiB + 12345, 4096, kGiB},
        {10 * kMiB, 3 * 4096, 67104768},  // 64 MiB rounded down to whole clusters
        {10 * kMiB, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FillerSize(c.freeBytes, c.cluster), c.size) << c.freeBytes << " " << c.cluster;
}

TEST(PlanFreeSpaceWipe, WorksInTheDrivesFolderAndAsksTheUpperCasedRoot)
{
    const struct
    {
        char letter;
        bool isDriveLetter;
        std::wstring folder, givenRoot, root;
    } cases[] = {
        {'C', true, L"C:\\VNTShred", L"C:\\", L"C:\\"},
        {'z', true, L"z:\\VNTShred", L"z:\\", L"Z:\\"},
        {'1', false, L"1:\\VNTShred", L"1:\\", L"1:\\"},
        {'\\', false, L"\\:\\VNTShred", L"\\:\\", L"\\:\\"},
        {'[', false, L"[:\\VNTShred", L"[:\\", L"[:\\"},
    };
    for (const auto& c : cases) {
        const FreeSpacePlan plan = PlanFreeSpaceWipe(c.letter);
        EXPECT_EQ(plan.isDriveLetter, c.isDriveLetter) << c.letter;
        EXPECT_EQ(plan.folder, c.folder) << c.letter;
        EXPECT_EQ(plan.givenRoot, c.givenRoot) << c.letter;
        EXPECT_EQ(plan.root, c.root) << c.letter;
    }
}

TEST_F(FreeSpaceFixture, LeftoverFolderIsDeletedBeforeTheNewOneIsMade)
{
    Volume(100 * kMiB);
    volume.folders.push_back(kFolder);
    volume.files[kFolder + L"\\S0"] = kMiB;
    volume.files[kFolder + L"\\S7"] = kMiB;
    EXPECT_EQ(Run(), kFreeSpaceDone);
    EXPECT_EQ(volume.log[0], "delete-tree");
    EXPECT_TRUE(FolderGone());
}

TEST_F(FreeSpaceFixture, AbortAtAnyPauseWaitDeletesEverythingAndReportsAborted)
{
    Volume(10 * 64 * kMiB);
    int waitsInFullRun = 0;
    {
        SimulatedVolume full = volume;
        RecordingShredder fullShredder{full};
        ASSERT_EQ(WipeFreeDiskSpace(request, full, progressSystem, fullShredder.Function()),
                  kFreeSpaceDone);
        waitsInFullRun = full.waits;
    }
    ASSERT_GT(waitsInFullRun, 10);
    for (int abortAt = 1; abortAt <= waitsInFullRun; ++abortAt) {
        SimulatedVolume run = volume;
        RecordingShredder runShredder{run};
        char abortFlag = 0;
        request.abortFlag = &abortFlag;
        run.onWait = [&](int wait) {
            if (wait == abortAt)
                abortFlag = 1;
        };
        EXPECT_EQ(WipeFreeDiskSpace(request, run, progressSystem, runShredder.Function()),
                  kFreeSpaceAborted)
            << abortAt;
        EXPECT_TRUE(run.folders.empty()) << abortAt;
        EXPECT_TRUE(run.files.empty()) << abortAt;
        // Aborted before the fillers were counted: nothing reaches the engine.
        if (run.printed.find("fileCount") == std::string::npos) {
            EXPECT_TRUE(runShredder.calls.empty()) << abortAt;
        }
    }
}

TEST_F(FreeSpaceFixture, FillersThatDoNotConsumeSpaceEndTheLoopAndTheRunIsNotReportedDone)
{
    Volume(100 * kGiB);
    volume.fillersConsumeSpace = false;
    EXPECT_EQ(Run(), kFreeSpaceNotFilled);
    EXPECT_THAT(volume.printed, HasSubstr("Free space did not shrink after C:\\VNTShred\\S0\n"));
    EXPECT_THAT(volume.printed, HasSubstr("fileCount 1\n"));
    EXPECT_EQ(shredder.calls.size(), 2u);  // what was made is still shredded
    EXPECT_TRUE(FolderGone());
}

TEST_F(FreeSpaceFixture, WhatOneLastFillerCannotTakeGoesToSmallerOnes)
{
    const struct
    {
        std::uint64_t largestFile;
        int result;
        std::vector<std::string> lastFillers;
    } cases[] = {
        {UINT64_MAX, kFreeSpaceDone, {"filler C:\\VNTShred\\S1 104857600 write-through"}},
        {60 * kMiB,
         kFreeSpaceDone,
         {"filler C:\\VNTShred\\S1 104857600 write-through",
          "filler C:\\VNTShred\\S1 52428800 write-through",
          "filler C:\\VNTShred\\S2 52428800 write-through"}},
        {0, kFreeSpaceNotFilled, {}},  // not even one cluster: ends at the 4096-byte try
    };
    for (const auto& c : cases) {
        SimulatedVolume run;
        run.capacity = 100 * kMiB;
        run.largestFile = c.largestFile;
        RecordingShredder runShredder{run};
        std::uint64_t freeWhenShredded = UINT64_MAX;
        run.onWait = [&](int) {
            if (!runShredder.calls.empty() && freeWhenShredded == UINT64_MAX)
                freeWhenShredded = run.Free();
        };
        EXPECT_EQ(WipeFreeDiskSpace(request, run, progressSystem, runShredder.Function()),
                  c.result);
        std::vector<std::string> lastFillers;
        for (const std::string& line : run.log)
            if (line.find("write-through") != std::string::npos)
                lastFillers.push_back(line);
        if (!c.lastFillers.empty()) {
            EXPECT_EQ(lastFillers, c.lastFillers);
            EXPECT_EQ(freeWhenShredded, 0u);
        } else {
            EXPECT_EQ(lastFillers.back(), "filler C:\\VNTShred\\S1 4096 write-through");
        }
        EXPECT_TRUE(run.folders.empty());
    }
}

TEST_F(FreeSpaceFixture, LastFillersThatNeverShrinkTheFreeSpaceEndTheRun)
{
    Volume(100 * kMiB);
    volume.largestFile = 60 * kMiB;
    volume.fillersConsumeSpace = false;
    EXPECT_EQ(Run(), kFreeSpaceNotFilled);
    EXPECT_TRUE(FolderGone());
}

TEST_F(FreeSpaceFixture, FolderLeftByAFailedFinalShredIsStillRemoved)
{
    Volume(100 * kMiB);
    shredder.removesFolder = false;
    shredder.result = -5;
    EXPECT_EQ(Run(), kFreeSpaceDone);  // the engine's result is printed, not returned
    EXPECT_THAT(volume.printed, HasSubstr("VNTShredFile -5\n"));
    EXPECT_TRUE(FolderGone());
}

TEST_F(FreeSpaceFixture, FailedQueriesReportMinusTwoAndRemoveTheFolder)
{
    for (int failAt : {1, 2, 3}) {
        SimulatedVolume run;
        run.capacity = 10 * 64 * kMiB;
        run.freeSpaceFailsAt = failAt;
        RecordingShredder runShredder{run};
        EXPECT_EQ(WipeFreeDiskSpace(request, run, progressSystem, runShredder.Function()),
                  kFreeSpaceQueryFailed)
            << failAt;
        EXPECT_TRUE(run.folders.empty() && run.files.empty()) << failAt;
    }
    Volume(100 * kMiB);
    volume.geometryFails = true;
    request.driveLetter = 'c';
    EXPECT_EQ(Run(), kFreeSpaceQueryFailed);
    EXPECT_THAT(volume.log, ::testing::Contains("geometry C:\\"));
    EXPECT_THAT(volume.printed, HasSubstr("GetDiskFreeSpace c:\\VNTShred 3\n"));
    EXPECT_TRUE(volume.folders.empty());
}

TEST_F(FreeSpaceFixture, FolderFailureGoesToTheProgressTarget)
{
    Volume(100 * kMiB);
    volume.folderFails = true;
    const std::string expected =
        "C:\\VNTShred Error: 3 Drive type: 1 free disk: 104857600 Total: 10842275840";

    request.progress = progressSystem.AddProgressFile(L"p.xml", "<H/>\r\n");
    EXPECT_EQ(Run(), kFreeSpaceFolderFailed);
    EXPECT_EQ(progressSystem.files[L"p.xml"], "<H/>\r\n" + expected);

    progressSystem.code.insert(reinterpret_cast<const void*>(&RecordProgress));
    request.progress = reinterpret_cast<const void*>(&RecordProgress);
    EXPECT_EQ(Run(), kFreeSpaceFolderFailed);
    ASSERT_EQ(g_progress.size(), 1u);
    EXPECT_EQ(g_progress[0].kind, kWipeStartError);
    EXPECT_EQ(g_progress[0].value, kWipeStartError);
    EXPECT_EQ(g_progress[0].text, std::wstring(expected.begin(), expected.end()));

    request.progress = nullptr;  // nowhere to report: still -1
    EXPECT_EQ(Run(), kFreeSpaceFolderFailed);
    EXPECT_TRUE(shredder.calls.empty());

    // No drive letter: nothing is deleted or created.
    volume.folderFails = false;
    for (char letter : {'\\', '.', '\0', '1'}) {
        volume.log.clear();
        request.driveLetter = letter;
        EXPECT_EQ(Run(), kFreeSpaceFolderFailed);
        EXPECT_TRUE(volume.log.empty());
    }
}

TEST_F(FreeSpaceFixture, ClientAbortStopsTheEngineWithinOneChunk)
{
    Volume(100 * kGiB);
    request.progress = progressSystem.AddProgressFile(L"p.xml", "<H/>\r\n");
    progressSystem.clientInput = L"ABORT";
    EXPECT_EQ(Run(), kFreeSpaceAborted);
    EXPECT_EQ(shredder.progressSteps, 1);  // the next chunk saw the flag
    EXPECT_THAT(progressSystem.files[L"p.xml"], HasSubstr("<Status>Aborted</Status>"));
    EXPECT_THAT(progressSystem.files[L"p.xml"], ::testing::Not(HasSubstr("<TimeLeft>")));
    EXPECT_TRUE(FolderGone());
}

TEST_F(FreeSpaceFixture, ClientAbortWithTheCallersFlagOnlyChangesTheStatus)
{
    Volume(100 * kGiB);
    char abortFlag = 0;
    request.abortFlag = &abortFlag;
    request.progress = progressSystem.AddProgressFile(L"p.xml", "<H/>\r\n");
    progressSystem.clientInput = L"ABORT";
    EXPECT_EQ(Run(), kFreeSpaceDone);
    EXPECT_THAT(progressSystem.files[L"p.xml"], HasSubstr("<Status>Aborted</Status>"));
    EXPECT_EQ(shredder.calls[0].abortFlag, &abortFlag);
}

}  // namespace
}  // namespace shred::wipers::testing
