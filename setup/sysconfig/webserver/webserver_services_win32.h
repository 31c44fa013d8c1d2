// The web server statements' Windows services: the directory-service provider, the version-7
// bridge over the program's own helper resource, and the given program runner.
#pragma once

#include "setup/sysconfig/webserver/statements_webserver.h"

namespace setup::sysconfig::webserver {

WebServerStatementServices Win32WebServerStatementServices(engine::IWow64Services& wow64,
                                                           ProgramRunner runProgram);

}  // namespace setup::sysconfig::webserver
