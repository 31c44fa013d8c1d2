#include "core/cstring_abi.h"
#include "core/unique_handle.h"
#include "shred/engine/algorithm.h"
#include "shred/snapshots/tests/snapwipe_dll_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace shred::snapshots {
namespace {

using testing::BesideTest;

// What Snapwipe's callers see: the callbacks get the caller's ctx, and file-done calls carry the
// path and the result only, for files only.
struct Seen
{
    std::vector<std::pair<std::wstring, int>> done;
    std::vector<int> fileCounts;  // of every progress call
    int foreignCtx = 0;
};
void* const kCallerTag = reinterpret_cast<void*>(0x5A5A);
Seen* g_seen = nullptr;

void __stdcall OnProgress(void* ctx, int, int, int fileCount, int, std::uint64_t, void**, float,
                          std::uint64_t)
{
    g_seen->foreignCtx += ctx != kCallerTag;
    g_seen->fileCounts.push_back(fileCount);
}

void __stdcall OnFileDone(void* ctx, core::CStringW path, int result)
{
    g_seen->foreignCtx += ctx != kCallerTag;
    const std::wstring text(core::CStringView(path));
    g_seen->done.emplace_back(text.substr(text.find_last_of(L'\\') + 1), result);
    core::CStringRelease(path);
}

using ShredFile = int(__stdcall*)(const wchar_t*, int, void*, void**, char*, decltype(&OnProgress),
                                  decltype(&OnFileDone), int);
using ShredFileEx = int(__stdcall*)(const wchar_t*, SnapOwRun*, void*, void**, char*,
                                    decltype(&OnProgress), decltype(&OnFileDone), int);

void WriteFile(const std::wstring& path, const std::string& bytes)
{
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadFile(const std::wstring& path)
{
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    char bytes[256] = {};
    DWORD read = 0;
    ::ReadFile(file.Get(), bytes, sizeof bytes, &read, nullptr);
    return std::string(bytes, read);
}

class SnapwipeShredExports : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_module.Reset(::LoadLibraryW(BesideTest(L"Snapwipe.dll").c_str()));
        ASSERT_TRUE(m_module);
        m_shredFile = reinterpret_cast<ShredFile>(::GetProcAddress(
            m_module.Get(),
            "?VNTShredFile@@YAHPEA_WHPEAXPEAPEAXPEADP6AX1HHHH_K2M4@ZP6AX1V?$"
            "CStringT@_WV?$StrTraitMFC_DLL@_WV?$ChTraitsCRT@_W@ATL@@@@@ATL@@H@ZH@Z"));
        m_shredFileEx = reinterpret_cast<ShredFileEx>(::GetProcAddress(
            m_module.Get(),
            "?VNTShredFileEx@@YAHPEA_WPEAU_OW_RUN@@PEAXPEAPEAXPEADP6AX2HHHH_K3M5@ZP6AX2V?$"
            "CStringT@_WV?$StrTraitMFC_DLL@_WV?$ChTraitsCRT@_W@ATL@@@@@ATL@@H@ZH@Z"));
        ASSERT_TRUE(m_shredFile && m_shredFileEx);

        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        m_root = std::wstring(temp) + L"snapwipe_shred";
        ::CreateDirectoryW(m_root.c_str(), nullptr);
        ::CreateDirectoryW((m_root + L"\\sub").c_str(), nullptr);
        WriteFile(m_root + L"\\a.txt", std::string(100, 'a'));
        WriteFile(m_root + L"\\sub\\b.txt", std::string(10, 'b'));
        g_seen = &m_seen;
    }
    void TearDown() override
    {
        ::DeleteFileW((m_root + L"\\sub\\b.txt").c_str());
        ::DeleteFileW((m_root + L"\\a.txt").c_str());
        ::RemoveDirectoryW((m_root + L"\\sub").c_str());
        ::RemoveDirectoryW(m_root.c_str());
        g_seen = nullptr;
    }

    core::UniqueModule m_module;
    ShredFile m_shredFile = nullptr;
    ShredFileEx m_shredFileEx = nullptr;
    std::wstring m_root;
    Seen m_seen;
};

TEST_F(SnapwipeShredExports, FolderIsShreddedAndOnlyItsFilesAreReported)
{
    char abortFlag = 0;
    EXPECT_EQ(m_shredFile(m_root.c_str(), 7, kCallerTag, nullptr, &abortFlag, &OnProgress,
                          &OnFileDone, 0),
              kShredDone);
    EXPECT_EQ(::GetFileAttributesW(m_root.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(m_seen.done.size(), 2u);
    for (const auto& [name, result] : m_seen.done)
        EXPECT_EQ(result, kShredDone);
    ASSERT_FALSE(m_seen.fileCounts.empty());
    EXPECT_EQ(m_seen.fileCounts.front(), 2);
    EXPECT_EQ(m_seen.foreignCtx, 0);
}

TEST_F(SnapwipeShredExports, RunsOfNineByteRecordsAreReadAsSnapwipeLaysThemOut)
{
    struct Case
    {
        const char* name;
        PassList passes;
        bool nullRun;
        int expected;
        std::string content;  // of a.txt afterwards, kept in place
    };
    const std::vector<Case> cases = {
        {"two fixed passes, the last one stays",
         {{{0x11}, false}, {{'x', 'y'}, false}},
         false,
         kShredDone,
         [] {
             std::string s;
             for (int i = 0; i < 50; ++i)
                 s += "xy";
             return s;
         }()},
        {"no run", {}, true, kShredRefused, std::string(100, 'a')},
    };
    for (const Case& c : cases) {
        m_seen = {};
        WriteFile(m_root + L"\\a.txt", std::string(100, 'a'));
        SnapOwRun* run = c.nullRun ? nullptr : MakeShredRun<SnapOwRun>(c.passes, 0);
        EXPECT_EQ(m_shredFileEx((m_root + L"\\a.txt").c_str(), run, kCallerTag, nullptr, nullptr,
                                nullptr, &OnFileDone, 1),
                  c.expected)
            << c.name;
        FreeShredRun(run);
        EXPECT_EQ(ReadFile(m_root + L"\\a.txt"), c.content) << c.name;
        const std::size_t reported = c.expected == kShredDone ? 1 : 0;
        EXPECT_EQ(m_seen.done.size(), reported) << c.name;
        EXPECT_EQ(m_seen.foreignCtx, 0) << c.name;
    }
}

TEST_F(SnapwipeShredExports, SnapwipesAlgorithmSetDecidesWhatIsRefused)
{
    for (const int id : {13, 98, 100, 103, -1}) {
        EXPECT_EQ(m_shredFile(m_root.c_str(), id, kCallerTag, nullptr, nullptr, &OnProgress,
                              &OnFileDone, 1),
                  kShredRefused)
            << id;
    }
    EXPECT_TRUE(m_seen.done.empty());
    EXPECT_TRUE(m_seen.fileCounts.empty());
}

}  // namespace
}  // namespace shred::snapshots
