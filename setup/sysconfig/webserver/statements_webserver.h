// The web server statements: sites created, deleted and controlled, virtual folders created and
// deleted, properties read and written, the site list, a site's number and the anonymous account.
// Each addresses the server named by IISHOST at that moment.
#pragma once

#include <functional>
#include <string>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/sysconfig/webserver/iis7_bridge.h"
#include "setup/sysconfig/webserver/metabase.h"

namespace setup::sysconfig::webserver {

// Starts a program hidden in a working folder and waits for it; its exit code, -1 when it cannot
// be started.
using ProgramRunner = std::function<int(const std::string& program, const std::string& parameters,
                                        const std::string& folder)>;

struct WebServerStatementServices
{
    IMetabase* metabase = nullptr;
    IIis7Platform* iis7 = nullptr;
    engine::IWow64Services* wow64 = nullptr;
    ProgramRunner runProgram;
};

// The ASP.NET version folder a "Create Virtual Folder" names: empty or "0" none, "1" and "2" the
// two framework versions, anything else the folder name itself.
std::string AspNetVersionFolder(const std::string& code);

void RegisterWebServerStatements(engine::StatementHandlerTable& table,
                                 const WebServerStatementServices& services);

}  // namespace setup::sysconfig::webserver
