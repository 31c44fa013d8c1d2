// How the result of a Windows Installer run becomes the install thread's outcome and the
// starter's answer (1 success, 2 restart needed, 0 cancelled, -1 failed with a text), and the
// install header block the thread puts into the trace log.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace setup::sysconfig::installer {

inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorInstallUserExit = 1602;
inline constexpr std::uint32_t kErrorInstallFailure = 1603;
inline constexpr std::uint32_t kErrorInstallAlreadyRunning = 1618;
inline constexpr std::uint32_t kErrorSuccessRebootInitiated = 1641;
inline constexpr std::uint32_t kErrorSuccessRebootRequired = 3010;

struct InstallOutcome
{
    bool rebootNeeded = false;
    bool failed = false;
    // Only a cancel that Windows Installer honoured (its user-exit code), or one that came
    // before Windows Installer was started, is a cancelled run: a product that got installed
    // regardless is reported as installed.
    bool cancelled = false;
    std::string errorText;
};

// The system's text of a code; empty when it has none.
using SystemTextOf = std::function<std::string(std::uint32_t)>;

// Folds one Windows Installer result into the outcome. cancelRequested is the user's
// cancel as the thread-progress variables hold it.
void ApplyInstallerResult(InstallOutcome& outcome, std::uint32_t code, bool cancelRequested,
                          const SystemTextOf& systemText);
// The failure text when none came with the code.
void FinishErrorText(InstallOutcome& outcome, const std::string& lastMessageText,
                     const std::string& generalFailureText);
// The system message with its trailing blanks, line ends and periods removed.
std::string TrimSystemText(std::string text);
// 0 cancelled, -1 failed, 2 restart needed, 1 success.
int RunResult(const InstallOutcome& outcome);

struct InstallHeader
{
    std::string caption;
    std::string dateTime;  // short date and long time
    std::string variablesText;
    std::string propertiesText;
    std::string packagePath;
    std::string productCode;
    std::string dataFolder;
    std::string mediaPackagePath;
    std::string packageFolder;
};

// The pieces of the block; the trace log ends each with a line end of its own.
std::vector<std::string> InstallHeaderPieces(const InstallHeader& header);

}  // namespace setup::sysconfig::installer
