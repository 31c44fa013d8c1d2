// The engine's exports as their callers meet them: each library loaded by name, every export
// bound by the name callers use, real files shredded in a folder of the test's own.
#include "core/cstring_abi.h"
#include "core/unique_handle.h"
#include "shred/engine/algorithm.h"
#include "shred/engine/tests/walk_recorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <fstream>
#include <thread>

namespace shred::testing {
namespace {

using ShredFileFn = int(__stdcall*)(const wchar_t*, int, void*, void**, char*,
                                    ShredProgressCallback, ShredFileDoneCallback, int);
using ShredFileExFn = int(__stdcall*)(const wchar_t*, const _OW_RUN*, void*, void**, char*,
                                      ShredProgressCallback, ShredFileDoneCallback, int);
using CreateFileHandleFn = void*(__stdcall*)(const wchar_t*);
using ShredFilePartFn = int(__stdcall*)(void*, int, unsigned long, long, unsigned long, long);
using CloseFileHandleFn = int(__stdcall*)(void*);

struct Library
{
    const wchar_t* file;
    const char* shredFile;
    const char* shredFileEx;
    const char* createFileHandle;
    const char* shredFilePart;
    const char* closeFileHandle;
};

#define SHRED_CSTRING "V?$CStringT@_WV?$StrTraitATL@_WV?$ChTraitsCRT@_W@ATL@@@ATL@@@ATL@@"
const Library kFilewipeDll{L"Filewipe.dll",       "VNTShredFile",     "VNTShredFileEx",
                           "VNTCreateFileHandle", "VNTShredFilePart", "VNTCloseFileHandle"};
const Library kVolumewipeDll{
    L"Volumewipe.dll",
    "?VNTShredFile@@YAHPEA_WHPEAXPEAPEAXPEADP6AX1HHHH_K2M4@ZP6AX1" SHRED_CSTRING "HH@ZH@Z",
    "?VNTShredFileEx@@YAHPEA_WPEAU_OW_RUN@@PEAXPEAPEAXPEADP6AX2HHHH_K3M5@ZP6AX2" SHRED_CSTRING
    "HH@ZH@Z",
    "?VNTCreateFileHandle@@YAPEAXPEA_W@Z",
    "?VNTShredFilePart@@YAHPEAXHKJKJ@Z",
    "?VNTCloseFileHandle@@YAHPEAX@Z"};

std::vector<std::uint8_t> Pattern(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 251 + 1);
    return bytes;
}

class ShredDllTest : public ::testing::TestWithParam<const Library*>
{
protected:
    void SetUp() override
    {
        m_module.Reset(::LoadLibraryW(GetParam()->file));
        ASSERT_TRUE(m_module) << "cannot load the library";
        m_shredFile = Bind<ShredFileFn>(GetParam()->shredFile);
        m_shredFileEx = Bind<ShredFileExFn>(GetParam()->shredFileEx);
        m_createFileHandle = Bind<CreateFileHandleFn>(GetParam()->createFileHandle);
        m_shredFilePart = Bind<ShredFilePartFn>(GetParam()->shredFilePart);
        m_closeFileHandle = Bind<CloseFileHandleFn>(GetParam()->closeFileHandle);
        ASSERT_TRUE(m_shredFile && m_shredFileEx && m_createFileHandle && m_shredFilePart &&
                    m_closeFileHandle);

        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        m_root = std::wstring(temp) + L"shreddll-" + std::to_wstring(::GetCurrentProcessId()) +
                 L"-" + std::to_wstring(++counter);
        ASSERT_TRUE(::CreateDirectoryW(m_root.c_str(), nullptr));
        m_work = m_root + L"\\work";
        ::CreateDirectoryW(m_work.c_str(), nullptr);
        MakeFile(m_root + L"\\canary.bin", Pattern(5000));
    }

    void TearDown() override
    {
        EXPECT_EQ(Read(m_root + L"\\canary.bin"), Pattern(5000)) << "the canary beside was touched";
        RemoveAll(m_root);
    }

    template <typename Fn>
    Fn Bind(const char* name)
    {
        return reinterpret_cast<Fn>(::GetProcAddress(m_module.Get(), name));
    }

    static void MakeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
    {
        core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(file);
        if (!bytes.empty()) {
            ASSERT_TRUE(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                    &written, nullptr));
        }
    }

    static std::vector<std::uint8_t> Read(const std::wstring& path)
    {
        core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        std::vector<std::uint8_t> bytes;
        if (!file)
            return bytes;
        LARGE_INTEGER size{};
        ::GetFileSizeEx(file.Get(), &size);
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (!bytes.empty())
            ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        return bytes;
    }

