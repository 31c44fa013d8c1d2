#include "setup/engine/statements/launch_win32.h"

#include <shellapi.h>

#include <vector>

#include "core/text_convert.h"
#include "core/unique_handle.h"
#include "setup/engine/statements/launch_plan.h"
#include "setup/engine/system/file_utils_win32.h"

namespace setup::engine {

#if defined(__i386__) || defined(_M_IX86)
// The shipping bitness passes these records to Windows by their own size fields.
static_assert(sizeof(SHELLEXECUTEINFOA) == 60);
static_assert(sizeof(STARTUPINFOA) == 68);
static_assert(sizeof(STARTUPINFOW) == 68);
#endif

namespace {

constexpr DWORD kWaitStepMs = 1000;
constexpr DWORD kShellTokenAccess = TOKEN_DUPLICATE | TOKEN_IMPERSONATE | TOKEN_QUERY |
                                    TOKEN_QUERY_SOURCE | READ_CONTROL;  // 0x2001E

using CreateProcessWithLogonFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPCWSTR,
                                                     LPWSTR, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW,
                                                     LPPROCESS_INFORMATION);
using CreateProcessWithTokenFunction = BOOL(WINAPI*)(HANDLE, DWORD, LPCWSTR, LPWSTR, DWORD, LPVOID,
                                                     LPCWSTR, LPSTARTUPINFOW,
                                                     LPPROCESS_INFORMATION);
using DuplicateTokenExFunction = BOOL(WINAPI*)(HANDLE, DWORD, LPSECURITY_ATTRIBUTES,
                                               SECURITY_IMPERSONATION_LEVEL, TOKEN_TYPE, PHANDLE);

template <typename Function>
Function LookUpAdvapi32(const char* name)
{
    HMODULE advapi = ::GetModuleHandleA("advapi32.dll");
    if (advapi == nullptr)
        advapi = ::LoadLibraryA("advapi32.dll");
    if (advapi == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(advapi, name)));
}

// The starting thread's own queue: a worker owns no windows, but a shell start may leave
// messages for it.
void PumpThreadMessages()
{
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

int WaitForExitCode(HANDLE process, bool wait, StopFlag stop)
{
    if (wait) {
        do {
            PumpThreadMessages();
            if (stop != nullptr && stop->load())
                break;
        } while (::WaitForSingleObject(process, kWaitStepMs) == WAIT_TIMEOUT);
    }
    DWORD exitCode = kStillActive;
    ::GetExitCodeProcess(process, &exitCode);
    return static_cast<int>(exitCode);
}

// The process and thread handles of a start, owned.
struct StartedProcess
{
    core::UniqueProcess process;
    core::UniqueThread thread;

    void Take(const PROCESS_INFORMATION& info)
    {
        process.Reset(info.hProcess);
        thread.Reset(info.hThread);
    }
};

void* BlockOrNull(std::string& block)
{
    return block.empty() ? nullptr : block.data();
}

int StartDirectly(const StartRequest& request)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowStateOfCode(request.showCode, false));
    std::string commandLine = request.commandLine;
    std::string block = BuildEnvironmentBlock(request.environment);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                          BlockOrNull(block), nullptr, &startup, &info))
        return kCreateProcessFailed;
    StartedProcess started;
    started.Take(info);
    return WaitForExitCode(started.process.Get(), request.wait, request.stop);
}

STARTUPINFOW WideStartup(int showCode)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowStateOfCode(showCode, true));
    return startup;
}

bool SetTokenPrivilegeState(HANDLE token, const char* name, DWORD state)
{
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = state;
    if (!::LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid))
        return false;
    ::SetLastError(ERROR_SUCCESS);
    if (!::AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), nullptr, nullptr))
        return false;
    return ::GetLastError() == ERROR_SUCCESS;
}

core::UniqueKernelHandle DuplicateTokenDynamic(HANDLE token)
{
    static const auto duplicate = LookUpAdvapi32<DuplicateTokenExFunction>("DuplicateTokenEx");
    core::UniqueKernelHandle copy;
    if (duplicate == nullptr || !duplicate(token, MAXIMUM_ALLOWED, nullptr, SecurityImpersonation,
                                           TokenPrimary, copy.Put()))
        copy.Reset();
    return copy;
}

