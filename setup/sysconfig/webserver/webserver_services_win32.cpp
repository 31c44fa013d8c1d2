#include "setup/sysconfig/webserver/webserver_services_win32.h"

#include "setup/sysconfig/webserver/iis7_platform_win32.h"
#include "setup/sysconfig/webserver/metabase_win32.h"

namespace setup::sysconfig::webserver {

WebServerStatementServices Win32WebServerStatementServices(engine::IWow64Services& wow64,
                                                           ProgramRunner runProgram)
{
    // Stateless adapters: what a run keeps lives in its own state.
    static Win32Metabase metabase;
    static Win32Iis7Platform iis7;
    return {&metabase, &iis7, &wow64, std::move(runProgram)};
}

}  // namespace setup::sysconfig::webserver
