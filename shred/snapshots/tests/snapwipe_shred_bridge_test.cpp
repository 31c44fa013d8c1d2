#include "shred/snapshots/snapwipe_shred_bridge.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace shred::snapshots {
namespace {

// Counts the buffers it frees, so a reference that is dropped or kept shows.
struct CountingManager : core::IStringManager
{
    core::CStringData* Allocate(int allocLength) noexcept override
    {
        void* memory = std::malloc(sizeof(core::CStringData) +
                                   (static_cast<std::size_t>(allocLength) + 1) * sizeof(wchar_t));
        if (!memory)
            return nullptr;
        return new (memory) core::CStringData{this, 0, allocLength, 1};
    }
    void Free(core::CStringData* data) noexcept override
    {
        ++freed;
        std::free(data);
    }
    int freed = 0;
};

struct Caller
{
    struct Done
    {
        std::wstring path;
        int result;
    };
    std::vector<Done> done;
    std::vector<std::vector<std::uint64_t>> progress;
};

void SHRED_CALLBACK CallerProgress(void* ctx, int percent, int fileIndex, int fileCount,
                                   int passCount, std::uint64_t bytesDone, void** pauseEvent,
                                   float megabytesPerSecond, std::uint64_t fileSize)
{
    static_cast<Caller*>(ctx)->progress.push_back(
        {static_cast<std::uint64_t>(percent), static_cast<std::uint64_t>(fileIndex),
         static_cast<std::uint64_t>(fileCount), static_cast<std::uint64_t>(passCount), bytesDone,
         reinterpret_cast<std::uintptr_t>(pauseEvent),
         static_cast<std::uint64_t>(megabytesPerSecond), fileSize});
}

void SHRED_CALLBACK CallerFileDone(void* ctx, core::CStringW path, int result)
{
    static_cast<Caller*>(ctx)->done.push_back({std::wstring(core::CStringView(path)), result});
    core::CStringRelease(path);
}

TEST(SnapwipeCallbackBridge, CallerHearsOfFilesWithItsOwnCtxAndFoldersAreReleased)
{
    CountingManager manager;
    Caller caller;
    SnapwipeCallbackBridge bridge(&caller, &CallerProgress, &CallerFileDone);
    void* pause = nullptr;
    bridge.EngineProgress()(bridge.EngineCtx(), 200, 3, 4, 7, 0x100000002ull, &pause, 12.0f,
                            0x300000004ull);
    struct Case
    {
        const wchar_t* path;
        int kind;
        int result;
    };
    const std::vector<Case> cases = {
        {L"C:\\d\\a.txt", kDoneKindFile, kShredDone},
        {L"C:\\d", kDoneKindFolder, kShredDone},
        {L"C:\\d\\b.txt", kDoneKindFile, kShredRemoveFailed},
        {L"C:\\e", kDoneKindFolder, kShredFolderFailed},
    };
    for (const Case& c : cases)
        bridge.EngineFileDone()(bridge.EngineCtx(), core::CStringCreate(c.path, manager), c.kind,
                                c.result);

    ASSERT_EQ(caller.progress.size(), 1u);
    EXPECT_EQ(
        caller.progress[0],
        (std::vector<std::uint64_t>{200, 3, 4, 7, 0x100000002ull,
                                    reinterpret_cast<std::uintptr_t>(&pause), 12, 0x300000004ull}));
    ASSERT_EQ(caller.done.size(), 2u);
    EXPECT_EQ(caller.done[0].path, L"C:\\d\\a.txt");
    EXPECT_EQ(caller.done[0].result, kShredDone);
    EXPECT_EQ(caller.done[1].path, L"C:\\d\\b.txt");
    EXPECT_EQ(caller.done[1].result, kShredRemoveFailed);
    EXPECT_EQ(manager.freed, 4);  // two by the caller, two folder paths by the bridge
}

TEST(SnapwipeCallbackBridge, MissingCallbacksStayMissingForTheEngine)
{
    Caller caller;
    struct Case
    {
        ShredProgressCallback progress;
        SnapwipeFileDoneCallback fileDone;
    };
    for (const Case& c : std::vector<Case>{
             {nullptr, nullptr}, {&CallerProgress, nullptr}, {nullptr, &CallerFileDone}}) {
        SnapwipeCallbackBridge bridge(&caller, c.progress, c.fileDone);
        EXPECT_EQ(bridge.EngineProgress() == nullptr, c.progress == nullptr);
        EXPECT_EQ(bridge.EngineFileDone() == nullptr, c.fileDone == nullptr);
    }
}

TEST(EngineRunFromSnapRun, CarriesThePassesOrRefusesTheRun)
{
    const PassList passes = {{{0x55}, false}, {{0, 0, 0}, true}, {{0x92, 0x49, 0x24}, false}};
    SnapOwRun* good = MakeShredRun<SnapOwRun>(passes, 0);
    ASSERT_NE(good, nullptr);
    SnapOwRun* broken = MakeShredRun<SnapOwRun>(passes, 0);
    ASSERT_NE(broken, nullptr);
    broken->passes[1].patternLength = 0;

    struct Case
    {
        const char* name;
        const SnapOwRun* run;
        bool accepted;
    };
    for (const Case& c : std::vector<Case>{{"three passes", good, true},
                                           {"NULL", nullptr, false},
                                           {"empty pass", broken, false}}) {
        const EngineRun run = EngineRunFromSnapRun(c.run);
        ASSERT_EQ(run != nullptr, c.accepted) << c.name;
        if (run) {
            EXPECT_EQ(PassListFromRun(run.get()), passes) << c.name;
        }
    }
    FreeShredRun(good);
    FreeShredRun(broken);
}

}  // namespace
}  // namespace shred::snapshots
