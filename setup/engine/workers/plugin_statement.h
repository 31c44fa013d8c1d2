// Plug-in commands in the interpreter: where the plug-in library is found (support folder, media
// folder, installed product, or sources the user locates), the call on a worker thread, and the
// variable store replaced by what the plug-in gave back.
#pragma once

#include <optional>
#include <string>

#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/engine/script/setup_script.h"
#include "setup/engine/system/system_facts.h"

namespace setup::engine {

// What a plug-in statement needs from Windows and from the other subsystems; which Windows it runs
// on comes from ISystemFacts.
class IPluginStatementHost
{
public:
    virtual ~IPluginStatementHost() = default;
    virtual bool FileExists(const std::string& path) = 0;
    // Web media of a download setup, fetched before its plug-in can be loaded.
    virtual void AcquireMediaBlock(const std::string& media) = 0;
    virtual std::string ReadUninstallString(const std::string& title, bool machineHive) = 0;
    // The folder the user picked, nothing when none was chosen.
    virtual std::optional<std::string> BrowseForFolder(const std::string& title) = 0;
    // The error box, shown also in silent mode.
    virtual void ShowPluginError(const std::string& text) = 0;
    // Runs the library's RunTimeExecute on a worker under the target platform's views and waits
    // for it; the comma text it returned, or the variables unchanged when the call failed.
    virtual std::string RunPlugin(const std::string& libraryPath, const std::string& variables,
                                  const std::string& parameters) = 0;
};

inline constexpr const char* kPluginMissingMessage =
    "Unable to load plug-in library. Please rebuild your project and make sure all required "
    "plug-ins are installed.\r\r"
    "Action skipped";

// Runs the plug-in statement at index (0-based). Raises with the setup message texts when the
// sources cannot be found or the plug-in gave back nothing.
void ExecutePluginStatement(const SetupScript& script, EngineState& engine, int index,
                            IPluginStatementHost& host, ISystemFacts& system);

}  // namespace setup::engine
