#include "tests/support/program_windows_win32.h"

#include "core/unique_handle.h"

namespace testsupport {
namespace {

struct Search
{
    const std::string* program;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    core::UniqueProcess process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (::IsWindowVisible(window) && process &&
        ::QueryFullProcessImageNameA(process.Get(), 0, path, &size) &&
        _stricmp(path, search->program->c_str()) == 0)
        search->windows.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleWindowsOf(const std::string& programPath)
{
    Search search{&programPath, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

}  // namespace testsupport
