// The script's values an install reads, handed over by the engine when it starts the install, so
// that the bridge never reads the engine's variables itself.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace setup::sysconfig::installer {

// Expands the script's variable references in a text.
using ExpandFunction = std::function<std::string(std::string_view text)>;

struct ScriptValues
{
    bool silent = false;                // SILENT
    std::string title;                  // TITLE
    std::string allUsers;               // ALLUSERS
    std::string disableRollback;        // TARQ_DISABLE_ROLLBACK
    std::string disableRestartManager;  // TARQ_DISABLE_VISTA_RESTART_MANAGER
    ExpandFunction expand;              // none: texts stay as written
};

}  // namespace setup::sysconfig::installer
