#include "support/process/process_helpers.h"

#include <climits>

namespace process {

bool ExeNamesMatch(std::wstring_view a, std::wstring_view b) noexcept
{
    if (a.size() > INT_MAX || b.size() > INT_MAX)
        return false;
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

int CountInstances(IProcessTable& table, std::wstring_view exeName)
{
    const auto entries = table.Snapshot();
    if (!entries || entries->empty())
        return kFailure;
    int count = 0;
    for (const ProcessEntry& entry : *entries) {
        if (ExeNamesMatch(entry.exeName, exeName))
            ++count;
    }
    return count;
}

int ExitProgram(IProcessTable& table, std::wstring_view exeName)
{
    const auto entries = table.Snapshot();
    if (!entries || entries->empty())
        return kFailure;
    for (const ProcessEntry& entry : *entries) {
        if (ExeNamesMatch(entry.exeName, exeName) &&
            table.Terminate(entry.id) == TerminateResult::CannotOpen)
            return kFailure;
    }
    return 1;
}

BOOL ExitMailvaneGently() noexcept
{
    // Posting to a null window would put WM_CLOSE into the caller's own queue and report success.
    HWND window = ::FindWindowW(L"Vontar Mailvane", nullptr);
    if (!window) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return ::PostMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace process