    static bool Exists(const std::wstring& path)
    {
        return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    static void RemoveAll(const std::wstring& path)
    {
        WIN32_FIND_DATAW data{};
        core::UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &data));
        if (find) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring child = path + L"\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveAll(child);
                else
                    ::DeleteFileW(child.c_str());
            } while (::FindNextFileW(find.Get(), &data));
        }
        find.Reset();
        ::RemoveDirectoryW(path.c_str());
    }

    std::vector<std::wstring> Names(const std::wstring& folder)
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data{};
        core::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
        if (find) {
            do {
                if (std::wstring(data.cFileName) != L"." && std::wstring(data.cFileName) != L"..")
                    names.push_back(data.cFileName);
            } while (::FindNextFileW(find.Get(), &data));
        }
        return names;
    }

    void MakeTree()
    {
        ::CreateDirectoryW((m_work + L"\\tree").c_str(), nullptr);
        ::CreateDirectoryW((m_work + L"\\tree\\sub").c_str(), nullptr);
        MakeFile(m_work + L"\\tree\\a.bin", Pattern(200000));
        MakeFile(m_work + L"\\tree\\sub\\b.txt", Pattern(1025));
        MakeFile(m_work + L"\\tree\\sub\\empty", {});
    }

    int Shred(const std::wstring& path, int algorithmId, int keepFile = 0,
              void** pauseEvent = nullptr)
    {
        return m_shredFile(path.c_str(), algorithmId, &m_recorder, pauseEvent, &m_abort,
                           RecordProgress, RecordDone, keepFile);
    }

    core::UniqueModule m_module;
    ShredFileFn m_shredFile = nullptr;
    ShredFileExFn m_shredFileEx = nullptr;
    CreateFileHandleFn m_createFileHandle = nullptr;
    ShredFilePartFn m_shredFilePart = nullptr;
    CloseFileHandleFn m_closeFileHandle = nullptr;
    std::wstring m_root;
    std::wstring m_work;
    WalkRecorder m_recorder;
    char m_abort = 0;
};

TEST_P(ShredDllTest, TreeIsShreddedWithTheCallbackSequence)
{
    MakeTree();
    ASSERT_EQ(Shred(m_work + L"\\tree", 1), -100);
    const std::vector<DoneCall> expected{{m_work + L"\\tree\\a.bin", 10, -100},
                                         {m_work + L"\\tree\\sub\\b.txt", 10, -100},
                                         {m_work + L"\\tree\\sub\\empty", 10, -100},
                                         {m_work + L"\\tree\\sub", 20, -100},
                                         {m_work + L"\\tree", 20, -100}};
    EXPECT_EQ(m_recorder.done, expected);
    EXPECT_EQ(m_recorder.lastRefs, 1);
    EXPECT_FALSE(m_recorder.foreignRefs);
    ASSERT_FALSE(m_recorder.progress.empty());
    EXPECT_EQ(m_recorder.progress.front().percent, 0);
    EXPECT_EQ(m_recorder.progress.front().fileCount, 3);
    EXPECT_EQ(m_recorder.WithPercent(200).size(), 3u);
    // a.bin: 3 passes of four chunks; the percent reaches 100 on the last one.
    std::vector<ProgressCall> chunks;
    for (const ProgressCall& call : m_recorder.progress)
        if (call.passCount == 3 && call.fileIndex == 1)
            chunks.push_back(call);
    ASSERT_EQ(chunks.size(), 12u);
    EXPECT_EQ(chunks.back().percent, 100);
    EXPECT_EQ(chunks.back().bytesDone, 600000u);
    EXPECT_TRUE(Names(m_work).empty());
}

TEST_P(ShredDllTest, EveryAlgorithmLeavesItsLastPassAndThenRemoves)
{
    const int ids[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 99, 100, 101, 102, 103};
    for (int id : ids) {
        SCOPED_TRACE(id);
        const std::wstring path = m_work + L"\\f" + std::to_wstring(id) + L".dat";
        MakeFile(path, Pattern(3000));
        ASSERT_EQ(Shred(path, id, 1), -100);
        const PassList passes = *BuildPassList(id, kFilewipe, [] { return std::uint8_t{0}; });
        const std::vector<std::uint8_t> content = Read(path);
        ASSERT_EQ(content.size(), 3000u);
        if (!passes.back().random) {
            for (std::size_t i = 0; i < content.size(); ++i)
                ASSERT_EQ(content[i], passes.back().pattern[i % passes.back().pattern.size()]);
        }
        ASSERT_EQ(Shred(path, id), -100);
        EXPECT_FALSE(Exists(path));
    }
    EXPECT_TRUE(Names(m_work).empty());
}

