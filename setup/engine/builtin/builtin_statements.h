// The built-in statement table: every statement family registered with its Windows services,
// above all the layers whose statements it lists.
#pragma once

#include "setup/engine/interpreter/interpreter_statements.h"

namespace setup::engine {

// The built-in statements available so far; each statement family registers its handlers here.
StatementHandlerTable BuiltInStatementHandlers();

}  // namespace setup::engine
