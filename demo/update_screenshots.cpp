// Draws both update dialogs on the display and writes each as a 24-bit BMP into the folder given
// as the argument: the information dialog for an offered update, and the download dialog while it
// fetches from a slow loopback server. scripts/screenshot.sh turns them into PNG files.
#include "core/unique_handle.h"
#include "suite/common/language_client_win32.h"
#include "suite/update/refreshkit_dialogs_win32.h"
#include "tests/support/loopback_http_server_win32.h"
#include "tests/support/program_folder_win32.h"
#include "tests/support/window_capture_win32.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

class NoLaunch final : public update::IInstallerLauncher
{
public:
    void Launch(const std::wstring&, const std::wstring&) override {}
};

class PrintedMessages final : public suite::IUserMessages
{
public:
    void Show(std::wstring_view text, std::wstring_view, suite::MessageIcon) override
    {
        std::printf("  message: %ls\n", std::wstring(text).c_str());
    }
};

class FixtureLocator final : public suite::ISuiteLocator
{
public:
    std::wstring SuiteLibraryFolder(std::wstring_view) override
    {
        return testsupport::ProgramFolder() + L"language_fixtures\\three";
    }
    std::wstring ModuleFolder() override { return testsupport::ProgramFolder(); }
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const std::wstring folder = std::wstring(argv[1]) + L"\\";
    core::UniqueModule refreshkit(
        ::LoadLibraryW((testsupport::ProgramFolder() + L"Refreshkit.dll").c_str()));
    if (!refreshkit)
        return 3;
    FixtureLocator locator;
    PrintedMessages messages;
    suite::CVNTLanguageClient languages(
        locator, messages,
        {L"LingotextUpdate_*.dll", L"7.0.0.0", suite::LanguageLibraryUse::KeepLoaded});
    update::CRefreshkitSettings settings;
    settings.productTitle = L"Vontar Suite";
    settings.installedVersion = L"7.1";
    settings.version = L"7.2";
    settings.updateStatus = L"1";
    settings.httpStatus = 200;
    settings.size = 1572864;
    settings.releaseDate = L"2026-12-01";
    NoLaunch launcher;
    const update::DialogServices services{settings, languages, launcher, refreshkit.Get()};

    int status = 0;
    HWND contact = update::CreateContactDialog(services, nullptr);
    if (!contact)
        return 4;
    if (!testsupport::CaptureAndClose(contact, folder + L"update_information.bmp"))
        status = 5;

    // A slow server keeps the download dialog up while it is captured.
    testsupport::LoopbackHttpServer server(
        {{"/files/setup.exe", 200, std::string(1572864, 'x'), 3000}}, 30000);
    settings.downloadUrl = server.WideUrl("/files/setup.exe");
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    settings.localInstallerPath = std::wstring(temp) + L"update_screenshot_setup.exe";
    const std::wstring downloadTitle = languages.GetString(L"down_downloading");
    const std::wstring boxTitle = languages.GetString(L"update_name");
    std::atomic<bool> captured{false};
    std::thread capture([&] {
        for (int i = 0; i < 100 && !captured; ++i) {
            ::Sleep(100);
            HWND dialog = ::FindWindowW(L"#32770", downloadTitle.c_str());
            if (dialog && ::IsWindowVisible(dialog)) {
                ::Sleep(700);
                captured = testsupport::SaveWindow(dialog, folder + L"update_download.bmp");
            }
        }
        // Then the download ends: its closing message box is answered.
        for (int i = 0; i < 100; ++i) {
            ::Sleep(100);
            HWND box = ::FindWindowW(L"#32770", boxTitle.c_str());
            if (box)
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    });
    update::ShowDownloadDialog(services, nullptr);
    capture.join();
    ::DeleteFileW(settings.localInstallerPath.c_str());
    if (!captured)
        status = 6;
    std::printf("%s\n", status == 0 ? "screenshots written" : "screenshots failed");
    return status;
}
