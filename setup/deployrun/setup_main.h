// The setup program's main block: everything the interpreter needs, prepared in order (language
// strings, command line, windows, the appended script, the support folder, the resource archive,
// the package, the pages), the script run, the clean-up and the process's exit code.
#pragma once

#include "setup/deployrun/startup_services.h"

namespace setup::deployrun {

inline constexpr int kNoScriptExitCode = 13;
inline constexpr int kResourceMissingExitCode = 14;
inline constexpr int kResourceExtractionExitCode = 15;
inline constexpr int kDatabaseMissingExitCode = 16;
inline constexpr int kStartupFailureExitCode = 11;

inline constexpr const char* kNoScriptMessage = "For internal use only";

// Returns the exit code the process ends with.
int SetupMain(const StartupServices& services);

}  // namespace setup::deployrun
