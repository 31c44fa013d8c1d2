// A media block made available for the running script: the media driver over the worker threads
// and the Windows file system, with the run's block settings.
#pragma once

#include <string>

#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/engine/script/setup_script.h"

namespace setup::engine {

// Holds the busy flag while it works; raises rtl::Exception with the media texts on failure.
// In media mode 2 the media live in the installer cache folder `cacheDataDir`, where the blocks
// acquired so far follow it when it changed since the last acquisition.
void AcquireMediaBlockWin32(EngineState& engine, const SetupScript& script,
                            const std::string& blockName, const std::string& cacheDataDir = "");

}  // namespace setup::engine
