// The statement interpreter: `ExecuteScript` prepares a run (compile check, predefined variables,
// labels, language, command-line overrides) and then runs the compiled script one statement at a
// time, doing the flow control itself and handing every other command to its handler.
#pragma once

#include <functional>
#include <string>

#include "setup/engine/interpreter/interpreter_host.h"
#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/script/setup_script.h"

namespace setup::engine {

// Exit code of a script that failed its compile check.
inline constexpr int kCompileFailureExitCode = 314;
// Exit code after a runtime error when the script set no other.
inline constexpr int kRuntimeFailureExitCode = 11;

// Called with the 1-based statement number before each statement is dispatched; false ends the
// run at once.
using StatementCallback = std::function<bool(int statementPointer)>;

struct ScriptRun
{
    SetupScript& script;
    std::string packagePath;     // the Windows Installer package copied to the support folder
    StatementCallback callback;  // may be empty
    const StatementHandlerTable& handlers;
    InterpreterHost host;
    EngineState& engine;
};

// Returns when the script has ended, a statement failed or the run was cancelled. A failed
// compile check and removed installation media end the process through the host instead.
void ExecuteScript(const ScriptRun& run);

}  // namespace setup::engine
