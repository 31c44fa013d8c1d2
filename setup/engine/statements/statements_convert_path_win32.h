// "Convert Path": a path variable to its short (8.3) or long form, with the file-system
// redirection of the target platform switched off while the names are looked up.
#pragma once

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"

namespace setup::engine {

void ConvertPathStatement(StatementContext& statement, IWow64Services& wow64);
void RegisterConvertPathStatement(StatementHandlerTable& table, IWow64Services& wow64);

}  // namespace setup::engine
