#include "setup/engine/interpreter/interpreter_host_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "core/unique_handle.h"
#include "tests/support/scratch_folder_win32.h"

namespace setup::engine {
namespace {

// The services a derived host still has to supply are not exercised here.
class SystemHost : public Win32InterpreterHostBase
{
public:
    SystemHost() : Win32InterpreterHostBase([] { return std::string("Caption"); }) {}
    void Trace(const std::string&) override {}
    void AddMSIProperty(const std::string&, const std::string&) override {}
    std::string UserLanguageName() override { return {}; }
    std::string GetCacheRoot(bool) override { return {}; }
    std::string LanguageCacheFolder(const std::string&) override { return {}; }
    std::string ReadUninstallString(const std::string&, bool) override { return {}; }
    void LoadLanguageStrings(const std::string&) override {}
    LanguageChoice ShowLanguageForm(const std::vector<std::string>&, int) override { return {}; }
    void ReleaseDialog(const std::string&) override {}
    void PrepareDialog(const std::string&, std::uintptr_t) override {}
    PageResult ShowDialog(const std::string&, bool) override { return {}; }
    void HideDialog(const std::string&) override {}
    int CheckCancel() override { return 0; }
    void PublishProgress(const std::string&, int) override {}
};

TEST(Win32InterpreterHost, DeletesTheResumeValue)
{
    const char* runKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    const char value[] = "resume";
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        core::UniqueKey key;
        ASSERT_EQ(::RegCreateKeyExA(root, runKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(),
                                    nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(key.Get(), "ZZ1A2B3C", 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(value), sizeof value),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(key.Get(), "ZZ1A2B3D", 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(value), sizeof value),
                  ERROR_SUCCESS);
        SystemHost().DeleteRunValue("ZZ1A2B3C");
        EXPECT_EQ(::RegQueryValueExA(key.Get(), "ZZ1A2B3C", nullptr, nullptr, nullptr, nullptr),
                  ERROR_FILE_NOT_FOUND);
        // Another product's resume value stays.
        EXPECT_EQ(::RegQueryValueExA(key.Get(), "ZZ1A2B3D", nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        ::RegDeleteValueA(key.Get(), "ZZ1A2B3D");
    }
}

TEST(Win32InterpreterHost, CreatesAndRemovesOverrideFoldersAndReadsFiles)
{
    SystemHost host;
    const testsupport::ScratchFolder scratch;
    const std::string root = scratch.NarrowPath() + "host";
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
}

// The registry as another reader sees it; empty when the value is missing or not text.
std::string CurrentVersionText(const char* valueName)
{
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                       valueName, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                       buffer, &size) != ERROR_SUCCESS)
        return {};
    return buffer;
}

TEST(Win32InterpreterHost, AnswersSystemFacts)
{
    SystemHost host;
    EXPECT_EQ(host.RegisteredOwner(), CurrentVersionText("RegisteredOwner"));
    EXPECT_EQ(host.RegisteredOrganization(), CurrentVersionText("RegisteredOrganization"));
    EXPECT_EQ(SplitTextLines(""), std::vector<std::string>{});
    EXPECT_EQ(SplitTextLines("a\r\n"), std::vector<std::string>{"a"});
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string TwoDigits(int number)
{
    return std::string(1, static_cast<char>('0' + number / 10 % 10)) +
           static_cast<char>('0' + number % 10);
}

// Whatever the locale's formats, the short date holds the day and the year's last two digits and
// the long time holds the minute; the clock may tick over between the two readings.
TEST(Win32InterpreterHost, GivesTodaysDateAndTheTimeNow)
{
    SystemHost host;
    SYSTEMTIME before{};
    ::GetLocalTime(&before);
    const std::string date = host.ShortDateText();
    const std::string time = host.LongTimeText();
    SYSTEMTIME after{};
    ::GetLocalTime(&after);
    const auto dateOf = [&](const SYSTEMTIME& now) {
        return Contains(date, std::to_string(now.wDay)) && Contains(date, TwoDigits(now.wYear));
    };
    const auto timeOf = [&](const SYSTEMTIME& now) {
        return Contains(time, TwoDigits(now.wMinute));
    };
    EXPECT_TRUE(dateOf(before) || dateOf(after)) << date;
    EXPECT_TRUE(timeOf(before) || timeOf(after)) << time;
    EXPECT_NE(date, time);
}

LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        ++*reinterpret_cast<int*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// What is queued is dispatched; a quit request stays queued for the loop that owns it.
TEST(Win32InterpreterHost, ProcessMessagesDispatchesTheQueueAndKeepsAQuit)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &CountingWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"InterpreterHostCounting";
    ASSERT_NE(::RegisterClassW(&windowClass), 0);
    core::UniqueWindow window(::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0,
                                                HWND_MESSAGE, nullptr, windowClass.hInstance,
                                                nullptr));
    ASSERT_TRUE(window);
    int dispatched = 0;
    ::SetWindowLongPtrW(window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&dispatched));
    ::PostMessageW(window.Get(), WM_APP, 0, 0);
    ::PostMessageW(window.Get(), WM_APP, 0, 0);
    ::PostQuitMessage(7);

    SystemHost().ProcessMessages();

    EXPECT_EQ(dispatched, 2);
    MSG quit{};
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
    window.Reset();
    ::UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
}

}  // namespace
}  // namespace setup::engine