TEST_P(ShredDllTest, PatternsTrailingBackslashesAndMissingPaths)
{
    MakeFile(m_work + L"\\x1.log", Pattern(10));
    MakeFile(m_work + L"\\x2.log", Pattern(70000));
    MakeFile(m_work + L"\\keep.txt", Pattern(10));
    ::CreateDirectoryW((m_work + L"\\d").c_str(), nullptr);
    EXPECT_EQ(Shred(m_work + L"\\x*.log", 0), -100);
    EXPECT_EQ(m_recorder.progress.front().fileCount, 2);
    EXPECT_EQ(Names(m_work), (std::vector<std::wstring>{L"d", L"keep.txt"}));

    const int missingCount = GetParam() == &kFilewipeDll ? 1 : 0;
    for (const std::wstring& path : {m_work + L"\\d\\", m_work + L"\\nothing"}) {
        m_recorder = {};
        EXPECT_EQ(Shred(path, 0), -1);
        EXPECT_TRUE(m_recorder.done.empty());
        EXPECT_EQ(m_recorder.progress.size(), 1u);
    }
    EXPECT_EQ(m_recorder.progress.front().fileCount, missingCount);
    EXPECT_TRUE(Exists(m_work + L"\\d"));
    EXPECT_EQ(Shred(m_work + L"\\x.txt", 13), -2);
}

TEST_P(ShredDllTest, AbortBeforeAndDuringTheWalk)
{
    MakeTree();
    m_abort = 1;
    EXPECT_EQ(Shred(m_work + L"\\tree", 0), -6);
    EXPECT_EQ(Read(m_work + L"\\tree\\a.bin"), Pattern(200000));
    EXPECT_TRUE(m_recorder.done.empty());

    m_abort = 0;
    m_recorder = {};
    m_recorder.onProgress = [this](const ProgressCall& call) {
        if (call.percent > 0 && call.percent < 100)
            m_abort = 1;
    };
    EXPECT_EQ(Shred(m_work + L"\\tree", 0), -6);
    ASSERT_FALSE(m_recorder.done.empty());
    EXPECT_EQ(m_recorder.done.front(), (DoneCall{m_work + L"\\tree\\a.bin", 10, -6}));
    EXPECT_EQ(m_recorder.done.back(), (DoneCall{m_work + L"\\tree", 20, -6}));
    EXPECT_EQ(Read(m_work + L"\\tree\\sub\\b.txt"), Pattern(1025));
}

TEST_P(ShredDllTest, PauseFromTheProgressCallbackHoldsTheEngineUntilResumed)
{
    MakeFile(m_work + L"\\big.bin", Pattern(300000));
    std::atomic<bool> resumed{false};
    std::thread resumer;
    bool pausedOnce = false;
    bool ranWhilePaused = false;
    m_recorder.onProgress = [&](const ProgressCall& call) {
        if (call.percent == 0 || call.percent == 200)
            return;
        if (pausedOnce) {
            ranWhilePaused = ranWhilePaused || !resumed;
            return;
        }
        pausedOnce = true;
        // Reset here, on the engine's own thread, so the engine meets a reset event however
        // late the resuming thread is scheduled.
        HANDLE event = *call.pauseEvent;
        ::ResetEvent(event);
        resumer = std::thread([event, &resumed] {
            ::Sleep(300);
            resumed = true;
            ::SetEvent(event);
        });
    };
    EXPECT_EQ(Shred(m_work + L"\\big.bin", 0), -100);
    if (resumer.joinable())
        resumer.join();
    EXPECT_TRUE(pausedOnce);
    EXPECT_FALSE(ranWhilePaused);
}

