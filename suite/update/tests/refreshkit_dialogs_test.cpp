// The update dialogs on a real display (the test session's Xvfb): the information dialog's
// controls for an offered update, and the download dialog's run to the installer's start.
#include "suite/common/tests/suite_test_support.h"
#include "suite/update/refreshkit_dialogs_win32.h"
#include "suite/update/resource_ids.h"
#include "tests/support/loopback_http_server_win32.h"
#include "tests/support/scratch_folder_win32.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace update {
namespace {

using suite::testing::LanguageFixtureFolder;
using suite::testing::RecordingMessages;

class RecordingLauncher final : public IInstallerLauncher
{
public:
    void Launch(const std::wstring& path, const std::wstring& parameters) override
    {
        launched.push_back(path + L"|" + parameters);
    }
    std::vector<std::wstring> launched;
};

// Answers this process's message boxes with OK and keeps their texts, while it lives.
class BoxAnswerer
{
public:
    BoxAnswerer()
    {
        m_thread = std::thread([this] {
            while (!m_stop) {
                ::EnumWindows(&BoxAnswerer::Visit, reinterpret_cast<LPARAM>(this));
                ::Sleep(50);
            }
        });
    }
    ~BoxAnswerer()
    {
        m_stop = true;
        m_thread.join();
    }
    std::vector<std::wstring> Texts()
    {
        std::lock_guard guard(lock);
        return texts;
    }
    std::mutex lock;
    std::vector<std::wstring> texts;

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM parameter)
    {
        auto* self = reinterpret_cast<BoxAnswerer*>(parameter);
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        wchar_t className[32] = {};
        ::GetClassNameW(window, className, 32);
        HWND text = ::GetDlgItem(window, 0xFFFF);
        if (process != ::GetCurrentProcessId() || std::wstring(className) != L"#32770" || !text ||
            !::IsWindowVisible(window))
            return TRUE;
        wchar_t body[512] = {};
        ::GetWindowTextW(text, body, 512);
        wchar_t caption[128] = {};
        ::GetWindowTextW(window, caption, 128);
        {
            std::lock_guard guard(self->lock);
            self->texts.push_back(std::wstring(caption) + L"|" + body);
        }
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ::Sleep(100);
        return TRUE;
    }
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class RefreshkitDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_module = ::LoadLibraryW((suite::testing::ProgramFolder() + L"Refreshkit.dll").c_str());
        ASSERT_NE(m_module, nullptr);
        DWORD number = 3;
        ASSERT_TRUE(m_user.Write(L"Software\\Vontar Security\\Common", L"CurrentLanguage",
                                 REG_DWORD, &number, sizeof(number)));
        m_languages = std::make_unique<suite::CVNTLanguageClient>(
            m_locator, m_messages,
            suite::LanguageClientSetup{L"LingotextUpdate_*.dll", L"7.0.0.0",
                                       suite::LanguageLibraryUse::KeepLoaded});
        ASSERT_TRUE(m_languages->HasLanguages());
        m_settings.productTitle = L"Vontar Suite";
        m_settings.installedVersion = L"7.1";
        m_settings.version = L"7.2";
        m_settings.updateStatus = L"1";
        m_settings.httpStatus = 200;
        m_settings.size = 65537;
        m_settings.releaseDate = L"2026-12-01";
    }
    void TearDown() override
    {
        m_languages.reset();
        if (m_module)
            ::FreeLibrary(m_module);
    }

    static std::wstring TextOf(HWND window)
    {
        wchar_t text[512] = {};
        ::GetWindowTextW(window, text, 512);
        return text;
    }

    HMODULE m_module = nullptr;
    suite::testing::RedirectedRoot m_user{HKEY_CURRENT_USER};
    suite::testing::FixedLocator m_locator{LanguageFixtureFolder(L"three"), L"C:\\nowhere\\"};
    RecordingMessages m_messages;
    std::unique_ptr<suite::CVNTLanguageClient> m_languages;
    CRefreshkitSettings m_settings;
    RecordingLauncher m_launcher;
};

TEST_F(RefreshkitDialogs, InformationDialogOffersTheUpdate)
{
    const DialogServices services{m_settings, *m_languages, m_launcher, m_module};
    HWND dialog = CreateContactDialog(services, nullptr);
    if (!dialog)
        GTEST_SKIP() << "no display";
    EXPECT_EQ(TextOf(dialog), L"update_name@DE");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDOK)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog, IDC_CONTACT_EXTENDED_BUTTON)));
    HWND list = ::GetDlgItem(dialog, IDC_CONTACT_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_TRUE(ListView_GetCheckState(list, 0));
    wchar_t cell[128] = {};
    ListView_GetItemText(list, 0, 0, cell, 128);
    EXPECT_EQ(std::wstring(cell), L"Vontar Suite");
    ListView_GetItemText(list, 0, 1, cell, 128);
    EXPECT_EQ(std::wstring(cell), L"contact_update_available@DE");
    ListView_GetItemText(list, 0, 2, cell, 128);
    EXPECT_EQ(std::wstring(cell), L"0.06");
    EXPECT_EQ(TextOf(::GetDlgItem(dialog, IDC_CONTACT_INFORMATION)), L"contact_ex_info@DE");
    // The factors are the client area over the design size (Wine's dialog font is not Windows').
    RECT client;
    ::GetClientRect(dialog, &client);
    EXPECT_FLOAT_EQ(m_settings.scaleX, client.right / 594.0f);
    EXPECT_FLOAT_EQ(m_settings.scaleY, client.bottom / 397.0f);
    ::DestroyWindow(dialog);
}

