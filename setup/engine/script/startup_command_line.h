// What the setup program takes from its command line: the silent and window switches, the value
// switches, the variable assignments and the command tail.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/rtl/string_list.h"

namespace setup::engine {

struct StartupSwitches
{
    bool silent = false;       // "s" or "qn"
    bool noWindows = false;    // silent, "update" or "updatesetup": no splash, no preparing window
    std::string gpoPath;       // "/g=" value (lower case)
    std::string sfxPath;       // "/m=" value (lower case)
    std::string traceLogPath;  // "/l=" or "-l=" value (lower case)
    std::string sourceOverride;  // "/p=" or "-p=" value (lower case)
    rtl::TStringList overrides;  // NAME, VALUE, NAME, VALUE ...
    std::string commandTail;
};

// Whole-argument switch: an argument of '/' or '-' followed by the switch, letters in any case.
bool FindCmdLineSwitch(const std::vector<std::string>& arguments, std::string_view name);

// The raw command line less the program path.
std::string CommandTail(std::string_view rawCommandLine);

// arguments: the command-line arguments after the program path.
StartupSwitches ParseStartupCommandLine(const std::vector<std::string>& arguments,
                                        std::string_view rawCommandLine);

}  // namespace setup::engine
