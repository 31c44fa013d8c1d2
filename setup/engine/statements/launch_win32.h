// Starting programs: through the shell, directly, under another logon, or with the desktop
// shell's token from an elevated setup; each optionally waited for, giving the exit code.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace setup::engine {

// Ends a wait early (the program keeps running); none waits to the end.
using StopFlag = const std::atomic<bool>*;

// ShellExecuteEx with the "open" verb, then the default action. -1 when both fail; the exit code
// when waited for, else STILL_ACTIVE while the program runs; 0 when the shell handed the request
// to a program that was running already.
int RunProgram(const std::string& file, const std::string& parameters, const std::string& folder,
               bool show, bool wait, StopFlag stop = nullptr);

struct StartRequest
{
    std::string commandLine;
    std::string environment;  // the lines of the environment parameter; empty inherits
    int showCode = 0;
    bool wait = false;
    StopFlag stop = nullptr;
};

// With a user on Windows NT through the logon start, otherwise a direct start.
int RunWithLogon(const std::string& domain, const std::string& user, const std::string& password,
                 const StartRequest& request);
// CreateProcessWithLogonW with the user's profile; -1 when it does not exist.
int StartProcessWithLogon(const std::string& domain, const std::string& user,
                          const std::string& password, const StartRequest& request);
// As the desktop's ordinary user when the setup runs elevated on Vista or later; otherwise a
// direct start with the setup's own rights.
int RunWithShellToken(const StartRequest& request, bool vistaOrLater);

// The last sub-authority of the process token's integrity label; 0 when it cannot be read.
std::uint32_t GetProcessIntegrityLevel(DWORD processId);
bool EnableDebugPrivilege();
// SE_PRIVILEGE_REMOVED for every privilege of the shell-token list the system knows.
void RemoveAdminPrivileges(HANDLE token);

}  // namespace setup::engine