int StartWithShellToken(DWORD shellProcessId, const StartRequest& request)
{
    const core::UniqueProcess shell(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, shellProcessId));
    if (!shell)
        return kShellProcessRefused;
    core::UniqueKernelHandle shellToken;
    if (!::OpenProcessToken(shell.Get(), kShellTokenAccess, shellToken.Put()))
        return kShellTokenRefused;
    const core::UniqueKernelHandle token = DuplicateTokenDynamic(shellToken.Get());
    if (!token)
        return kTokenDuplicateFailed;
    RemoveAdminPrivileges(token.Get());

    static const auto createWithToken =
        LookUpAdvapi32<CreateProcessWithTokenFunction>("CreateProcessWithTokenW");
    if (createWithToken == nullptr)
        return kTokenStartMissing;
    STARTUPINFOW startup = WideStartup(request.showCode);
    std::wstring commandLine = core::AnsiToWide(request.commandLine);
    std::string block = BuildEnvironmentBlock(request.environment);
    PROCESS_INFORMATION info = {};
    if (!createWithToken(token.Get(), 0, nullptr, commandLine.data(), CREATE_NEW_CONSOLE,
                         BlockOrNull(block), nullptr, &startup, &info))
        return kCreateProcessFailed;
    StartedProcess started;
    started.Take(info);
    return WaitForExitCode(started.process.Get(), request.wait, request.stop);
}

}  // namespace

int RunProgram(const std::string& file, const std::string& parameters, const std::string& folder,
               bool show, bool wait, StopFlag stop)
{
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = show ? SW_SHOW : SW_HIDE;
    if (!::ShellExecuteExA(&info)) {
        info.lpVerb = nullptr;
        info.hProcess = nullptr;
        if (!::ShellExecuteExA(&info))
            return kStartFailed;
    }
    const core::UniqueProcess process(info.hProcess);
    if (!process)
        return 0;  // handed to a program that was running already: nothing to wait for
    return WaitForExitCode(process.Get(), wait, stop);
}

int RunWithLogon(const std::string& domain, const std::string& user, const std::string& password,
                 const StartRequest& request)
{
    if (!user.empty() && IsWindowsNT())
        return StartProcessWithLogon(domain, user, password, request);
    return StartDirectly(request);
}

int StartProcessWithLogon(const std::string& domain, const std::string& user,
                          const std::string& password, const StartRequest& request)
{
    static const auto createWithLogon =
        LookUpAdvapi32<CreateProcessWithLogonFunction>("CreateProcessWithLogonW");
    if (createWithLogon == nullptr)
        return kStartFailed;
    STARTUPINFOW startup = WideStartup(request.showCode);
    const std::wstring wideUser = core::AnsiToWide(user);
    const std::wstring wideDomain = core::AnsiToWide(domain);
    const std::wstring widePassword = core::AnsiToWide(password);
    std::wstring commandLine = core::AnsiToWide(request.commandLine);
    std::string block = BuildEnvironmentBlock(request.environment);
    PROCESS_INFORMATION info = {};
    if (!createWithLogon(wideUser.c_str(), wideDomain.c_str(), widePassword.c_str(),
                         LOGON_WITH_PROFILE, nullptr, commandLine.data(), CREATE_NEW_CONSOLE,
                         BlockOrNull(block), nullptr, &startup, &info))
        return kCreateProcessFailed;
    StartedProcess started;
    started.Take(info);
    return WaitForExitCode(started.process.Get(), request.wait, request.stop);
}

int RunWithShellToken(const StartRequest& request, bool vistaOrLater)
{
    if (vistaOrLater) {
        DWORD shellProcessId = 0;
        if (const HWND shell = ::FindWindowA("Progman", nullptr); shell != nullptr)
            ::GetWindowThreadProcessId(shell, &shellProcessId);
        const bool shellFound = shellProcessId != 0;
        const std::uint32_t setupLevel = GetProcessIntegrityLevel(::GetCurrentProcessId());
        const std::uint32_t shellLevel = shellFound ? GetProcessIntegrityLevel(shellProcessId) : 0;
        if (UsesShellToken(true, shellFound, setupLevel, shellLevel) && EnableDebugPrivilege())
            return StartWithShellToken(shellProcessId, request);
    }
    return RunWithLogon({}, {}, {}, request);
}

std::uint32_t GetProcessIntegrityLevel(DWORD processId)
{
    const core::UniqueProcess process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process)
        return 0;
    core::UniqueKernelHandle token;
    if (!::OpenProcessToken(process.Get(), TOKEN_QUERY, token.Put()))
        return 0;
    DWORD needed = 0;
    ::GetTokenInformation(token.Get(), TokenIntegrityLevel, nullptr, 0, &needed);
    if (needed < sizeof(TOKEN_MANDATORY_LABEL))
        return 0;
    std::vector<BYTE> buffer(needed);
    if (!::GetTokenInformation(token.Get(), TokenIntegrityLevel, buffer.data(), needed, &needed))
        return 0;
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    const UCHAR count = *::GetSidSubAuthorityCount(sid);
    return count == 0 ? 0 : *::GetSidSubAuthority(sid, count - 1);
}

bool EnableDebugPrivilege()
{
    core::UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                            token.Put()))
        return false;
    return SetTokenPrivilegeState(token.Get(), "SeDebugPrivilege", SE_PRIVILEGE_ENABLED);
}

void RemoveAdminPrivileges(HANDLE token)
{
    for (const char* name : kRemovedShellPrivileges)
        SetTokenPrivilegeState(token, name, SE_PRIVILEGE_REMOVED);
}

}  // namespace setup::engine
