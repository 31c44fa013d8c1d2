#include "setup/engine/builtin/builtin_statements.h"

#include "setup/engine/components/statements_components.h"
#include "setup/engine/interpreter/statements_package.h"
#include "setup/engine/media/statements_media.h"
#include "setup/engine/statements/statements_variables.h"
#ifdef _WIN32
#include "setup/engine/media/statements_media_win32.h"
#include "setup/engine/statements/launch_win32.h"
#include "setup/engine/statements/machine_queries_win32.h"
#include "setup/engine/statements/restart_services_win32.h"
#include "setup/engine/statements/statements_convert_path_win32.h"
#include "setup/engine/statements/statements_files_win32.h"
#include "setup/engine/statements/statements_launch_win32.h"
#include "setup/engine/statements/statements_processes_win32.h"
#include "setup/engine/statements/statements_registry_win32.h"
#include "setup/engine/statements/statements_text_files_win32.h"
#include "setup/engine/statements/system_facts_win32.h"
#include "setup/sysconfig/dotnet/dotnet_system_win32.h"
#include "setup/sysconfig/dotnet/statements_dotnet.h"
#include "setup/sysconfig/security/security_services_win32.h"
#include "setup/sysconfig/tasks/task_service_win32.h"
#include "setup/sysconfig/webserver/webserver_services_win32.h"
#endif

namespace setup::engine {

StatementHandlerTable BuiltInStatementHandlers()
{
    StatementHandlerTable table;
    RegisterDialogStatements(table);
    RegisterVariableStatements(table, VariableStatementServices{});
#ifdef _WIN32
    const SystemStatementServices system = Win32SystemStatementServices();
    RegisterRegistryStatements(table, system);
    RegisterConvertPathStatement(table, *system.wow64);
    RegisterFileStatements(table, Win32FileStatementServices(*system.wow64));
    RegisterTextFileStatements(table, Win32TextFileStatementServices(*system.wow64));
    RegisterProcessStatements(table, Win32Processes());
    RegisterSystemInfoStatements(table, Win32SystemInfoServices());
    RegisterLaunchStatements(table, LaunchServices{system.wow64, &ProcessSystemFacts()});
    RegisterTerminationStatements(table, ProcessRestartServices());
    // Without a run to acquire web media for; the setup program registers them again with it.
    RegisterPackageStatements(table, PackageStatementServices{system.wow64, nullptr});
    RegisterComponentStatements(table, ComponentStatementServices{nullptr, system.wow64});
    sysconfig::security::RegisterAccessControlStatement(
        table, sysconfig::security::Win32AccessControlServices(*system.wow64));
    sysconfig::security::RegisterShareStatements(
        table, sysconfig::security::Win32ShareStatementServices(*system.wow64));
    sysconfig::tasks::RegisterTaskStatements(
        table, sysconfig::tasks::Win32TaskStatementServices(*system.wow64));
    const auto runHidden = [](const std::string& program, const std::string& parameters,
                              const std::string& folder) {
        return RunProgram(program, parameters, folder, false, true);
    };
    sysconfig::webserver::RegisterWebServerStatements(
        table, sysconfig::webserver::Win32WebServerStatementServices(*system.wow64, runHidden));
    static sysconfig::dotnet::Win32DotNetSystem dotnet(runHidden);
    sysconfig::dotnet::RegisterDotNetStatements(table, {&dotnet, system.wow64});
    RegisterMediaStatements(table, Win32MediaStatementServices(*system.wow64));
#else
    RegisterMediaStatements(table, MediaStatementServices{});
    RegisterPackageStatements(table, PackageStatementServices{});
    RegisterComponentStatements(table, ComponentStatementServices{});
#endif
    return table;
}

}  // namespace setup::engine
