#include "suite/recyclebin/shred_run.h"

#include "suite/recyclebin/tests/scripted_engine.h"

#include <gtest/gtest.h>

#include <map>

namespace trashwipe {
namespace {

using testing::ScriptedEngine;
using testing::TallyObserver;

RecycledItemList TwoFromOnePlace()
{
    RecycledItemList list;
    list.Add({L"C:\\Bin\\$R1.txt", L"C:\\Docs\\a.txt", 1, 1, false});
    list.Add({L"C:\\Bin\\$R2.txt", L"C:\\Docs\\a.txt", 1, 1, false});
    list.Add({L"D:\\Bin\\$R3.txt", L"D:\\b.txt", 1, 1, false});
    return list;
}

TEST(ShredRun, ChosenRowsNameEachEntryOnceAndDecideTheEmptying)
{
    const RecycledItemList items = TwoFromOnePlace();
    struct Case
    {
        const char* what;
        std::vector<ContentsRow> rows;
        std::vector<std::wstring> paths;
        bool emptiedNew;
    };
    const Case cases[] = {
        {"every row",
         {{2, true}, {1, true}, {0, true}},
         {L"D:\\Bin\\$R3.txt", L"C:\\Bin\\$R2.txt", L"C:\\Bin\\$R1.txt"},
         true},
        {"one left out",
         {{2, true}, {1, false}, {0, true}},
         {L"D:\\Bin\\$R3.txt", L"C:\\Bin\\$R1.txt"},
         false},
        {"none", {{2, false}, {1, false}, {0, false}}, {}, false},
        {"empty list", {}, {}, false},
    };
    for (const Case& c : cases) {
        const ShredRunPlan plan = PlanShredRun(items, c.rows);
        EXPECT_EQ(plan.paths, c.paths) << c.what;
        EXPECT_EQ(ShouldEmptyRecycleBin(false, plan, false), c.emptiedNew) << c.what;
        EXPECT_FALSE(ShouldEmptyRecycleBin(true, plan, false)) << c.what;
        EXPECT_FALSE(ShouldEmptyRecycleBin(true, plan, true)) << c.what;
        EXPECT_TRUE(ShouldEmptyRecycleBin(false, plan, true)) << c.what;
    }
}

TEST(ShredRun, EveryPathGoesToTheEngineOnceWithPerItemResultsAndCounts)
{
    ScriptedEngine engine;
    engine.results[L"C:\\b"] = -1;
    TallyObserver observer;
    char abortFlag = 0;
    WorkerPass pass;
    pass.algorithm = 12;
    pass.observer = &observer;
    pass.abortFlag = &abortFlag;
    const std::vector<std::wstring> paths{L"C:\\a", L"C:\\b", L"C:\\c"};
    const std::vector<int> results = ShredPlannedPaths(engine, paths, pass);
    EXPECT_EQ(engine.calls, paths);
    EXPECT_EQ(engine.algorithms, (std::vector<int>{12, 12, 12}));
    EXPECT_EQ(results, (std::vector<int>{-100, -1, -100}));
    EXPECT_EQ(observer.tally.Succeeded(), 2);
    EXPECT_EQ(observer.tally.Failed(), 1);
    EXPECT_EQ(observer.tally.Aborted(), 0);
    EXPECT_EQ(observer.finished, 2);  // a failed file does not advance the total
}

TEST(ShredRun, AbortMidRunEndsEveryLaterPathAborted)
{
    ScriptedEngine engine;
    engine.abortAfter = L"C:\\b";
    TallyObserver observer;
    char abortFlag = 0;
    WorkerPass pass;
    pass.observer = &observer;
    pass.abortFlag = &abortFlag;
    ShredPlannedPaths(engine, {L"C:\\a", L"C:\\b", L"C:\\c", L"C:\\d"}, pass);
    EXPECT_EQ(engine.calls.size(), 4u);  // the rest is still reported, each once
    EXPECT_EQ(observer.tally.Succeeded(), 2);
    EXPECT_EQ(observer.tally.Aborted(), 2);
    EXPECT_TRUE(observer.tally.AnyFailure());
    EXPECT_EQ(abortFlag, 1);
}

TEST(ShredRun, DriveLettersForThePromptKeepCaseOrderAndSkipNetworkPaths)
{
    ScriptedEngine engine;
    DriveLetterSet letters;
    WorkerPass pass;
    pass.promptLetters = &letters;
    pass.isNetworkPath = [](const std::wstring& p) { return p.starts_with(L"\\\\"); };
    ShredPlannedPaths(engine, {L"C:\\a", L"c:\\b", L"C:\\c", L"\\\\srv\\s\\d", L"D:\\e"}, pass);
    EXPECT_EQ(std::wstring(letters.Text()), L"CcD");

    DriveLetterSet networkOnly;
    pass.promptLetters = &networkOnly;
    ShredPlannedPaths(engine, {L"\\\\srv\\s\\d"}, pass);
    EXPECT_EQ(std::wstring(networkOnly.Text()), L"");
}

TEST(ShredRun, DriveLetterSetHoldsTwentyFiveAndStaysTerminated)
{
    DriveLetterSet letters;
    for (wchar_t c = L'A'; c < L'A' + 25; ++c)
        EXPECT_EQ(letters.Add(c), static_cast<std::size_t>(c - L'A'));
    EXPECT_EQ(letters.Add(L'Z'), DriveLetterSet::kSlots);
    EXPECT_EQ(letters.Add(L'C'), 2u);
    EXPECT_EQ(std::wstring(letters.Text()).size(), 25u);
}

TEST(ShredRun, OldBinEntries)
{
    struct Case
    {
        const wchar_t* name;
        bool shred;
        bool index;
    };
    const Case cases[] = {
        {L".", false, false},           {L"..", false, false},         {L".hidden", false, false},
        {L"desktop.ini", false, false}, {L"Desktop.ini", true, false}, {L"INFO2", true, true},
        {L"INFO2.bak", true, true},     {L"info2", true, false},       {L"DC1.txt", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOldBinEntryShred(c.name), c.shred) << c.name;
        EXPECT_EQ(IsOldBinIndexFile(c.name), c.index) << c.name;
    }
}

}  // namespace
}  // namespace trashwipe
