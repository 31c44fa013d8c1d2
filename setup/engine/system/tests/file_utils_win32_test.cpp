#include "setup/engine/system/file_utils_win32.h"

#include <shlobj.h>

#include <fstream>
#include <regex>

#include <gtest/gtest.h>

#include "core/text_convert.h"
#include "core/unique_handle.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/system/file_system_win32.h"
#include "setup/engine/system/folder_walk.h"

namespace setup::engine {
namespace {

// A scratch folder under the test's working folder (inside the build tree).
class FileUtilsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char current[MAX_PATH];
        ::GetCurrentDirectoryA(MAX_PATH, current);
        m_root = IncludeBackslash(current) + "file_utils_scratch_" +
                 std::to_string(::GetCurrentProcessId()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(::CreateDirectoryA(m_root.c_str(), nullptr));
    }
    void TearDown() override
    {
        DeleteFolderTree(m_root, true);
        ::RemoveDirectoryA(m_root.c_str());
    }
    std::string Path(const std::string& relative) const { return m_root + "\\" + relative; }
    void WriteFile(const std::string& relative, const std::string& content = "x")
    {
        std::ofstream(Path(relative), std::ios::binary) << content;
    }
    static bool Exists(const std::string& path)
    {
        return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string m_root;
};

TEST_F(FileUtilsTest, CjkFolderComesBackAsShortAnsiPath)
{
    const std::wstring wideFolder = core::AnsiToWide(m_root) + L"\\\u6570\u636E\u6587\u4EF6\u5939";
    ASSERT_TRUE(::CreateDirectoryW(wideFolder.c_str(), nullptr));
    // The ANSI calls cannot name it.
    EXPECT_NE(core::WideToAnsi(wideFolder).find('?'), std::string::npos);

    const std::string shortPath = ShortAnsiPath(wideFolder);
    EXPECT_EQ(shortPath.find('?'), std::string::npos) << shortPath;
    EXPECT_TRUE(DirectoryExistsAnsi(shortPath)) << shortPath;

    PIDLIST_ABSOLUTE itemList = ::ILCreateFromPathW(wideFolder.c_str());
    ASSERT_NE(itemList, nullptr);
    char buffer[MAX_PATH] = {};
    EXPECT_TRUE(GetPathFromPidlSafe(itemList, buffer));
    ::ILFree(itemList);
    EXPECT_EQ(std::string(buffer), shortPath);
    // The ANSI walk that clears the scratch folder cannot name this one.
    EXPECT_TRUE(::RemoveDirectoryW(wideFolder.c_str()));
}

TEST_F(FileUtilsTest, DeletesTreeButNotThroughALink)
{
    // "link" stands for a junction to data outside the tree: the injected view reports it as a
    // reparse point, which Wine itself never does.
    class LinkMarkingView : public IFileSystemView
    {
    public:
        std::vector<FileEntry> List(const std::string& pattern) override
        {
            auto entries = Win32FileSystem().List(pattern);
            for (auto& entry : entries) {
                if (entry.name == "link")
                    entry.attributes |= kAttributeReparsePoint;
            }
            return entries;
        }
        bool FolderExists(const std::string& p) override
        {
            return Win32FileSystem().FolderExists(p);
        }
        bool CreateFolder(const std::string& p) override
        {
            return Win32FileSystem().CreateFolder(p);
        }
        bool SetAttributes(const std::string& p, std::uint32_t a) override
        {
            return Win32FileSystem().SetAttributes(p, a);
        }
        bool RemoveFile(const std::string& p) override { return Win32FileSystem().RemoveFile(p); }
        bool RemoveFolder(const std::string& p) override
        {
            if (ExtractFileName(p) == "link") {
                removedLinks.push_back(p);
                return true;  // a real link would go; its target stays
            }
            return Win32FileSystem().RemoveFolder(p);
        }
        std::vector<std::string> removedLinks;
    };

    for (const char* folder : {"tree", "tree\\sub", "tree\\sub\\deep", "tree\\link"})
        ASSERT_TRUE(::CreateDirectoryA(Path(folder).c_str(), nullptr));
    WriteFile("tree\\a.txt");
    WriteFile("tree\\sub\\b.txt");
    WriteFile("tree\\sub\\deep\\c.txt");
    WriteFile("tree\\link\\outside.txt");
    ::SetFileAttributesA(Path("tree\\sub\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    LinkMarkingView view;
    DeleteFolderTree(view, Path("tree"), true);
    EXPECT_TRUE(DirectoryExistsAnsi(Path("tree")));
    EXPECT_FALSE(Exists(Path("tree\\a.txt")));
    EXPECT_FALSE(Exists(Path("tree\\sub")));
    EXPECT_TRUE(Exists(Path("tree\\link\\outside.txt")));
    EXPECT_EQ(view.removedLinks, std::vector<std::string>{Path("tree\\link")});

    // Without recurse only the folder's own files go.
    WriteFile("tree\\z.txt");
    DeleteFolderTree(Path("tree"), false);
    EXPECT_FALSE(Exists(Path("tree\\z.txt")));
    EXPECT_TRUE(Exists(Path("tree\\link\\outside.txt")));
}

TEST_F(FileUtilsTest, CreatesAndListsFolders)
{
    ASSERT_TRUE(::CreateDirectoryA(Path("A").c_str(), nullptr));
    rtl::TStringList created;
    EXPECT_TRUE(ForceFoldersRecorded(Path("A\\B\\E"), created));
    EXPECT_EQ(created.Items(), (std::vector<std::string>{Path("A\\B"), Path("A\\B\\E")}));
    EXPECT_TRUE(ForceDirectoriesAnsi(Path("X\\Y")));
    EXPECT_TRUE(DirectoryExistsAnsi(Path("X\\Y")));

    WriteFile("A\\one.txt", "12345");
    WriteFile("A\\B\\E\\two.txt");
    WriteFile("A\\B\\skip.log");
    EXPECT_EQ(GetFileList(Path("A\\*.txt"), true),
              (std::vector<std::string>{Path("A\\B\\E\\two.txt"), Path("A\\one.txt")}));
    EXPECT_EQ(FindFiles(Path("A\\*.txt"), true), GetFileList(Path("A\\*.txt"), true));
    EXPECT_EQ(ListSubFolders(Path("A"), true),
              (std::vector<std::string>{Path("A\\B\\E"), Path("A\\B")}));
    EXPECT_EQ(GetFileSize64(Path("A\\one.txt")), 5u);
    EXPECT_EQ(GetFileSize64(Path("A\\none.txt")), 0u);
    EXPECT_GT(GetDriveFreeBytes(m_root), 0u);
}

TEST_F(FileUtilsTest, ConvertsBetweenShortAndLongPaths)
{
    ASSERT_TRUE(::CreateDirectoryA(Path("Long Folder Name").c_str(), nullptr));
    WriteFile("Long Folder Name\\a long file name.text");
    const std::string longPath = Path("Long Folder Name\\a long file name.text");
    const std::string shortPath = GetShortPath(longPath);
    ASSERT_FALSE(shortPath.empty());
    EXPECT_NE(shortPath, longPath);
    EXPECT_EQ(GetLongPath(shortPath), GetLongPath(longPath));
    EXPECT_EQ(ExtractFileName(GetLongPath(shortPath)), "a long file name.text");
    EXPECT_EQ(GetLongPath(Path("missing\\x.txt")), Path("missing\\x.txt"));
}

TEST_F(FileUtilsTest, QueuesDeletionAtRebootWithoutWininit)
{
    WriteFile("reboot.txt");
    const std::string windowsDir = GetWindowsDir();
    ASSERT_TRUE(DeleteOnReboot(Path("reboot.txt"), windowsDir));

    const char* kSessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    core::UniqueKey key;
    ASSERT_EQ(
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ | KEY_WRITE, key.Put()),
        ERROR_SUCCESS);
    std::string value(65536, '\0');
    DWORD size = static_cast<DWORD>(value.size());
    ASSERT_EQ(::RegQueryValueExA(key.Get(), "PendingFileRenameOperations", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(value.data()), &size),
              ERROR_SUCCESS);
    value.resize(size);
    EXPECT_NE(value.find("reboot.txt"), std::string::npos);
    ::RegDeleteValueA(key.Get(), "PendingFileRenameOperations");  // this prefix is ours
    EXPECT_FALSE(Exists(windowsDir + "wininit.ini"));
}

TEST_F(FileUtilsTest, AnswersSystemFacts)
{
    for (const std::string& folder : {GetWindowsDir(), GetSystemDir(), GetTempDir()}) {
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(folder.back(), '\\');
        EXPECT_TRUE(DirectoryExistsAnsi(folder)) << folder;
    }
    EXPECT_TRUE(IsWindowsNT());
    EXPECT_TRUE(SupportsBalloonTips());

    const std::regex guid("\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
    const std::string first = CreateGuidString();
    EXPECT_TRUE(std::regex_match(first, guid)) << first;
    EXPECT_TRUE(std::regex_match(CreateGuidText(), guid));
    EXPECT_NE(first, CreateGuidString());

    const auto [found, appData] = GetFolderPathFallback(CSIDL_APPDATA);
    EXPECT_TRUE(found);
    EXPECT_TRUE(DirectoryExistsAnsi(appData)) << appData;

    WriteFile("c.txt");
    SetNtfsCompression(Path("c.txt"), true);  // refused by this file system: nothing happens
    SetNtfsCompression(Path("none.txt"), false);
    EXPECT_TRUE(Exists(Path("c.txt")));
}

TEST_F(FileUtilsTest, ModuleFileNameReportsShortBuffers)
{
    char full[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameSafe(nullptr, full, MAX_PATH);
    ASSERT_GT(length, 5u);
    ASSERT_NE(length, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(full).size(), length);
    EXPECT_EQ(GetParamStr(0), full);

    char small[6];
    EXPECT_EQ(GetModuleFileNameSafe(nullptr, small, sizeof small),
              static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(small), std::string(full, 5));
}

}  // namespace
}  // namespace setup::engine
