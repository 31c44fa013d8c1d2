#include "shred/engine/path_walker.h"
#include "shred/engine/name_wiper.h"
#include "shred/engine/shred_call.h"
#include "shred/engine/tests/memory_system.h"
#include "shred/engine/tests/scripted_system.h"
#include "shred/engine/tests/shred_test_support.h"
#include "shred/engine/tests/walk_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace shred::testing {
namespace {

class FakeEventLog : public IShredEventLog
{
public:
    std::uint32_t mode = 0;
    mutable int registrations = 0;
    mutable std::vector<DoneCall> records;  // kind unused: 0

    std::uint32_t ReadEventLogSetting() const override { return mode; }
    void RegisterShredEventSource() const override { ++registrations; }
    void ReportShredEvent(const std::wstring& path, int, int result) const override
    {
        records.push_back(DoneCall{path, 0, result});
    }
};

const std::vector<std::uint8_t> kCanary = Original(3000);

class ShredWalkTest : public ::testing::Test
{
protected:
    ShredWalkTest()
    {
        m_memory.AddFolder(L"C:");
        m_memory.AddFolder(L"C:\\work");
        m_memory.AddFile(L"C:\\work\\canary.txt", kCanary);
    }

    // The nested tree most tests shred: files of several sizes at three depths.
    void MakeTree()
    {
        m_memory.AddFolder(L"C:\\work\\tree");
        m_memory.AddFile(L"C:\\work\\tree\\a.bin", Original(70000));
        m_memory.AddFolder(L"C:\\work\\tree\\sub");
        m_memory.AddFile(L"C:\\work\\tree\\sub\\b.txt", Original(1024));
        m_memory.AddFile(L"C:\\work\\tree\\sub\\.hidden", {});
        m_memory.AddFolder(L"C:\\work\\tree\\sub\\deep");
        m_memory.AddFile(L"C:\\work\\tree\\sub\\deep\\c.dat", Original(5));
    }

    ShredResult Run(const std::wstring& path, int algorithmId = 0, bool keepFile = false,
                    const ShredVariant& variant = kVolumewipe)
    {
        ShredRequest request;
        request.path = path.c_str();
        request.ctx = &m_recorder;
        request.pauseEvent = m_pauseEvent;
        request.abortFlag = &m_abort;
        request.progress = RecordProgress;
        request.fileDone = RecordDone;
        request.keepFile = keepFile;
        return ShredWithAlgorithm(
            m_system, variant, m_log, algorithmId, [] { return kShredCharForTests; }, request);
    }

    bool Opened(const std::wstring& path) const
    {
        return std::find(m_system.calls.begin(), m_system.calls.end(), L"open " + path) !=
               m_system.calls.end();
    }

