#include "setup/engine/statements/statements_processes_win32.h"

#include <windows.h>

#include <tlhelp32.h>

#include "core/text_convert.h"
#include "core/unique_handle.h"

namespace setup::engine {
namespace {

using core::UniqueServiceHandle;

constexpr int kNameBufferSize = 260;

std::string FileNamePart(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<std::string> Win32ProcessServices::RunningProcessNames()
{
    std::vector<std::string> names;
    core::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return names;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        names.push_back(FileNamePart(core::WideToAnsi(entry.szExeFile)));
    }
    return names;
}

int Win32ProcessServices::GetServiceState(const std::string& computer, const std::string& service)
{
    const UniqueServiceHandle manager(::OpenSCManagerA(
        computer.empty() ? nullptr : computer.c_str(), nullptr, SC_MANAGER_CONNECT));
    if (!manager)
        return -1;
    const UniqueServiceHandle handle(
        ::OpenServiceA(manager.Get(), service.c_str(), SERVICE_QUERY_STATUS));
    if (!handle)
        return -1;
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(handle.Get(), &status))
        return -1;
    return static_cast<int>(status.dwCurrentState);
}

std::vector<TopLevelWindow> Win32ProcessServices::TopLevelWindows()
{
    std::vector<TopLevelWindow> windows;
    for (HWND window = ::GetWindow(::GetDesktopWindow(), GW_CHILD); window != nullptr;
         window = ::GetWindow(window, GW_HWNDNEXT)) {
        char className[kNameBufferSize] = {};
        char title[kNameBufferSize] = {};
        ::GetClassNameA(window, className, kNameBufferSize);
        ::GetWindowTextA(window, title, kNameBufferSize);
        windows.push_back({reinterpret_cast<std::uintptr_t>(window), className, title});
    }
    return windows;
}

void Win32ProcessServices::PostCloseMessages(std::uintptr_t window)
{
    const HWND handle = reinterpret_cast<HWND>(window);
    ::PostMessageA(handle, WM_CANCELMODE, 0, 0);
    ::PostMessageA(handle, WM_CLOSE, 0, 0);
}

IProcessServices& Win32Processes()
{
    static Win32ProcessServices services;
    return services;
}

}  // namespace setup::engine
