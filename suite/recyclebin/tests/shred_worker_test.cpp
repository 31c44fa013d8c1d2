#include "suite/recyclebin/shred_worker.h"

#include "suite/recyclebin/tests/scripted_engine.h"

#include <gtest/gtest.h>

namespace trashwipe {
namespace {

// A progress view that records what the worker did with it; its window appears after a given
// number of tries, or never.
class RecordingView final : public IProgressView
{
public:
    void OnProgress(int, void**) override {}
    void OnObjectDone(std::wstring_view path, int, int result) override
    {
        done.emplace_back(std::wstring(path) + L"=" + std::to_wstring(result));
    }
    bool SetAbortFlag(volatile char* flag) override
    {
        ++abortTries;
        if (windowAfterTries < 0 || abortTries <= windowAfterTries)
            return false;
        deliveredFlag = flag;
        return true;
    }
    bool ModalLoopEnded() override { return abortTries >= loopEndsAfterTries; }
    void EngineCallEnded() override { ++callsEnded; }
    void Close() override { ++closes; }

    int windowAfterTries = 0;
    int loopEndsAfterTries = 1000;
    int abortTries = 0;
    volatile char* deliveredFlag = nullptr;
    int callsEnded = 0;
    int closes = 0;
    std::vector<std::wstring> done;
};

class RecordingPrompt final : public IPreviousVersionsPrompt
{
public:
    int Show(ShredAlgorithmId algorithm, const wchar_t* letters) override
    {
        shown.push_back(std::to_wstring(algorithm) + L"|" + letters);
        return answer;
    }
    int answer = 0;
    std::vector<std::wstring> shown;
};

struct WorkerFixture
{
    testing::ScriptedEngine engine;
    RecordingView view;
    RecordingPrompt prompt;
    bool leavePV = false;
    int leaveWrites = 0;
    std::vector<int> logLines;
    int sleeps = 0;
    std::vector<OldBinFile> oldFiles;

