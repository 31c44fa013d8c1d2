// The .NET statements that run the Framework's tools at once: "Generate Native Images",
// "Run .NET Installer Class", "Register Assembly" and "Remove Assemblies". (The package-backed
// assembly and ODBC statements only queue properties; they live with the other package
// statements.)
#pragma once

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/sysconfig/dotnet/assembly_tools.h"

namespace setup::sysconfig::dotnet {

struct DotNetStatementServices
{
    IDotNetSystem* system = nullptr;
    engine::IWow64Services* wow64 = nullptr;
};

void RegisterDotNetStatements(engine::StatementHandlerTable& table,
                              const DotNetStatementServices& services);

}  // namespace setup::sysconfig::dotnet
