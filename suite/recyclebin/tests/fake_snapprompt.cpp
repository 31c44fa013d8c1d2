// The snapshot-removal library as the tests know it: ShowRemovePVGUI answers the number in
// SNAPPROMPT_ANSWER (0 without it) and appends "<method>|<drive letters>" as a UTF-16 line to
// the file SNAPPROMPT_RECORD names.
#include "core/unique_handle.h"

#include <windows.h>

#include <cstdlib>
#include <string>

extern "C" int __stdcall ShowRemovePVGUI(void* /*progressDialog*/, int algorithm,
                                         const wchar_t* driveLetters) noexcept
{
    wchar_t record[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"SNAPPROMPT_RECORD", record, MAX_PATH) > 0) {
        const std::wstring line =
            std::to_wstring(algorithm) + L"|" + (driveLetters ? driveLetters : L"") + L"\n";
        core::UniqueFile file(::CreateFileW(record, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file)
            ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)),
                        &written, nullptr);
    }
    wchar_t answer[16] = {};
    if (::GetEnvironmentVariableW(L"SNAPPROMPT_ANSWER", answer, 16) == 0)
        return 0;
    return static_cast<int>(std::wcstol(answer, nullptr, 10));
}
