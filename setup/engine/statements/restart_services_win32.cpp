#include "setup/engine/statements/restart_services_win32.h"

#include <windows.h>

#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"

namespace setup::engine {

namespace {

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";

// The previous state is not restored: the session is about to end.
void EnableShutdownPrivilege()
{
    core::UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                            token.Put()))
        return;
    TOKEN_PRIVILEGES privileges{};
    if (!::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        return;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
}

}  // namespace

void Win32RestartServices::WriteRunValue(bool machineHive, const std::string& name,
                                         const std::string& data)
{
    core::UniqueKey key;
    if (::RegCreateKeyExA(machineHive ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kRunKey, 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.Put(),
                          nullptr) != ERROR_SUCCESS)
        throw rtl::Exception("Failed to create key " + std::string(kRunKey));
    if (::RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>(data.size() + 1)) != ERROR_SUCCESS)
        throw rtl::Exception("Failed to set data for '" + name + "'");
}

bool Win32RestartServices::ShutdownWithPrivilege(std::uint32_t flags)
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (::GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        EnableShutdownPrivilege();
#pragma GCC diagnostic pop
    return ::ExitWindowsEx(flags, 0) != FALSE;
}

IRestartServices& ProcessRestartServices()
{
    static Win32RestartServices services;
    return services;
}

}  // namespace setup::engine
