#include "setup/engine/interpreter_statements.h"

namespace setup::engine {

StatementHandlerTable BuiltInStatementHandlers()
{
    StatementHandlerTable table;
    table.Register("Display Dialog", DisplayDialogStatement);
    return table;
}

}  // namespace setup::engine