TEST_F(RefreshkitDialogs, DownloadRunsToTheInstallerOrReportsNoConnection)
{
    testsupport::LoopbackHttpServer server(
        {{"/files/setup.exe", 200, std::string(65537, 'x')}, {"/files/gone.exe", 404, "gone"}});
    ASSERT_TRUE(server.Started());
    testsupport::ScratchFolder scratch;
    struct Case
    {
        const char* path;
        bool cancelled;
        const wchar_t* box;
        std::size_t launches;
    };
    const Case cases[] = {
        {"/files/setup.exe", false, L"update_name@DE|down_exit@DE", 1},
        {"/files/gone.exe", true, L"update_name@DE|no_internet@DE", 0},
    };
    for (const Case& c : cases) {
        m_launcher.launched.clear();
        m_settings.downloadUrl = server.WideUrl(c.path);
        m_settings.localInstallerPath = scratch / L"setup.exe";
        m_settings.installerParameters = L"/S";
        const DialogServices services{m_settings, *m_languages, m_launcher, m_module};
        BoxAnswerer answerer;
        EXPECT_EQ(ShowDownloadDialog(services, nullptr), c.cancelled) << c.path;
        ASSERT_EQ(m_launcher.launched.size(), c.launches) << c.path;
        if (c.launches) {
            EXPECT_EQ(m_launcher.launched[0], scratch / L"setup.exe" + L"|/S");
        }
        const auto texts = answerer.Texts();
        ASSERT_FALSE(texts.empty()) << c.path;
        EXPECT_EQ(texts[0], c.box) << c.path;
    }
}

TEST_F(RefreshkitDialogs, CancelDuringTheDownloadLeavesThePartialFile)
{
    testsupport::LoopbackHttpServer server(
        {{"/files/setup.exe", 200, std::string(2 * 1048576, 'x'), 0, 100}});
    ASSERT_TRUE(server.Started());
    testsupport::ScratchFolder scratch;
    m_settings.downloadUrl = server.WideUrl("/files/setup.exe");
    m_settings.localInstallerPath = scratch / L"setup.exe";
    m_settings.size = 2 * 1048576;
    const DialogServices services{m_settings, *m_languages, m_launcher, m_module};
    const auto fileSize = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!::GetFileAttributesExW((scratch / L"setup.exe").c_str(), GetFileExInfoStandard, &data))
            return std::uint64_t{0};
        return std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
    };
    std::thread canceller([&] {
        for (int i = 0; i < 200; ++i) {
            ::Sleep(50);
            HWND dialog = ::FindWindowW(L"#32770", L"down_downloading@DE");
            if (dialog && fileSize() > 0) {
                ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_CANCEL, BN_CLICKED), 0);
                return;
            }
        }
    });
    BoxAnswerer answerer;
    EXPECT_TRUE(ShowDownloadDialog(services, nullptr));
    canceller.join();
    EXPECT_TRUE(m_launcher.launched.empty());
    EXPECT_TRUE(answerer.Texts().empty());
    EXPECT_GT(fileSize(), 0u);
    EXPECT_LT(fileSize(), 2u * 1048576);
}

TEST_F(RefreshkitDialogs, DiagnosticKeysOnlyAsKeys)
{
    m_settings.answer = L"[x]\r\nversion=7.2\r\n";
    m_settings.requestUrl = L"http://127.0.0.1:1/update?productid=17";
    struct Case
    {
        const char* name;
        UINT message;
        WPARAM key;
        std::vector<std::wstring> boxes;
    };
    const Case cases[] = {
        {"pause", WM_KEYDOWN, VK_PAUSE, {L"Status: 200|[x]\r\nversion=7.2\r\n"}},
        {"scroll lock", WM_KEYDOWN, VK_SCROLL, {L"|http://127.0.0.1:1/update?productid=17"}},
        {"another message with the same number", WM_USER + 5, VK_PAUSE, {}},
        {"another key", WM_KEYDOWN, VK_F1, {}},
    };
    for (const Case& c : cases) {
        const DialogServices services{m_settings, *m_languages, m_launcher, m_module};
        BoxAnswerer answerer;
        std::thread poster([&] {
            HWND dialog = nullptr;
            for (int i = 0; i < 100 && !dialog; ++i) {
                ::Sleep(50);
                dialog = ::FindWindowW(L"#32770", L"update_name@DE");
            }
            if (!dialog)
                return;
            ::PostMessageW(::GetDlgItem(dialog, IDC_CONTACT_LIST), c.message, c.key, 0);
            ::Sleep(700);
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        const INT_PTR result = ShowContactDialog(services, nullptr, false);
        poster.join();
        if (result == -1)
            GTEST_SKIP() << "no display";
        EXPECT_EQ(result, IDCANCEL) << c.name;
        // The diagnostic boxes are message boxes of their own; the dialog shows no other.
        auto texts = answerer.Texts();
        std::erase_if(texts, [](const std::wstring& t) { return t.starts_with(L"update_name"); });
        EXPECT_EQ(texts, c.boxes) << c.name;
    }
}

TEST(RefreshkitLaunch, VerbByWindowsVersion)
{
    EXPECT_STREQ(LaunchVerb(5), L"open");
    EXPECT_STREQ(LaunchVerb(6), L"runas");
    EXPECT_STREQ(LaunchVerb(10), L"runas");
}

}  // namespace
}  // namespace update
