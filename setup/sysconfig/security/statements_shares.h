// "Create Share" and "Delete Share": a folder or printer shared under a net name on this or a
// named computer, or a share withdrawn. Neither reports a result to the script.
#pragma once

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/sysconfig/security/share_api.h"
#include "setup/sysconfig/security/statement_access_control.h"

namespace setup::sysconfig::security {

struct ShareStatementServices
{
    IShareApi* shares = nullptr;
    ISecurityApi* security = nullptr;
    engine::IWow64Services* wow64 = nullptr;
    WidenText widen = nullptr;
};

void RegisterShareStatements(engine::StatementHandlerTable& table,
                             const ShareStatementServices& services);

}  // namespace setup::sysconfig::security
