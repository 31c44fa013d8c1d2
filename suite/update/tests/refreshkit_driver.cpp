// Calls one export of Refreshkit.dll (loaded from beside this program) in a process of its own, so
// each call meets a fresh library and its message boxes can be answered from outside. The machine
// and user registry roots are redirected to a scratch key first, holding the library folder of
// "Lingotext.dll", the "UpdateURL" setting and the current language.
//
//   refreshkit_driver <result file> <language folder|-> <update url|-> <language number>
//                     check <silent 0|1> <installed version> <user name> [<repeat count>]
//   refreshkit_driver <result file> <language folder|-> <update url|-> <language number>
//                     date <repeat count>
//
// The result file gets one UTF-16 line per call: the check's result, or the date ("(none)" for no
// text).
#include "core/unique_handle.h"
#include "tests/support/program_folder_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using CheckFunction = int(__cdecl*)(void*, void*, const wchar_t*, const wchar_t*, const wchar_t*,
                                    const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                                    int, unsigned char);
using DateFunction = wchar_t*(__cdecl*)(void*, const wchar_t*);

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 7)
        return 90;
    const std::wstring resultFile = argv[1];
    const std::wstring languageFolder = argv[2];
    const std::wstring updateUrl = argv[3];
    const DWORD languageNumber = static_cast<DWORD>(std::wcstoul(argv[4], nullptr, 10));
    const std::wstring mode = argv[5];

    const std::wstring scratchName =
        L"Software\\RefreshkitDriver\\" + std::to_wstring(::GetCurrentProcessId());
    core::UniqueKey machine, user;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, (scratchName + L"\\machine").c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, machine.Put(), nullptr);
    ::RegCreateKeyExW(HKEY_CURRENT_USER, (scratchName + L"\\user").c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, user.Put(), nullptr);
    if (!machine || !user)
        return 91;
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine.Get());
    ::RegOverridePredefKey(HKEY_CURRENT_USER, user.Get());
    if (languageFolder != L"-")
        testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, L"Software\\Vontar Security\\Paths\\DLLs", L"Lingotext.dll",
                  languageFolder);
    if (updateUrl != L"-")
        testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, L"Software\\Vontar Security\\Refreshkit", L"UpdateURL",
                  updateUrl);
    {
        core::UniqueKey common;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Vontar Security\\Common", 0, nullptr, 0,
                          KEY_WRITE, nullptr, common.Put(), nullptr);
        ::RegSetValueExW(common.Get(), L"CurrentLanguage", 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&languageNumber), sizeof(languageNumber));
    }

    std::vector<std::wstring> lines;
    int exitCode = 0;
    {
        core::UniqueModule refreshkit(
            ::LoadLibraryW((testsupport::ProgramFolder() + L"Refreshkit.dll").c_str()));
        const auto check =
            reinterpret_cast<CheckFunction>(::GetProcAddress(refreshkit.Get(), "Refreshkit"));
        const auto date =
            reinterpret_cast<DateFunction>(::GetProcAddress(refreshkit.Get(), "VNTReleaseDate"));
        if (!check || !date) {
            exitCode = 92;
        } else if (mode == L"check" && argc >= 9) {
            const int silent = std::wcstol(argv[6], nullptr, 10);
            const int repeat = argc >= 10 ? std::wcstol(argv[9], nullptr, 10) : 1;
            for (int i = 0; i < repeat; ++i) {
                const int result = check(nullptr, nullptr, L"17", L"Vontar Suite", argv[7], L"",
                                         argv[8], L"ann@example.org", L"A&B", silent, 0);
                lines.push_back(std::to_wstring(result));
            }
        } else if (mode == L"date") {
            const int repeat = std::wcstol(argv[6], nullptr, 10);
            for (int i = 0; i < repeat; ++i) {
                const wchar_t* text = date(nullptr, L"17");
                lines.push_back(text ? text : L"(none)");
            }
        } else {
            exitCode = 93;
        }
    }

    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    machine.Reset();
    user.Reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, scratchName.c_str());

    std::wstring text = L"\xFEFF";
    for (const std::wstring& line : lines)
        text += line + L"\r\n";
    core::UniqueFile file(::CreateFileW(resultFile.c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), text.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                &written, nullptr);
    return exitCode;
}