TEST_P(ShredDllTest, FailureCodesFromHeldFilesAndATakenEventName)
{
    struct Case
    {
        const char* name;
        DWORD access;
        DWORD share;
        int expected;
    };
    const std::vector<Case> cases{
        {"held unshared", GENERIC_READ, 0, -1},
        {"held without delete sharing", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, -3},
        {"held with delete sharing", GENERIC_READ,
         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, -4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = m_work + L"\\held.bin";
        MakeFile(path, Pattern(1000));
        {
            core::UniqueFile holder(
                ::CreateFileW(path.c_str(), c.access, c.share, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holder);
            m_recorder = {};
            EXPECT_EQ(Shred(path, 0), c.expected);
            ASSERT_EQ(m_recorder.done.size(), 1u);
            EXPECT_EQ(m_recorder.done[0].result, c.expected);
        }
        RemoveAll(m_work);
        ::CreateDirectoryW(m_work.c_str(), nullptr);
    }

    // Another object holds the name "PauseEvent": the engine cannot make its own event.
    MakeFile(m_work + L"\\x.bin", Pattern(10));
    core::UniqueKernelHandle taken(::CreateMutexW(nullptr, FALSE, L"PauseEvent"));
    ASSERT_TRUE(taken);
    m_recorder = {};
    EXPECT_EQ(Shred(m_work + L"\\x.bin", 0), -10);
    EXPECT_TRUE(m_recorder.progress.empty());
    EXPECT_EQ(Read(m_work + L"\\x.bin"), Pattern(10));
}

TEST_P(ShredDllTest, CallerBuiltRunThroughTheExtendedEntry)
{
    std::uint8_t byte = 0x5A;
    PassRecord pass{&byte, 1, 0, {0, 0}};
    const _OW_RUN run{&pass, 1, 42};
    const std::wstring path = m_work + L"\\ex.bin";
    MakeFile(path, Pattern(100));
    void* ownEvent = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
    core::UniqueKernelHandle eventOwner(ownEvent);
    EXPECT_EQ(m_shredFileEx(path.c_str(), &run, &m_recorder, &ownEvent, nullptr, RecordProgress,
                            RecordDone, 1),
              -100);
    EXPECT_EQ(Read(path), std::vector<std::uint8_t>(100, 0x5A));
    EXPECT_EQ(m_recorder.progress.front().pauseEvent, &ownEvent);
    EXPECT_EQ(m_shredFileEx(path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0),
              -2);
}

TEST_P(ShredDllTest, RegionOverwriteThroughTheFileHandleExports)
{
    const std::wstring path = m_work + L"\\region.bin";
    MakeFile(path, Pattern(200000));
    void* handle = m_createFileHandle(path.c_str());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(m_shredFilePart(handle, 7, 1000, 0, 70000, 0), -100);  // last pass writes 0x61
    EXPECT_EQ(m_shredFilePart(handle, 13, 0, 0, 10, 0), -2);
    EXPECT_EQ(m_shredFilePart(handle, 0, 0, 0, 0, 0), -100);
    EXPECT_EQ(m_closeFileHandle(handle), 1);
    std::vector<std::uint8_t> expected = Pattern(200000);
    std::fill(expected.begin() + 1000, expected.begin() + 71000, 0x61);
    EXPECT_EQ(Read(path), expected);

    EXPECT_EQ(m_createFileHandle((m_work + L"\\none").c_str()), nullptr);
    EXPECT_EQ(m_shredFilePart(nullptr, 0, 0, 0, 1, 0), -1);
    EXPECT_EQ(m_shredFilePart(INVALID_HANDLE_VALUE, 0, 0, 0, 1, 0), -1);
    EXPECT_EQ(m_closeFileHandle(nullptr), -1);
    core::UniqueFile readOnly(::CreateFileW(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(m_shredFilePart(readOnly.Get(), 0, 0, 0, 10, 0), -4);
}

// The wipers are exported by Volumewipe only, under their decorated names.
TEST(VolumewipeWipers, ExportsTheWipersUnderTheirCallerNames)
{
    core::UniqueModule library(::LoadLibraryW(L"Volumewipe.dll"));
    ASSERT_TRUE(library);
    const char* names[] = {"?VNTWipeFileSlack@@YAH" SHRED_CSTRING "HHP6AXHH@ZPEAXPEAPEAXPEADH@Z",
                           "?VNTWipeFreeDiskSpace@@YAHDHHPEAPEAXPEADP6AXHKKH@ZPEAX@Z",
                           "?VNTWipeSpecifiedFileSlack@@YAHPEA_WH@Z"};
    for (const char* name : names)
        EXPECT_NE(::GetProcAddress(library.Get(), name), nullptr) << name;

    // The slack past a small file's end is written and the file itself left as it was.
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"volumewipe-slack.bin";
    const std::vector<std::uint8_t> content = Pattern(1000);
    {
        core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(
            ::WriteFile(file.Get(), content.data(), DWORD(content.size()), &written, nullptr));
    }
    using WipeSpecifiedFileSlack = int(__stdcall*)(const wchar_t*, int);
    auto wipeSlack =
        reinterpret_cast<WipeSpecifiedFileSlack>(::GetProcAddress(library.Get(), names[2]));
    ASSERT_NE(wipeSlack, nullptr);
    EXPECT_EQ(wipeSlack(path.c_str(), 0), 1);
    std::vector<std::uint8_t> after(content.size() + 1);
    DWORD read = 0;
    {
        core::UniqueFile file(
            ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(::ReadFile(file.Get(), after.data(), DWORD(after.size()), &read, nullptr));
    }
    after.resize(read);
    EXPECT_EQ(after, content);
    ::DeleteFileW(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Libraries, ShredDllTest, ::testing::Values(&kFilewipeDll, &kVolumewipeDll),
                         [](const auto& info) {
                             return info.param == &kFilewipeDll ? "Filewipe" : "Volumewipe";
                         });

}  // namespace
}  // namespace shred::testing
