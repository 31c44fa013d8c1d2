// Writes "line:" and the raw command line, then "arg:" and each argument as the standard rules
// split it, as UTF-16 lines into the file WIPESTATION_RECORD names. The file is written under a
// temporary name and renamed, so a reader never sees half of it.
#include "core/unique_handle.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

int wmain()
{
    wchar_t target[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"WIPESTATION_RECORD", target, MAX_PATH) == 0)
        return 2;
    const wchar_t* line = ::GetCommandLineW();
    std::wstring text = L"\xFEFF";
    text += L"line:" + std::wstring(line) + L"\r\n";
    int count = 0;
    if (wchar_t** args = ::CommandLineToArgvW(line, &count)) {
        for (int i = 1; i < count; ++i)
            text += L"arg:" + std::wstring(args[i]) + L"\r\n";
        ::LocalFree(args);
    }
    const std::wstring partial = std::wstring(target) + L".part";
    {
        core::UniqueFile file(::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return 3;
        DWORD written = 0;
        ::WriteFile(file.Get(), text.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                    &written, nullptr);
    }
    return ::MoveFileExW(partial.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
