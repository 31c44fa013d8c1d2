#include "setup/engine/interpreter/interpreter_host_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "core/unique_handle.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/system/file_utils_win32.h"

namespace setup::engine {
namespace {

// The services a derived host still has to supply are not exercised here.
class SystemHost : public Win32InterpreterHostBase
{
public:
    SystemHost() : Win32InterpreterHostBase([] { return std::string("Caption"); }) {}
    void Trace(const std::string&) override {}
    void DetectInstallation() override {}
    std::string DefaultTargetDir() override { return {}; }
    void TakeOverPatchState() override {}
    void ResetComponents() override {}
    void DefinePredefinedComponent() override {}
    void AddMSIProperty(const std::string&, const std::string&) override {}
    std::string UserLanguageName() override { return {}; }
    std::string GetCacheRoot(bool) override { return {}; }
    std::string LanguageCacheFolder(const std::string&) override { return {}; }
    std::string ReadUninstallString(const std::string&, bool) override { return {}; }
    void LoadLanguageStrings(const std::string&) override {}
    LanguageChoice ShowLanguageForm(const std::vector<std::string>&, int) override { return {}; }
    PageResult ShowDialog(const std::string&, bool, bool) override { return {}; }
    int CheckCancel() override { return 0; }
    void PublishProgress(const std::string&, int) override {}
    void ExecutePlugin(int) override {}
    void CloseInterpreterResources() override {}
    bool IsRemovableMediaGone(const std::string&) override { return false; }
    void EndAfterMediaRemoved(int) override {}
};

std::string ScratchFolder(const char* name)
{
    char current[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, current);
    return IncludeBackslash(current) + name + std::to_string(::GetCurrentProcessId());
}

TEST(Win32InterpreterHost, DeletesTheResumeValue)
{
    const char* runKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    core::UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, runKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key.Put(), nullptr),
              ERROR_SUCCESS);
    const char value[] = "resume";
    ASSERT_EQ(::RegSetValueExA(key.Get(), "ZZ1A2B3C", 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(value), sizeof value),
              ERROR_SUCCESS);
    SystemHost().DeleteRunValue("ZZ1A2B3C");
    EXPECT_EQ(::RegQueryValueExA(key.Get(), "ZZ1A2B3C", nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
}

TEST(Win32InterpreterHost, CreatesAndRemovesOverrideFoldersAndReadsFiles)
{
    SystemHost host;
    const std::string root = ScratchFolder("interpreter_host_scratch_");
    std::vector<std::string> created;
    ASSERT_TRUE(host.ForceFoldersRecorded(root + "\\a\\b", created));
    EXPECT_EQ(created.size(), 3u);
    std::ofstream(root + "\\a\\lines.txt", std::ios::binary) << "one\r\ntwo\nthree\r\rfive";
    EXPECT_TRUE(host.FileExists(root + "\\a\\lines.txt"));
    EXPECT_FALSE(host.FileExists(root + "\\a"));
    EXPECT_EQ(host.FindFiles(root + "\\a\\lines.*"),
              std::vector<std::string>{root + "\\a\\lines.txt"});
    EXPECT_EQ(host.ReadLines(root + "\\a\\lines.txt"),
              (std::vector<std::string>{"one", "two", "three", "", "five"}));
    EXPECT_THROW(host.ReadLines(root + "\\a\\missing.txt"), std::exception);

    // Only the folders left empty go: "a" still holds the file.
    host.RemoveRecordedFolders(created);
    EXPECT_FALSE(::GetFileAttributesA((root + "\\a\\b").c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(::GetFileAttributesA((root + "\\a").c_str()) != INVALID_FILE_ATTRIBUTES);
    DeleteFolderTree(root, true);
    ::RemoveDirectoryA(root.c_str());
}

TEST(Win32InterpreterHost, AnswersSystemFacts)
{
    SystemHost host;
    EXPECT_TRUE(host.IsWindowsNT());
    EXPECT_FALSE(host.ShortDateText().empty());
    EXPECT_FALSE(host.LongTimeText().empty());
    EXPECT_NO_THROW(host.RegisteredOwner());
    EXPECT_EQ(SplitTextLines(""), std::vector<std::string>{});
    EXPECT_EQ(SplitTextLines("a\r\n"), std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace setup::engine
