#include "setup/engine/statements/machine_queries_win32.h"

#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "core/scope_guard.h"
#include "core/unique_handle.h"
#include "setup/engine/statements/hypervisor_probe_win32.h"
#include "setup/engine/statements/statements_registry_win32.h"
#include "setup/engine/statements/system_facts_win32.h"
#include "setup/engine/system/file_utils_win32.h"

namespace setup::engine {

namespace {

constexpr DWORD kPathBufferChars = MAX_PATH + 1;

using GetSystemWow64DirectoryFunction = UINT(WINAPI*)(LPSTR, UINT);

std::vector<BYTE> VersionResource(const std::string& path)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return {};
    return data;
}

std::string TokenAccount(bool user)
{
    core::UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put()))
        return {};
    DWORD needed = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &needed);
    if (needed == 0)
        return {};
    std::vector<BYTE> buffer(needed);
    if (!::GetTokenInformation(token.Get(), TokenUser, buffer.data(), needed, &needed))
        return {};
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    char name[256] = {};
    char domain[256] = {};
    DWORD nameLength = sizeof(name);
    DWORD domainLength = sizeof(domain);
    SID_NAME_USE use;
    if (!::LookupAccountSidA(nullptr, sid, name, &nameLength, domain, &domainLength, &use))
        return {};
    return user ? name : domain;
}

}  // namespace

std::string Win32MachineQueries::SystemFolder()
{
    char buffer[kPathBufferChars] = {};
    const UINT length = ::GetSystemDirectoryA(buffer, sizeof(buffer));
    return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

std::string Win32MachineQueries::Wow64SystemFolder()
{
    static const auto getWow64Directory =
        reinterpret_cast<GetSystemWow64DirectoryFunction>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryA")));
    if (getWow64Directory == nullptr)
        return {};
    char buffer[kPathBufferChars] = {};
    const UINT length = getWow64Directory(buffer, sizeof(buffer));
    return length >= 1 && length <= MAX_PATH ? std::string(buffer, length) : std::string();
}

std::string Win32MachineQueries::WindowsFolder()
{
    char buffer[kPathBufferChars] = {};
    const UINT length = ::GetWindowsDirectoryA(buffer, sizeof(buffer));
    return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

std::optional<FileVersionFields> Win32MachineQueries::FileVersion(const std::string& path)
{
    std::vector<BYTE> data = VersionResource(path);
    if (data.empty())
        return std::nullopt;
    void* block = nullptr;
    UINT size = 0;
    if (!::VerQueryValueA(data.data(), "\\", &block, &size) || size < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
    return FileVersionFields{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                             HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

std::optional<SystemLanguage> Win32MachineQueries::GetSystemLanguage()
{
    std::vector<BYTE> data = VersionResource(SystemFolder() + "\\winver.exe");
    if (data.empty())
        return std::nullopt;
    void* block = nullptr;
    UINT size = 0;
    if (!::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &block, &size) ||
        size < sizeof(DWORD))
        return std::nullopt;
    DWORD entry = 0;
    std::memcpy(&entry, block, sizeof(entry));
    SystemLanguage language;
    language.id = LOWORD(entry);
    char name[256] = {};
    const DWORD length = ::VerLanguageNameA(language.id, name, sizeof(name));
    language.name.assign(name, length < sizeof(name) ? length : 0);
    return language;
}

std::string Win32MachineQueries::ComputerName()
{
    char buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof(buffer);
    return ::GetComputerNameA(buffer, &length) ? std::string(buffer, length) : std::string();
}

std::string Win32MachineQueries::LogonUserOrDomain(bool user)
{
    if (IsWindowsNT())
        return TokenAccount(user);
    if (!user)
        return {};
    char name[256] = {};
    DWORD length = sizeof(name);
    return ::GetUserNameA(name, &length) ? std::string(name) : std::string();
}

int Win32MachineQueries::SystemMetric(int index)
{
    return ::GetSystemMetrics(index);
}

bool Win32MachineQueries::IsVmware()
{
    return engine::IsVmware();
}

bool Win32MachineQueries::IsVirtualPc()
{
    return engine::IsVirtualPc();
}

std::string Win32MachineQueries::IISAnonymousUser()
{
    // The IIS administration belongs to the system-configuration services; without them no
    // anonymous account can be read, which the setting reports as the empty text.
    return {};
}

std::string Win32MachineQueries::ShellFolder(int csidl)
{
    PIDLIST_ABSOLUTE itemList = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(::GetDesktopWindow(), csidl, &itemList)) ||
        itemList == nullptr)
        return {};
    const auto release = core::MakeScopeGuard([itemList] { ::CoTaskMemFree(itemList); });
    char buffer[kPathBufferChars] = {};
    if (!GetPathFromPidlSafe(itemList, buffer))
        return {};
    return buffer;
}

std::string Win32MachineQueries::ShellFolderFallback(int csidl)
{
    const auto [success, path] = GetFolderPathFallback(csidl);
    return success ? path : std::string();
}

std::uint32_t Win32MachineQueries::DriveType(char letter)
{
    const char root[] = {letter, ':', '\\', '\0'};
    return ::GetDriveTypeA(root);
}

std::optional<DiskSpace> Win32MachineQueries::GetDiskSpace(const std::string& path)
{
    ULARGE_INTEGER freeToCaller = {};
    ULARGE_INTEGER total = {};
    if (!::GetDiskFreeSpaceExA(path.c_str(), &freeToCaller, &total, nullptr))
        return std::nullopt;
    return DiskSpace{freeToCaller.QuadPart, total.QuadPart};
}

SystemInfoServices Win32SystemInfoServices()
{
    static Win32MachineQueries machine;
    const SystemStatementServices system = Win32SystemStatementServices();
    return {&ProcessSystemFacts(), &machine, system.registry, system.wow64, system.environment};
}

}  // namespace setup::engine