    ShredWorkerServices Services()
    {
        return {engine,
                view,
                prompt,
                [this] { return leavePV; },
                [this] { ++leaveWrites; },
                [this](int answer) { logLines.push_back(answer); },
                [](const std::wstring& path) { return path.starts_with(L"\\\\"); },
                [this] { return oldFiles; },
                [this](unsigned) { ++sleeps; }};
    }
};

ShredWorkerJob Job(std::vector<std::wstring> paths, bool interactive, bool version6)
{
    ShredWorkerJob job;
    job.algorithm = 5;
    job.paths = std::move(paths);
    job.interactive = interactive;
    job.majorVersion6 = version6;
    return job;
}

TEST(ShredWorker, HandsEveryPathOnceAndEndsEachEngineCall)
{
    WorkerFixture f;
    char abortFlag = 0;
    ShredWorkerJob job = Job({L"C:\\b\\$R1", L"C:\\b\\$R2", L"C:\\b\\$R3"}, true, false);
    job.abortFlag = &abortFlag;
    f.view.windowAfterTries = 2;
    ShredWorkerServices services = f.Services();
    RunShredWorker(job, services);
    EXPECT_EQ(f.engine.calls, job.paths);
    EXPECT_EQ(f.engine.algorithms, (std::vector<ShredAlgorithmId>{5, 5, 5}));
    EXPECT_EQ(f.view.done.size(), 3u);  // the view hears every object: it writes the log rows
    EXPECT_EQ(f.view.callsEnded, 3);
    EXPECT_EQ(f.view.deliveredFlag, &abortFlag);
    EXPECT_EQ(f.sleeps, 2);
    EXPECT_EQ(f.view.closes, 1);
}

TEST(ShredWorker, StopsWaitingForTheWindowOnceTheModalLoopIsOver)
{
    WorkerFixture f;
    f.view.windowAfterTries = -1;  // Escape before the window took the flag
    f.view.loopEndsAfterTries = 3;
    ShredWorkerJob job = Job({L"C:\\b\\$R1"}, true, false);
    ShredWorkerServices services = f.Services();
    RunShredWorker(job, services);
    EXPECT_EQ(f.view.abortTries, 3);
    EXPECT_EQ(f.engine.calls.size(), 1u);
}

TEST(ShredWorker, AbortMidRunLeavesTheRestAborted)
{
    WorkerFixture f;
    char abortFlag = 0;
    f.engine.abortAfter = L"C:\\b\\$R1";
    ShredWorkerJob job = Job({L"C:\\b\\$R1", L"C:\\b\\$R2", L"C:\\b\\$R3"}, false, false);
    job.abortFlag = &abortFlag;
    ShredWorkerServices services = f.Services();
    RunShredWorker(job, services);
    EXPECT_EQ(f.view.done,
              (std::vector<std::wstring>{L"C:\\b\\$R1=-100", L"C:\\b\\$R2=-6", L"C:\\b\\$R3=-6"}));
    EXPECT_EQ(f.view.abortTries, 0);  // silent: no window to give the flag to
    EXPECT_EQ(f.view.closes, 0);
}

TEST(ShredWorker, AFailedCallThatReportedNothingStillGetsItsRow)
{
    WorkerFixture f;
    f.engine.results[L"C:\\b\\$R2"] = kShredAbortedResult;
    f.engine.results[L"C:\\b\\$R3"] = kEngineMissing;  // its message was shown instead
    f.engine.unreported = {L"C:\\b\\$R2", L"C:\\b\\$R3"};
    ShredWorkerJob job = Job({L"C:\\b\\$R1", L"C:\\b\\$R2", L"C:\\b\\$R3"}, false, false);
    ShredWorkerServices services = f.Services();
    RunShredWorker(job, services);
    EXPECT_EQ(f.view.done, (std::vector<std::wstring>{L"C:\\b\\$R1=-100", L"C:\\b\\$R2=-6"}));
}

TEST(ShredWorker, PreviousVersionsPromptOnlyAfterAnInteractiveVersion6Run)
{
    const struct
    {
        bool interactive;
        bool version6;
        bool leavePV;
        int answer;
        std::vector<std::wstring> shown;
        int leaveWrites;
        std::vector<int> logLines;
    } cases[] = {
        {true, true, false, 1, {L"5|CcD"}, 0, {1}}, {true, true, false, -2, {L"5|CcD"}, 1, {-2}},
        {true, true, false, 0, {L"5|CcD"}, 0, {0}}, {true, true, true, 1, {}, 0, {}},
        {false, true, false, 1, {}, 0, {}},         {true, false, false, 1, {}, 0, {}},
    };
    for (const auto& c : cases) {
        WorkerFixture f;
        f.leavePV = c.leavePV;
        f.prompt.answer = c.answer;
        ShredWorkerJob job = Job(
            {L"C:\\b\\$R1", L"c:\\b\\$R2", L"\\\\server\\share\\$R3", L"D:\\b\\$R4", L"C:\\b\\$R5"},
            c.interactive, c.version6);
        ShredWorkerServices services = f.Services();
        RunShredWorker(job, services);
        EXPECT_EQ(f.prompt.shown, c.shown);
        EXPECT_EQ(f.leaveWrites, c.leaveWrites);
        EXPECT_EQ(f.logLines, c.logLines);
    }
}

TEST(ShredWorker, NetworkPathsOnlyStillAskWithNoLetters)
{
    WorkerFixture f;
    ShredWorkerJob job = Job({L"\\\\server\\share\\$R1"}, true, true);
    ShredWorkerServices services = f.Services();
    RunShredWorker(job, services);
    EXPECT_EQ(f.prompt.shown, (std::vector<std::wstring>{L"5|"}));
}

TEST(ShredWorker, OldBinShredsEveryRecycledFileButDesktopIniAndTheIndexWithoutRows)
{
    WorkerFixture f;
    f.oldFiles = {{L"C:\\Recycled\\.", L"."},
                  {L"C:\\Recycled\\..", L".."},
                  {L"C:\\Recycled\\desktop.ini", L"desktop.ini"},
                  {L"C:\\Recycled\\INFO2", L"INFO2"},
                  {L"C:\\Recycled\\DC1.txt", L"DC1.txt"},
                  {L"D:\\Recycled\\DD2.doc", L"DD2.doc"}};
    ShredWorkerJob job = Job({L"ignored on the old bin"}, true, false);
    job.newRecycleBin = false;
    ShredWorkerServices services = f.Services();
    RunShredWorker(job, services);
    EXPECT_EQ(f.engine.calls,
              (std::vector<std::wstring>{L"C:\\Recycled\\INFO2", L"C:\\Recycled\\DC1.txt",
                                         L"D:\\Recycled\\DD2.doc"}));
    EXPECT_EQ(f.view.done, (std::vector<std::wstring>{L"C:\\Recycled\\DC1.txt=-100",
                                                      L"D:\\Recycled\\DD2.doc=-100"}));
    EXPECT_TRUE(f.prompt.shown.empty());
}

}  // namespace
}  // namespace trashwipe
