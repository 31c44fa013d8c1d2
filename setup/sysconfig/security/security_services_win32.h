// The Windows services the security statements run with.
#pragma once

#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/sysconfig/security/statement_access_control.h"
#include "setup/sysconfig/security/statements_shares.h"

namespace setup::sysconfig::security {

AccessControlServices Win32AccessControlServices(engine::IWow64Services& wow64);
ShareStatementServices Win32ShareStatementServices(engine::IWow64Services& wow64);

}  // namespace setup::sysconfig::security
