// The shred run's pass over a fixture Recycle Bin through the real Filewipe.dll.
#include "suite/recyclebin/count_path_win32.h"
#include "suite/recyclebin/filewipe_engine_win32.h"
#include "suite/recyclebin/tests/trashwipe_test_environment_win32.h"
#include "tests/support/scratch_folder_win32.h"

#include <gtest/gtest.h>

#include <map>

namespace trashwipe {
namespace {

class FixedLocator final : public suite::ISuiteLocator
{
public:
    explicit FixedLocator(std::wstring folder) : m_folder(std::move(folder)) {}
    std::wstring SuiteLibraryFolder(std::wstring_view) override { return m_folder; }
    std::wstring ModuleFolder() override { return m_folder; }

private:
    std::wstring m_folder;
};

class RecordedMessages final : public suite::IUserMessages
{
public:
    void Show(std::wstring_view text, std::wstring_view, suite::MessageIcon) override
    {
        shown.emplace_back(text);
    }
    std::vector<std::wstring> shown;
};

class EngineObserver final : public IShredObserver
{
public:
    void OnProgress(int percent, void** pauseEvent) override
    {
        finished += percent == kFinishedFilePercent;
        sawPauseEvent = sawPauseEvent || (pauseEvent && *pauseEvent);
    }
    void OnObjectDone(std::wstring_view path, int kind, int result) override
    {
        tally.Record(path, kind, result);
    }
    ShredTally tally;
    int finished = 0;
    bool sawPauseEvent = false;
};

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

TEST(FilewipeShred, EveryChosenEntryIsShredOnceThroughTheRealEngine)
{
    testsupport::ScratchFolder scratch;
    testing::FixtureRecycleBin bin = testing::MakeSampleBin(scratch);
    const RecycledItemList items = ReadRecycleBin(bin);
    ASSERT_EQ(items.Size(), 3u);
    EXPECT_EQ(items[1].fileCount, 2);  // the dot file is not counted
    EXPECT_EQ(items[1].size, 5u);      // nor are its bytes

    // Rows in reverse enumeration order, every row checked.
    const ShredRunPlan plan = PlanShredRun(items, {{2, true}, {1, true}, {0, true}});
    FixedLocator locator(Widen(FILEWIPE_FOLDER));
    RecordedMessages messages;
    FilewipeEngine engine(locator, messages);
    EngineObserver observer;
    char abortFlag = 0;
    WorkerPass pass;
    pass.algorithm = 0;
    pass.observer = &observer;
    pass.abortFlag = &abortFlag;
    const std::vector<int> results = ShredPlannedPaths(engine, plan.paths, pass);

    EXPECT_EQ(results, (std::vector<int>{-100, -100, -100}));
    EXPECT_TRUE(messages.shown.empty());
    for (const RecycledItem& item : items.Items())
        EXPECT_FALSE(testsupport::FileExists(item.realPath) ||
                     testsupport::FolderExists(item.realPath))
            << std::string(item.realPath.begin(), item.realPath.end());
    std::map<std::wstring, int> reported;
    for (const ObjectResult& r : observer.tally.Results())
        ++reported[r.path];
    for (const auto& [path, times] : reported)
        EXPECT_EQ(times, 1) << std::string(path.begin(), path.end());
    // Both same-place files; in the folder entry its three files (the engine shreds the dot
    // file too), its sub-folder and the folder itself.
    EXPECT_EQ(observer.tally.Succeeded(), 7);
    EXPECT_EQ(observer.tally.Failed() + observer.tally.Aborted(), 0);
    EXPECT_TRUE(observer.sawPauseEvent);
    EXPECT_TRUE(ShouldEmptyRecycleBin(abortFlag != 0, plan, false));
}

TEST(FilewipeShred, AbortSetBeforeTheRunLeavesEveryFile)
{
    testsupport::ScratchFolder scratch;
    testing::FixtureRecycleBin bin = testing::MakeSampleBin(scratch);
    const RecycledItemList items = ReadRecycleBin(bin);
    const ShredRunPlan plan = PlanShredRun(items, {{2, true}, {1, true}, {0, true}});
    FixedLocator locator(Widen(FILEWIPE_FOLDER));
    RecordedMessages messages;
    FilewipeEngine engine(locator, messages);
    EngineObserver observer;
    char abortFlag = 1;
    WorkerPass pass;
    pass.observer = &observer;
    pass.abortFlag = &abortFlag;
    ShredPlannedPaths(engine, plan.paths, pass);
    EXPECT_EQ(observer.tally.Succeeded(), 0);
    EXPECT_EQ(observer.tally.Failed(), 0);
    EXPECT_TRUE(testsupport::FileExists(items[0].realPath));
    EXPECT_FALSE(ShouldEmptyRecycleBin(true, plan, false));
}

TEST(FilewipeShred, MissingEngineIsReportedPerItemAndYieldsNoRows)
{
    testsupport::ScratchFolder scratch;
    testing::FixtureRecycleBin bin = testing::MakeSampleBin(scratch);
    const RecycledItemList items = ReadRecycleBin(bin);
    FixedLocator locator(scratch.Path());  // no Filewipe.dll there
    RecordedMessages messages;
    FilewipeEngine engine(locator, messages);
    EngineObserver observer;
    WorkerPass pass;
    pass.observer = &observer;
    const std::vector<int> results =
        ShredPlannedPaths(engine, {items[0].realPath, items[2].realPath}, pass);
    EXPECT_EQ(results, (std::vector<int>{kEngineMissing, kEngineMissing}));
    EXPECT_EQ(messages.shown,
              (std::vector<std::wstring>(2, L"Could not locate necessary dll 'Filewipe.dll'")));
    EXPECT_TRUE(observer.tally.Results().empty());
}

TEST(FilewipeShred, CountPathOfAMissingPathIsOneFileOfNoBytes)
{
    std::uint64_t size = 5;
    EXPECT_EQ(VNTCountPath(L"C:\\no\\such\\entry", size), 1);
    EXPECT_EQ(size, 5u);
}

}  // namespace
}  // namespace trashwipe
