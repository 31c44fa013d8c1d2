// The component statements: defining, deleting, selecting, sizing, locking and hiding components,
// and saving and loading the user's feature selections.
#pragma once

#include "setup/engine/components/component_state_file.h"
#include "setup/engine/components/components.h"
#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"

namespace setup::engine {

// The statements work on the run's component model.
struct ComponentStatementServices
{
    IStateFileStore* files = nullptr;  // none: the system's files
    IWow64Services* wow64 = nullptr;   // none: the file-system redirection stays as it is
};

void RegisterComponentStatements(StatementHandlerTable& table,
                                 const ComponentStatementServices& services);

// The run's component model, with the system's free-space query; made on first use.
ComponentModel& RunComponentModel(EngineState& engine);

// What the interpreter host does for the model when a run starts.
void ResetComponentModel(ComponentModel& model);
void DefinePredefinedComponent(ComponentModel& model);

}  // namespace setup::engine
