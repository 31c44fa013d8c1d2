// "Run Program", "Run Program As", "Run Light Mode Setup" and "Register Library": programs started
// on a worker thread (`TRunApp`, `TRunAs`) while the pages stay live, a copy of this setup engine
// carrying a given file started the same way, and COM servers registered in place.
#pragma once

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/engine/system/system_facts.h"

namespace setup::engine {

struct LaunchServices
{
    IWow64Services* wow64 = nullptr;
    ISystemFacts* facts = nullptr;
};

void RegisterLaunchStatements(StatementHandlerTable& table, const LaunchServices& services);

void RunProgramStatement(StatementContext& statement, const LaunchServices& services);
void RunProgramAsStatement(StatementContext& statement, const LaunchServices& services);
void RunLightModeSetupStatement(StatementContext& statement, const LaunchServices& services);
void RegisterLibraryStatement(StatementContext& statement, const LaunchServices& services);

}  // namespace setup::engine
