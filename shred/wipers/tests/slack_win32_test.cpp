#include "shred/wipers/slack_exports.h"

#include "core/unique_handle.h"
#include "shred/engine/name_wiper.h"
#include "shred/engine/system_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace shred::wipers::testing {
namespace {

struct TempTree : ::testing::Test
{
    std::wstring root;

    void SetUp() override
    {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, temp);
        root = std::wstring(temp) + L"wipers-slack-" + std::to_wstring(GetCurrentProcessId());
        DeleteTree(DefaultShredSystem(), root);
        ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    }
    void TearDown() override
    {
        for (const std::wstring& file : readOnly)
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteTree(DefaultShredSystem(), root);
    }
    std::wstring Make(const std::wstring& name, std::size_t size)
    {
        const std::wstring path = root + L"\\" + name;
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>('a' + i % 26);
        std::ofstream(path.c_str(), std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const std::wstring& path)
    {
        std::ifstream in(path.c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static FILETIME Times(const std::wstring& path, FILETIME& access, FILETIME& write)
    {
        core::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        FILETIME creation{};
        GetFileTime(file.Get(), &creation, &access, &write);
        return creation;
    }
    static void SetOldTimes(const std::wstring& path)
    {
        core::UniqueFile file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        const FILETIME old{0x12345600u, 0x01c00000u};
        SetFileTime(file.Get(), &old, &old, &old);
    }
    std::vector<std::wstring> readOnly;
};

bool operator==(const FILETIME& a, const FILETIME& b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

TEST_F(TempTree, SlackWipeKeepsContentSizeTimesAndAttributes)
{
    for (std::size_t size : {std::size_t{10000}, std::size_t{8192}, std::size_t{0}}) {
        const std::wstring path = Make(L"f" + std::to_wstring(size), size);
        const std::string before = Read(path);
        SetOldTimes(path);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
        FILETIME access{}, write{};
        const FILETIME creation = Times(path, access, write);

        EXPECT_EQ(ExportWipeSpecifiedFileSlack(path.c_str(), 4), kSlackDone) << size;
        FILETIME accessAfter{}, writeAfter{};
        EXPECT_TRUE(Times(path, accessAfter, writeAfter) == creation);
        EXPECT_TRUE(accessAfter == access);
        EXPECT_TRUE(writeAfter == write);
        EXPECT_EQ(Read(path), before) << size;  // reading last: it moves the access time
        EXPECT_EQ(GetFileAttributesW(path.c_str()),
                  static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    }
}

TEST_F(TempTree, SlackWipeRefusesWhatItCannotWipe)
{
    const std::wstring locked = Make(L"locked", 100);
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    readOnly.push_back(locked);
    const DWORD attributes = GetFileAttributesW(locked.c_str());
    // An administrator on some systems may still open it for writing; then it is wiped as usual.
    const bool writable = core::UniqueFile(CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr,
                                                       OPEN_EXISTING, 0, nullptr))
                              .IsValid();
    EXPECT_EQ(ExportWipeSpecifiedFileSlack(locked.c_str(), 0),
              writable ? kSlackDone : kSlackOpenFailed);
    EXPECT_EQ(Read(locked).size(), 100u);
    EXPECT_EQ(GetFileAttributesW(locked.c_str()), attributes);
    EXPECT_EQ(ExportWipeSpecifiedFileSlack(root.c_str(), 0), kSlackIsFolder);
    EXPECT_EQ(ExportWipeSpecifiedFileSlack((root + L"\\none").c_str(), 0), kSlackNotFound);
    EXPECT_EQ(ExportWipeSpecifiedFileSlack(nullptr, 0), kSlackNotFound);
    EXPECT_EQ(ExportWipeSpecifiedFileSlack(Make(L"ok", 5).c_str(), 1234), kSlackAlgorithmRefused);
}

TEST_F(TempTree, FolderWipeOfTheRealTreeFinishesTheProgressFileAndReleasesThePath)
{
    Make(L"a.txt", 3000);
    CreateDirectoryW((root + L"\\sub").c_str(), nullptr);
    Make(L"sub\\.b", 5000);
    const std::wstring progress = root + L"-progress.xml";
    std::ofstream(progress.c_str(), std::ios::binary) << "<H/>\r\n";

    core::CStringW path = core::CStringCreate(root + L"\\");
    core::CStringW extra = core::CStringAddRef(path);
    EXPECT_EQ(ExportWipeFileSlack(path, 0, 0, nullptr, const_cast<wchar_t*>(progress.c_str()),
                                  nullptr, nullptr, 0),
              kSlackDone);
    EXPECT_EQ(core::CStringHeader(extra)->refs, 1);
    core::CStringRelease(extra);

    const std::string text = Read(progress);
    EXPECT_EQ(text.rfind("<H/>\r\n<OperationName>Shred Slack Space</OperationName>\r\n"
                         "<Progress>100</Progress>\r\n<Status>Finished</Status>\r\n",
                         0),
              0u);
    EXPECT_EQ(Read(root + L"\\a.txt").size(), 3000u);
    EXPECT_EQ(Read(root + L"\\sub\\.b").size(), 5000u);
    DeleteFileW(progress.c_str());
}

}  // namespace
}  // namespace shred::wipers::testing