    MemorySystem m_memory;
    ScriptedSystem m_system{m_memory};
    FakeEventLog m_log;
    WalkRecorder m_recorder;
    char m_abort = 0;
    void** m_pauseEvent = nullptr;
};

TEST_F(ShredWalkTest, FolderIsShreddedDepthFirstWithEveryObjectReported)
{
    MakeTree();
    ASSERT_EQ(Run(L"C:\\work\\tree", 1), kShredDone);

    const std::vector<DoneCall> expected{
        {L"C:\\work\\tree\\a.bin", 10, -100},
        {L"C:\\work\\tree\\sub\\.hidden", 10, -100},
        {L"C:\\work\\tree\\sub\\b.txt", 10, -100},
        {L"C:\\work\\tree\\sub\\deep\\c.dat", 10, -100},
        {L"C:\\work\\tree\\sub\\deep", 20, -100},
        {L"C:\\work\\tree\\sub", 20, -100},
        {L"C:\\work\\tree", 20, -100},
    };
    EXPECT_EQ(m_recorder.done, expected);
    EXPECT_FALSE(m_recorder.foreignRefs);
    EXPECT_EQ(m_recorder.lastRefs, 1);
    ASSERT_FALSE(m_recorder.progress.empty());
    const ProgressCall& start = m_recorder.progress.front();
    EXPECT_EQ(start.percent, 0);
    EXPECT_EQ(start.fileCount, 4);
    // Percent 200 once per file, never for a folder, with fileIndex counting files only.
    std::vector<int> doneIndexes;
    for (const ProgressCall& call : m_recorder.WithPercent(200))
        doneIndexes.push_back(call.fileIndex);
    EXPECT_EQ(doneIndexes, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(m_memory.Children(L"C:\\work"), std::vector<std::wstring>{L"canary.txt"});
    EXPECT_EQ(m_memory.Read(L"C:\\work\\canary.txt"), kCanary);
    EXPECT_EQ(m_system.printed.substr(0, 13), "VNTShredFile\n");
}

TEST_F(ShredWalkTest, FailedChildKeepsItsFolderAndFailsTheCall)
{
    MakeTree();
    m_system.failOpen = [](const std::wstring& path, const OpenOptions&) {
        return path == L"C:\\work\\tree\\sub\\b.txt";
    };
    EXPECT_EQ(Run(L"C:\\work\\tree"), kShredNotFound);

    // The unshredded file and every folder above it stay; nothing was deleted unoverwritten.
    EXPECT_EQ(m_memory.Read(L"C:\\work\\tree\\sub\\b.txt"), Original(1024));
    EXPECT_FALSE(m_memory.Exists(L"C:\\work\\tree\\a.bin"));
    EXPECT_FALSE(m_memory.Exists(L"C:\\work\\tree\\sub\\deep"));
    const std::vector<DoneCall> tail(m_recorder.done.end() - 3, m_recorder.done.end());
    const std::vector<DoneCall> expected{{L"C:\\work\\tree\\sub\\deep", 20, -100},
                                         {L"C:\\work\\tree\\sub", 20, -1},
                                         {L"C:\\work\\tree", 20, -1}};
    EXPECT_EQ(tail, expected);
}

TEST_F(ShredWalkTest, FailuresOfEveryKindReachTheCaller)
{
    struct Case
    {
        const char* name;
        std::function<void(ScriptedSystem&)> inject;
        ShredResult expected;
    };
    const std::vector<Case> cases{
        {"first rename", [](ScriptedSystem& s) { s.failMove = [](auto&, auto&) { return true; }; },
         kShredRenameFailed},
        {"delete", [](ScriptedSystem& s) { s.failRemove = [](auto&) { return true; }; },
         kShredRemoveFailed},
        {"folder removal",
         [](ScriptedSystem& s) {
             s.failRemove = [](const std::wstring& path) {
                 return path.find(L"\\f\\") == std::wstring::npos;  // the folder, not its file
             };
         },
         kShredFolderFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySystem memory;
        memory.AddFolder(L"C:");
        memory.AddFolder(L"C:\\work");
        memory.AddFolder(L"C:\\work\\f");
        memory.AddFile(L"C:\\work\\f\\x.txt", Original(10));
        ScriptedSystem system(memory);
        c.inject(system);
        const FakeEventLog log;
        WalkRecorder recorder;
        ShredRequest request;
        request.path = L"C:\\work\\f";
        request.ctx = &recorder;
        request.fileDone = RecordDone;
        EXPECT_EQ(ShredWithAlgorithm(
                      system, kFilewipe, log, 0, [] { return 0; }, request),
                  c.expected);
        ASSERT_FALSE(recorder.done.empty());
        EXPECT_EQ(recorder.done.back().result, c.expected);
    }
}

TEST_F(ShredWalkTest, PatternShredsEveryMatchAndTheContentsOfMatchedFolders)
{
    m_memory.AddFile(L"C:\\work\\p1.log", Original(100));
    m_memory.AddFile(L"C:\\work\\p2.log", Original(200));
    m_memory.AddFolder(L"C:\\work\\pdir.log");
    m_memory.AddFile(L"C:\\work\\pdir.log\\inside.txt", Original(300));
    ASSERT_EQ(Run(L"C:\\work\\p*.log"), kShredDone);

    EXPECT_TRUE(Opened(L"C:\\work\\pdir.log\\inside.txt"));  // overwritten, not just deleted
    EXPECT_EQ(m_memory.Children(L"C:\\work"), std::vector<std::wstring>{L"canary.txt"});
    EXPECT_EQ(m_recorder.progress.front().fileCount, 3);
    EXPECT_EQ(m_recorder.WithPercent(200).back().fileIndex, 3);
    const std::vector<DoneCall> expected{{L"C:\\work\\p1.log", 10, -100},
                                         {L"C:\\work\\p2.log", 10, -100},
                                         {L"C:\\work\\pdir.log\\inside.txt", 10, -100},
                                         {L"C:\\work\\pdir.log", 20, -100}};
    EXPECT_EQ(m_recorder.done, expected);
}

TEST_F(ShredWalkTest, LinksAreRemovedAndNeverFollowed)
{
    m_memory.AddFolder(L"C:\\outside");
    m_memory.AddFile(L"C:\\outside\\keep.txt", kCanary);
    MakeTree();
    m_memory.AddLink(L"C:\\work\\tree\\junction", L"C:\\outside", true);
    m_memory.AddLink(L"C:\\work\\tree\\symlink.txt", L"C:\\outside\\keep.txt", false);

    EXPECT_EQ(CountShredTargets(m_system, kVolumewipe, L"C:\\work\\tree"), 6);
    ASSERT_EQ(Run(L"C:\\work\\tree"), kShredDone);
    EXPECT_EQ(m_memory.Read(L"C:\\outside\\keep.txt"), kCanary);
    EXPECT_FALSE(m_memory.Exists(L"C:\\work\\tree"));
    EXPECT_FALSE(Opened(L"C:\\work\\tree\\symlink.txt"));
    // A link given as the path itself goes as a name too.
    m_memory.AddLink(L"C:\\work\\top", L"C:\\outside", true);
    EXPECT_EQ(Run(L"C:\\work\\top"), kShredDone);
    EXPECT_EQ(m_memory.Children(L"C:\\outside"), std::vector<std::wstring>{L"keep.txt"});
    EXPECT_FALSE(m_memory.Exists(L"C:\\work\\top"));
}

TEST_F(ShredWalkTest, PathsThatMatchNothing)
{
    MakeTree();
    struct Case
    {
        std::wstring path;
        const ShredVariant* variant;
        int count;
    };
    const std::vector<Case> cases{{L"C:\\work\\missing", &kVolumewipe, 0},
                                  {L"C:\\work\\missing", &kFilewipe, 1},
                                  {L"C:\\work\\tree\\", &kVolumewipe, 0},
                                  {L"C:\\work\\none*.x", &kFilewipe, 1}};
    for (const Case& c : cases) {
        m_recorder = {};
        m_log.mode = 2;
        m_log.records.clear();
        EXPECT_EQ(Run(c.path, 0, false, *c.variant), kShredNotFound);
        EXPECT_TRUE(m_recorder.done.empty());
        ASSERT_EQ(m_recorder.progress.size(), 1u);
        EXPECT_EQ(m_recorder.progress[0].fileCount, c.count);
        EXPECT_EQ(m_log.records, (std::vector<DoneCall>{{c.path, 0, -1}}));
    }
    EXPECT_TRUE(m_memory.Exists(L"C:\\work\\tree\\a.bin"));
}

TEST_F(ShredWalkTest, EveryWrittenFormShredsExactlyTheObjectItNames)
{
    struct Case
    {
        std::wstring path;
        std::vector<std::wstring> shredded;  // overwritten and gone
    };
    const std::vector<Case> cases{
        {L"C:\\work\\t\\dir/a.txt", {L"C:\\work\\t\\dir\\a.txt"}},
        {L"C:/work/t/dir/a.txt", {L"C:\\work\\t\\dir\\a.txt"}},
        {L"t\\dir\\a.txt", {L"C:\\work\\t\\dir\\a.txt"}},
        {L"t/dir/../dir/./a.txt", {L"C:\\work\\t\\dir\\a.txt"}},
        {L"C:t\\dir\\a.txt", {L"C:\\work\\t\\dir\\a.txt"}},
        {L"\\work\\t\\dir\\a.txt", {L"C:\\work\\t\\dir\\a.txt"}},
        {L"C:\\work\\t\\dir/a*.txt", {L"C:\\work\\t\\dir\\a.txt", L"C:\\work\\t\\dir\\ab.txt"}},
        {L"C:\\work\\t\\dir ", {L"C:\\work\\t\\dir\\a.txt", L"C:\\work\\t\\dir\\ab.txt"}},
        {L"t\\dir. .", {L"C:\\work\\t\\dir\\a.txt", L"C:\\work\\t\\dir\\ab.txt"}},
        {L"C:\\work\\t\\dir.\\a.txt .", {L"C:\\work\\t\\dir\\a.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.path));
        m_memory.driveFolders[L'C'] = L"C:\\work";
        m_memory.AddFolder(L"C:\\work\\t");
        m_memory.AddFile(L"C:\\work\\t\\a.txt", kCanary);
        m_memory.AddFolder(L"C:\\work\\t\\dir");
        m_memory.AddFile(L"C:\\work\\t\\dir\\a.txt", Original(100));
        m_memory.AddFile(L"C:\\work\\t\\dir\\ab.txt", Original(200));
        m_system.calls.clear();
        EXPECT_EQ(Run(c.path), kShredDone);
        for (const std::wstring& path : c.shredded) {
            EXPECT_TRUE(Opened(path)) << ::testing::PrintToString(path);
            EXPECT_FALSE(m_memory.Exists(path)) << ::testing::PrintToString(path);
        }
        EXPECT_EQ(m_memory.Read(L"C:\\work\\t\\a.txt"), kCanary);
        EXPECT_EQ(m_memory.Read(L"C:\\work\\canary.txt"), kCanary);
        DeleteTree(m_memory, L"C:\\work\\t");
    }
}

TEST_F(ShredWalkTest, NamesTheSystemReturnsAreNeverFollowedAsPatternsOrPaths)
{
    m_memory.AddFolder(L"C:\\outside");
    m_memory.AddFile(L"C:\\outside\\keep.txt", kCanary);
    m_memory.AddFolder(L"C:\\work\\t");
    m_memory.AddFile(L"C:\\work\\t\\b", kCanary);  // what "b." would reach
    m_memory.AddFile(L"C:\\work\\t\\real.txt", Original(10));
    const std::vector<FolderEntry> hostile{
        {L"*", true, false},
        {L"a?b", true, false},
        {L".", true, false},
        {L"..", true, false},
        {L"..\\..\\outside", true, false},
        {L"..\\canary.txt", false, false},
        {L"x/y", false, false},
        {L"b.", false, false},
        {L"b ", false, false},
        {L"", false, false},
    };
    for (const std::wstring target : {L"C:\\work\\t", L"C:\\work\\t\\*"}) {
        SCOPED_TRACE(::testing::PrintToString(target));
        m_memory.AddFile(L"C:\\work\\t\\real.txt", Original(10));
        m_recorder = {};
        // Every folder and every search answers with the real file and the hostile names.
        const auto answer = [&](const std::wstring&) -> std::optional<std::vector<FolderEntry>> {
            std::vector<FolderEntry> entries{{L"real.txt", false, false}};
            entries.insert(entries.end(), hostile.begin(), hostile.end());
            return entries;
        };
        m_system.listOverride = [&](const std::wstring& folder) {
            return folder.starts_with(L"C:\\work\\t") ? answer(folder) : std::nullopt;
        };
        m_system.matchesOverride = [&](const std::wstring& pattern) {
            return pattern == L"C:\\work\\t\\*" ? answer(pattern) : std::nullopt;
        };
        EXPECT_EQ(Run(target), kShredNotFound);
        EXPECT_FALSE(m_memory.Exists(L"C:\\work\\t\\real.txt"));
        EXPECT_TRUE(m_memory.Exists(L"C:\\work\\t"));
        EXPECT_EQ(m_memory.Read(L"C:\\work\\t\\b"), kCanary);
        EXPECT_EQ(m_memory.Read(L"C:\\outside\\keep.txt"), kCanary);
        EXPECT_EQ(m_memory.Read(L"C:\\work\\canary.txt"), kCanary);
        for (const DoneCall& done : m_recorder.done) {
            if (done.path.ends_with(L"real.txt"))
                EXPECT_EQ(done.result, kShredDone);
            else
                EXPECT_EQ(done.result, kShredNotFound) << ::testing::PrintToString(done.path);
        }
    }
}

TEST_F(ShredWalkTest, AFolderLoopTheSystemDoesNotReportEndsAtTheDepthBound)
{
    m_memory.AddFolder(L"C:\\work\\loop");
    int listings = 0;
    m_system.listOverride =
        [&](const std::wstring& folder) -> std::optional<std::vector<FolderEntry>> {
        if (!folder.starts_with(L"C:\\work\\loop"))
            return std::nullopt;
        ++listings;
        return std::vector<FolderEntry>{{L"loop", true, false}};
    };
    EXPECT_EQ(CountShredTargets(m_system, kVolumewipe, L"C:\\work\\loop"), 0);
    listings = 0;
    EXPECT_EQ(Run(L"C:\\work\\loop"), kShredNotFound);
    EXPECT_LE(listings, 2 * (kMaxWalkDepth + 2));
    EXPECT_TRUE(m_memory.Exists(L"C:\\work\\loop"));
    ASSERT_FALSE(m_recorder.done.empty());
    EXPECT_EQ(m_recorder.done.back(), (DoneCall{L"C:\\work\\loop", 20, -1}));
}

TEST_F(ShredWalkTest, AttributesChangeOnlyOnObjectsBeingShredded)
{
    struct Case
    {
        const char* name;
        std::wstring path;
        bool abortAfterFirstFile;
        std::vector<std::wstring> cleared;
    };
    const std::vector<Case> cases{
        {"abort in a folder", L"C:\\work\\tree", true, {L"C:\\work\\tree\\a.bin"}},
        {"abort in a pattern", L"C:\\work\\tree\\sub\\*", true, {L"C:\\work\\tree\\sub\\.hidden"}},
        {"missing path", L"C:\\work\\tree\\none", false, {}},
        {"refused path", L"C:\\work\\tree\\", false, {}},
        {"pattern", L"C:\\work\\tree\\sub\\deep\\*", false, {L"C:\\work\\tree\\sub\\deep\\c.dat"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeTree();
        m_abort = 0;
        m_system.attributesCleared.clear();
        m_recorder = {};
        if (c.abortAfterFirstFile)
            m_recorder.onProgress = [this](const ProgressCall& call) {
                if (call.percent == 200)
                    m_abort = 1;
            };
        Run(c.path);
        EXPECT_EQ(m_system.attributesCleared, c.cleared);
        DeleteTree(m_memory, L"C:\\work\\tree");
    }
}

TEST_F(ShredWalkTest, VanishedObjectIsNeverTakenForAFolder)
{
    m_memory.AddFile(L"C:\\work\\gone.txt", Original(10));
    m_system.factsOverride = [](const std::wstring& path) -> std::optional<ObjectFacts> {
        if (path == L"C:\\work\\gone.txt")
            return ObjectFacts{};
        return std::nullopt;
    };
    m_system.failOpen = [](auto&, auto&) { return true; };
    EXPECT_EQ(Run(L"C:\\work\\gone.txt"), kShredNotFound);
    EXPECT_TRUE(m_memory.Exists(L"C:\\work\\gone.txt"));
}

TEST_F(ShredWalkTest, AbortBeforeTheWalkTouchesNothing)
{
    MakeTree();
    m_abort = 1;
    EXPECT_EQ(Run(L"C:\\work\\tree"), kShredAborted);
    EXPECT_EQ(m_recorder.progress.size(), 1u);
    EXPECT_TRUE(m_recorder.done.empty());
    EXPECT_TRUE(std::none_of(m_system.calls.begin(), m_system.calls.end(),
                             [](const std::wstring& c) { return c.rfind(L"open", 0) == 0; }));
}

TEST_F(ShredWalkTest, AbortDuringTheWalkEndsEveryLevelWithMinusSix)
{
    MakeTree();
    m_recorder.onProgress = [this](const ProgressCall& call) {
        if (call.percent == 200)
            m_abort = 1;  // after the first file
    };
    EXPECT_EQ(Run(L"C:\\work\\tree"), kShredAborted);
    // A child folder entered after the abort stops at once, unreported; its parent reports -6.
    const std::vector<DoneCall> expected{{L"C:\\work\\tree\\a.bin", 10, -100},
                                         {L"C:\\work\\tree", 20, -6}};
    EXPECT_EQ(m_recorder.done, expected);
    EXPECT_EQ(m_memory.Read(L"C:\\work\\tree\\sub\\b.txt"), Original(1024));
}

TEST_F(ShredWalkTest, AbortDuringAPatternReportsEveryRemainingMatch)
{
    for (const wchar_t* name : {L"m1.tmp", L"m2.tmp", L"m3.tmp"})
        m_memory.AddFile(std::wstring(L"C:\\work\\") + name, Original(10));
    m_recorder.onProgress = [this](const ProgressCall& call) {
        if (call.percent == 200)
            m_abort = 1;
    };
    EXPECT_EQ(Run(L"C:\\work\\m*.tmp"), kShredAborted);
    const std::vector<DoneCall> expected{{L"C:\\work\\m1.tmp", 10, -100},
                                         {L"C:\\work\\m2.tmp", 10, -6},
                                         {L"C:\\work\\m3.tmp", 10, -6}};
    EXPECT_EQ(m_recorder.done, expected);
    EXPECT_EQ(m_memory.Read(L"C:\\work\\m3.tmp"), Original(10));
}

TEST_F(ShredWalkTest, KeepFileOverwritesAndKeepsEverything)
{
    MakeTree();
    ASSERT_EQ(Run(L"C:\\work\\tree", 0, true), kShredDone);
    EXPECT_EQ(m_memory.Read(L"C:\\work\\tree\\a.bin"), std::vector<std::uint8_t>(70000, 0));
    EXPECT_EQ(m_memory.Read(L"C:\\work\\tree\\sub\\deep\\c.dat"), std::vector<std::uint8_t>(5, 0));
    EXPECT_TRUE(m_memory.Exists(L"C:\\work\\tree\\sub\\deep"));
}

TEST_F(ShredWalkTest, OwnPauseEventAndItsFailure)
{
    m_memory.AddFile(L"C:\\work\\x.txt", Original(10));
    ASSERT_EQ(Run(L"C:\\work\\x.txt"), kShredDone);
    EXPECT_EQ(m_system.calls.front(), L"event PauseEvent");
    ASSERT_FALSE(m_recorder.progress.empty());
    EXPECT_NE(m_recorder.progress.front().pauseEvent, nullptr);

    m_memory.AddFile(L"C:\\work\\y.txt", Original(10));
    m_recorder = {};
    m_system.failCreateEvent = true;
    m_log.mode = 3;
    EXPECT_EQ(Run(L"C:\\work\\y.txt"), kShredNoPauseEvent);
    EXPECT_TRUE(m_recorder.progress.empty());
    EXPECT_EQ(m_log.records, (std::vector<DoneCall>{{L"C:\\work\\y.txt", 0, -10}}));
    EXPECT_TRUE(m_memory.Exists(L"C:\\work\\y.txt"));

    // A caller's own event is used as given.
    void* callerEvent = &m_abort;
    m_pauseEvent = &callerEvent;
    m_system.failCreateEvent = false;
    m_recorder = {};
    EXPECT_EQ(Run(L"C:\\work\\y.txt"), kShredDone);
    EXPECT_EQ(m_recorder.progress.front().pauseEvent, &callerEvent);
}

TEST_F(ShredWalkTest, EventLogModes)
{
    MakeTree();
    m_log.mode = 2;
    ASSERT_EQ(Run(L"C:\\work\\tree\\sub\\deep"), kShredDone);
    EXPECT_EQ(m_log.records, (std::vector<DoneCall>{{L"C:\\work\\tree\\sub\\deep\\c.dat", 0, -100},
                                                    {L"C:\\work\\tree\\sub\\deep", 0, -100}}));
    m_log.mode = 1;
    m_log.records.clear();
    ASSERT_EQ(Run(L"C:\\work\\tree"), kShredDone);
    EXPECT_EQ(m_log.records, (std::vector<DoneCall>{{L"C:\\work\\tree", 0, -100}}));
    EXPECT_EQ(m_log.registrations, 2);
}

TEST_F(ShredWalkTest, RefusedAlgorithmsAndUnreadableRuns)
{
    m_memory.AddFile(L"C:\\work\\x.txt", Original(10));
    EXPECT_EQ(Run(L"C:\\work\\x.txt", 13), kShredRefused);
    EXPECT_EQ(m_system.printed, "VNTShredFile\nVNTShredFile -2\n");
    EXPECT_TRUE(m_recorder.progress.empty());

    ShredRequest request;
    request.path = L"C:\\work\\x.txt";
    EXPECT_EQ(ShredWithRun(m_system, kFilewipe, m_log, nullptr, request), kShredRefused);
    PassRecord broken{nullptr, 1, 0, {0, 0}};  // a fixed pass without its pattern
    const _OW_RUN run{&broken, 1, 7};
    EXPECT_EQ(ShredWithRun(m_system, kFilewipe, m_log, &run, request), kShredRefused);
    // Without passes nothing would be overwritten before the file goes.
    const _OW_RUN noPasses{nullptr, 0, 7};
    EXPECT_EQ(ShredWithRun(m_system, kFilewipe, m_log, &noPasses, request), kShredRefused);
    EXPECT_EQ(m_memory.Read(L"C:\\work\\x.txt"), Original(10));
}

}  // namespace
}  // namespace shred::testing
