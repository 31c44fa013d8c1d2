// "Set Access Control": grants read or full access on a file, share, registry key, service or
// printer to Everyone, the current user, Authenticated Users or a named account, or resets the
// object's DACL to an empty or a missing list.
#pragma once

#include <string>
#include <string_view>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/sysconfig/security/security_api.h"

namespace setup::sysconfig::security {

// ANSI script text to the UTF-16 names the security services take.
using WidenText = std::wstring (*)(std::string_view text);

struct AccessControlServices
{
    ISecurityApi* security = nullptr;
    engine::IWow64Services* wow64 = nullptr;
    WidenText widen = nullptr;
};

void SetAccessControlStatement(engine::StatementContext& statement,
                               const AccessControlServices& services);
void RegisterAccessControlStatement(engine::StatementHandlerTable& table,
                                    const AccessControlServices& services);

}  // namespace setup::sysconfig::security
