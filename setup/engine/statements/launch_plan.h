// The plain decisions of program launching: the environment block built from script lines, the
// show state of a show code, the command lines handed to Windows, which registration a server
// file gets and when a program may start with the desktop shell's token.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace setup::engine {

// Exit-code results of the starts.
inline constexpr int kStartFailed = -1;  // not started, or the logon start does not exist
inline constexpr int kShellProcessRefused = -7;
inline constexpr int kShellTokenRefused = -8;
inline constexpr int kTokenDuplicateFailed = -9;
inline constexpr int kCreateProcessFailed = -11;
inline constexpr int kTokenStartMissing = 0;
inline constexpr int kStillActive = 259;

// "Run Program As" with this user name starts the program as the desktop's ordinary user.
inline constexpr std::string_view kShellTokenUser = "$TARQ_UAC$";

inline constexpr std::uint32_t kMediumIntegrity = 0x2000;
inline constexpr std::uint32_t kHighIntegrity = 0x3000;

// Entries cut at each CR LF, each ended by a NUL, one more NUL after the last. Empty entries are
// left out: an empty entry would end the block early and drop the entries after it. An empty
// text gives the empty block, which means the program inherits the setup's environment.
std::string BuildEnvironmentBlock(std::string_view text);

// The window show state of a "Run Program As" show code; codes outside 0-4 show normally when
// started with a logon or a shell token, and hidden when started directly.
int ShowStateOfCode(int code, bool logonOrToken);

// A double quote, the program, a double quote, a blank and the arguments.
std::string QuotedCommandLine(std::string_view program, std::string_view arguments);
// The quoted program with " /regserver" or " /unregserver".
std::string RegisterServerCommandLine(std::string_view path, bool registering);

enum class ServerFileKind
{
    TypeLibrary,
    Program,
    Library
};
// By the extension, letter case ignored: ".tlb", ".exe", anything else.
ServerFileKind ServerFileKindOf(std::string_view path);

// The folder part of a path, up to and including its last '\' or ':' (empty when it has none).
std::string FolderOf(std::string_view path);

// The shell-token start is taken from an elevated setup on Vista or later whose desktop shell runs
// at medium integrity; otherwise the program starts directly with the setup's own rights.
bool UsesShellToken(bool vistaOrLater, bool shellFound, std::uint32_t setupIntegrity,
                    std::uint32_t shellIntegrity);

// The privileges taken from a duplicated shell token, in the order they are removed.
inline constexpr const char* kRemovedShellPrivileges[] = {
    "SeCreateGlobalPrivilege",
    "SeBackupPrivilege",
    "SeCreatePagefilePrivilege",
    "SeCreateSymbolicLinkPrivilege",
    "SeDebugPrivilege",
    "SeImpersonatePrivilege",
    "SeIncreaseBasePriorityPrivilege",
    "SeIncreaseQuotaPrivilege",
    "SeLoadDriverPrivilege",
    "SeManageVolumePrivilege",
    "SeProfileSingleProcessPrivilege",
    "SeRemoteShutdownPrivilege",
    "SeRestorePrivilege",
    "SeSecurityPrivilege",
    "SeSystemEnvironmentPrivilege",
    "SeSystemProfilePrivilege",
    "SeSystemtimePrivilege",
    "SeTakeOwnershipPrivilege",
};

}  // namespace setup::engine
