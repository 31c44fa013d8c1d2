// Refreshkit: a silent update check against a loopback update server that this demo starts and
// stops, with the suite's registry settings in a scratch key of the demo's own.
#include "demo/captured_output.h"
#include "demo/demo_library.h"
#include "tests/support/loopback_http_server_win32.h"
#include "tests/support/program_folder_win32.h"

#include <string>

namespace demo {
namespace {

// The machine root points at a scratch key while it lives.
class ScratchMachineRoot
{
public:
    ScratchMachineRoot()
    {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kName, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          m_key.Put(), nullptr);
        ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_key.Get());
    }
    ~ScratchMachineRoot()
    {
        ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        m_key.Reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kName);
    }

private:
    static constexpr wchar_t kName[] = L"Software\\SuiteDemo\\machine";
    core::UniqueKey m_key;
};

}  // namespace

bool RunUpdateDemo()
{
    const std::string answer =
        "[Update]\r\nversion=7.2\r\nsize=1048576\r\n"
        "access=http://127.0.0.1/files/VontarSuite72.exe\r\n"
        "filename=http://127.0.0.1/files/VontarSuite72.exe\r\nupdatestatus=1\r\n"
        "updateinfo=%u0056%u0065%u0072%u0073%u0069%u006f%u006e 7.2\r\nreleasedate=2026-12-01\r\n";
    testsupport::LoopbackHttpServer server({{"/update", 200, answer}}, 30000);
    if (!server.Started()) {
        std::printf("  could not start the update server\n");
        return false;
    }
    ScratchMachineRoot machine;
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, L"Software\\Vontar Security\\Paths\\DLLs", L"Lingotext.dll",
              testsupport::ProgramFolder() + L"language_fixtures\\three");
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, L"Software\\Vontar Security\\Refreshkit", L"UpdateURL",
              server.WideUrl("/update"));

    DemoLibrary library(L"Refreshkit.dll");
    if (!library.Loaded())
        return false;
    using CheckFunction =
        int(__cdecl*)(void*, void*, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                      const wchar_t*, const wchar_t*, const wchar_t*, int, unsigned char);
    auto check = library.Bind<CheckFunction>("Refreshkit");
    if (!check) {
        std::printf("  an export is missing\n");
        return false;
    }
    CapturedOutput libraryOutput;
    const int result = check(nullptr, nullptr, L"17", L"Vontar Suite", L"7.1", L"", L"Ann Lee",
                             L"ann@example.org", L"A&B", 1, 0);
    PrintLibraryLines("Refreshkit", libraryOutput.Stop());
    for (const std::string& request : server.Requests())
        std::printf("  %-30s %s\n", "request the server got", request.c_str());
    std::string lines = answer;
    for (std::size_t at = lines.find("\r\n"); at != std::string::npos; at = lines.find("\r\n"))
        lines.replace(at, 2, "\n" + std::string(33, ' '));
    std::printf("  %-30s %s\n", "answer it sent", lines.c_str());
    std::printf("  %-30s %d (2: a newer version is offered)\n", "silent check of 7.1", result);
    return result == 2;
}

}  // namespace demo
