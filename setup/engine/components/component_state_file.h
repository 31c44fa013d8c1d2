// The component state file (".dat"): the selections, marks, sizes, chosen folders and persisted
// variables that one run leaves for the next, written whole or updated, loaded or merged.
#pragma once

#include <string>
#include <string_view>

#include "setup/engine/components/components.h"

namespace setup::engine {

// The files the state file lives in, behind the narrowest interface: Windows in the product, a
// stdio stand-in off Windows, memory in tests.
class IStateFileStore
{
public:
    virtual ~IStateFileStore() = default;
    virtual bool Exists(const std::string& path) = 0;
    // Raise the engine's file exceptions on failure.
    virtual std::string ReadText(const std::string& path) = 0;
    virtual void WriteText(const std::string& path, std::string_view text) = 0;
    // Moves the source over the target in one step, so the target is never missing; raises.
    virtual void Replace(const std::string& source, const std::string& target) = 0;
    // Failures ignored.
    virtual void Remove(const std::string& path) = 0;
    // The 8.3 form; the path itself when it has none.
    virtual std::string ShortPath(const std::string& path) = 0;
};

struct ComponentStateSave
{
    bool omitCacheFolder = false;  // leave the data-folder row empty
    bool fullWrite = true;         // false: keep the stored lists and folders, refresh the rest
    std::string dataDir;           // written in its short form
    std::string targetPlatform = "Win32";
};

// Update mode leaves a missing file missing.
void SaveComponentState(IStateFileStore& store, const ComponentModel& model,
                        const ScriptVariables& variables, const std::string& path,
                        const ComponentStateSave& options);

struct ComponentStateLoad
{
    bool merge = false;      // states and marks applied onto the model's own components
    bool skipSizes = false;  // the stored sizes are read and discarded
};

// Nothing when the file does not exist. Sets TARGETDIR, ALLUSERS, STARTMENU and the persisted
// variables, and the target platform when the file names one.
void LoadComponentState(IStateFileStore& store, ComponentModel& model, ScriptVariables& variables,
                        const std::string& path, const ComponentStateLoad& options,
                        std::string& targetPlatform);

// The context under which a loaded state file sets variables.
inline constexpr std::string_view kComponentStateContext = "Component State";

}  // namespace setup::engine
