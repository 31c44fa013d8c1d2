#include "setup/engine/statements/system_facts_win32.h"

#include <vector>

#include "core/unique_handle.h"

namespace setup::engine {

namespace {

using UniqueDisplayDc = core::UniqueHandle<HDC, &::DeleteDC, 0>;
using GetNativeSystemInfoFunction = void(WINAPI*)(LPSYSTEM_INFO);
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);

template <typename Function>
Function LookUpKernel32(const char* name)
{
    const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(kernel, name)));
}

// The thread's impersonation token when it has one, else the process token.
core::UniqueKernelHandle OpenEffectiveToken()
{
    core::UniqueKernelHandle token;
    if (::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.Put()))
        return token;
    token.Reset();
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put()))
        token.Reset();
    return token;
}

std::vector<BYTE> TokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind)
{
    DWORD needed = 0;
    ::GetTokenInformation(token, kind, nullptr, 0, &needed);
    if (needed == 0)
        return {};
    std::vector<BYTE> buffer(needed);
    if (!::GetTokenInformation(token, kind, buffer.data(), needed, &needed))
        return {};
    return buffer;
}

}  // namespace

OsVersionRecord Win32SystemFacts::VersionRecord()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    OsVersionRecord record;
    if (!::GetVersionExA(&info))
        return record;
    record.platformId = info.dwPlatformId;
    record.major = info.dwMajorVersion;
    record.minor = info.dwMinorVersion;
    record.buildNumber = info.dwBuildNumber;
    record.servicePackText = info.szCSDVersion;
    return record;
}

bool Win32SystemFacts::IsServerSystem()
{
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
        return false;
    return info.wProductType != VER_NT_WORKSTATION;
}

bool Win32SystemFacts::TokenHasBuiltinGroup(std::uint32_t rid)
{
    const core::UniqueKernelHandle token = OpenEffectiveToken();
    if (!token)
        return false;
    const std::vector<BYTE> buffer = TokenInformation(token.Get(), TokenGroups);
    if (buffer.size() < sizeof(TOKEN_GROUPS))
        return false;
    BYTE sidBytes[SECURITY_MAX_SID_SIZE] = {};
    const PSID group = sidBytes;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    if (!::InitializeSid(group, &ntAuthority, 2))
        return false;
    *::GetSidSubAuthority(group, 0) = SECURITY_BUILTIN_DOMAIN_RID;
    *::GetSidSubAuthority(group, 1) = rid;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (::EqualSid(groups->Groups[i].Sid, group))
            return true;
    }
    return false;
}

bool Win32SystemFacts::IsProcessElevated()
{
    core::UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put()))
        return false;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (!::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &size))
        return false;
    return elevation.TokenIsElevated != 0;
}

MemoryStatus Win32SystemFacts::GetMemoryStatus()
{
    MEMORYSTATUS status = {};
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatus(&status);
    MemoryStatus memory;
    memory.totalPhysical = status.dwTotalPhys;
    memory.availablePhysical = status.dwAvailPhys;
    memory.totalPageFile = status.dwTotalPageFile;
    memory.availablePageFile = status.dwAvailPageFile;
    memory.totalVirtual = status.dwTotalVirtual;
    memory.availableVirtual = status.dwAvailVirtual;
    return memory;
}

ScreenFacts Win32SystemFacts::Screen()
{
    ScreenFacts screen;
    screen.width = ::GetSystemMetrics(SM_CXSCREEN);
    screen.height = ::GetSystemMetrics(SM_CYSCREEN);
    const UniqueDisplayDc display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    if (display)
        screen.bitsPerPixel = ::GetDeviceCaps(display.Get(), BITSPIXEL);
    if (const HDC screenDc = ::GetDC(nullptr); screenDc != nullptr) {
        screen.dotsPerInch = ::GetDeviceCaps(screenDc, LOGPIXELSX);
        ::ReleaseDC(nullptr, screenDc);
    }
    return screen;
}

std::optional<std::uint16_t> Win32SystemFacts::NativeProcessorArchitecture()
{
    static const auto getNativeSystemInfo =
        LookUpKernel32<GetNativeSystemInfoFunction>("GetNativeSystemInfo");
    if (getNativeSystemInfo == nullptr)
        return std::nullopt;
    SYSTEM_INFO info = {};
    getNativeSystemInfo(&info);
    return info.wProcessorArchitecture;
}

bool Win32SystemFacts::IsWow64()
{
    static const auto isWow64Process = LookUpKernel32<IsWow64ProcessFunction>("IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64Process != nullptr && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

ISystemFacts& ProcessSystemFacts()
{
    static Win32SystemFacts facts;
    return facts;
}

}  // namespace setup::engine
