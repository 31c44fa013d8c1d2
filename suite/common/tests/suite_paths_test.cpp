// The lookups against the registry and the running program, with the registry roots redirected
// to scratch keys.
#include "suite/common/suite_paths_win32.h"
#include "suite/common/tests/suite_test_support.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <optional>
#include <string>

namespace suite {
namespace {

using testing::ProgramFolder;
using testing::RecordingMessages;
using testing::RedirectedRoot;

TEST(SuitePaths, RegistryTextFitsTheBufferOrCountsAsMissing)
{
    RedirectedRoot machine(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(machine.Ok());
    // The data handed over is followed by more characters, not by a zero the registry might count.
    const std::wstring full(260, L'x');
    const std::wstring fullAndMore = full + L"!";
    const std::wstring longer(262, L'y');
    ASSERT_TRUE(machine.Write(kLibraryFoldersKey, L"Full.dll", REG_SZ, fullAndMore.c_str(), 520));
    ASSERT_TRUE(machine.Write(kLibraryFoldersKey, L"Longer.dll", REG_SZ, longer.c_str(), 522));
    ASSERT_TRUE(machine.Write(kLibraryFoldersKey, L"Odd.dll", REG_SZ, longer.c_str(), 521));
    ASSERT_TRUE(machine.WriteText(kLibraryFoldersKey, L"Lingotext.dll", L"C:\\Suite\\"));
    ASSERT_TRUE(machine.WriteText(kLibraryFoldersKey, nullptr, L"default"));

    struct Case
    {
        const wchar_t* value;
        std::optional<std::wstring> expected;
    };
    const Case cases[] = {
        {L"Full.dll", full},  // 520 bytes without a terminator: all of it, ended here
        {L"Longer.dll", std::nullopt},
        {L"Odd.dll", std::nullopt},  // 521 bytes
        {L"Lingotext.dll", L"C:\\Suite\\"},
        {L"Absent.dll", std::nullopt},
        {nullptr, L"default"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kLibraryFoldersKey, c.value), c.expected)
            << (c.value ? c.value : L"(default)");
    }
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, L"Software\\Nowhere", L"x"), std::nullopt);
    EXPECT_EQ(GetSuiteLibraryFolder(L"Lingotext.dll"), L"C:\\Suite\\");
    EXPECT_EQ(GetSuiteLibraryFolder(L"Longer.dll"), L"");
}

TEST(SuitePaths, InstallFolderFromAppPathsElseTheProgramFolder)
{
    RedirectedRoot machine(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(machine.Ok());
    EXPECT_EQ(GetInstallFolder(L"Vontar Security", L"Suite"), ProgramFolder());

    const wchar_t appPaths[] = L"SOFTWARE\\Vontar Security\\Paths\\App Paths";
    ASSERT_TRUE(machine.WriteText(appPaths, nullptr, L"D:\\Default\\"));
    ASSERT_TRUE(machine.WriteText(appPaths, L"Suite", L"D:\\Suite\\"));
    EXPECT_EQ(GetInstallFolder(L"Vontar Security", L"Suite"), L"D:\\Suite\\");
    EXPECT_EQ(GetInstallFolder(L"Vontar Security", nullptr), L"D:\\Default\\");
    EXPECT_EQ(GetInstallFolder(L"Vontar Security", L"Other"), ProgramFolder());
    EXPECT_EQ(GetInstallFolder(L"Another Company", L"Suite"), ProgramFolder());
}

TEST(SuitePaths, ModuleFolderIsTheProgramsEvenFromALibrary)
{
    EXPECT_EQ(GetModuleFolder(), ProgramFolder());
    RegistrySuiteLocator locator;
    EXPECT_EQ(locator.ModuleFolder(), ProgramFolder());
}

TEST(SuitePaths, ProgramWithoutVersionResourceGivesNoneAndNamesTheFile)
{
    RecordingMessages messages;
    EXPECT_EQ(GetFileVersionText(messages), L"none");
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], L"Error retrieving version info.\n(" + std::wstring(self) + L")");

    RecordingMessages libraryMessages;
    EXPECT_EQ(ReadVersionText(self, VersionOf::Library, libraryMessages), L"none");
    EXPECT_EQ(libraryMessages.shown, std::vector<std::wstring>{L"Error retrieving version info"});
}

TEST(SuitePaths, VersionOfAFileThatHasOne)
{
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    RecordingMessages messages;
    const std::wstring version =
        ReadVersionText(std::wstring(system) + L"\\kernel32.dll", VersionOf::Library, messages);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_NE(version, L"none");
    EXPECT_EQ(std::count(version.begin(), version.end(), L'.'), 3) << version;
}

TEST(SuitePaths, SpecialFolderOrEmpty)
{
    EXPECT_FALSE(GetSpecialFolder(CSIDL_APPDATA).empty());
    EXPECT_EQ(GetSpecialFolder(0x7F), L"");
}

}  // namespace
}  // namespace suite
