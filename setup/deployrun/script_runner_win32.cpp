#include "setup/deployrun/script_runner_win32.h"

#include "setup/deployrun/deployrun_host_win32.h"
#include "setup/engine/builtin/builtin_statements.h"
#include "setup/engine/interpreter/interpreter.h"
#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_package.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/engine/statements/statements_registry_win32.h"
#include "setup/engine/statements/system_facts_win32.h"

namespace setup::deployrun {

int Win32ScriptRunner::RunScript(engine::SetupScript& script, const StartupFacts& facts,
                                 const std::string& packagePath)
{
    engine::EngineState& engine = m_engine;
    engine::ProcessFacts& process = engine.process;
    process.exeFile = facts.exeFile;
    process.commandTail = facts.switches.commandTail;
    process.sfxArgument = facts.switches.sfxPath;
    process.gpoArgument = facts.switches.gpoPath;
    process.tempDir = facts.tempDir;
    process.windowsDir = facts.windowsDir;
    process.supportDir = facts.supportDir;
    process.traceLogPath = facts.switches.traceLogPath;
    // The interpreter's own trace marks come before LOGGED is first read back.
    engine.TraceLogPath = facts.switches.traceLogPath;
    engine.DataDir = facts.dataDir;
    engine.OriginalDataDir = facts.dataDir;
    engine.MediaDir = facts.dataDir;
    engine.SourceOverride = facts.switches.sourceOverride;
    engine.Messages = facts.messages;
    engine.Variables.SilentMode = facts.switches.silent;
    engine.Variables.CommandLineOverrides = facts.switches.overrides;

    DeployrunInterpreterHost host(script, engine, m_dialogs, packagePath,
                                  engine::ProcessSystemFacts());
    engine::StatementHandlerTable handlers = engine::BuiltInStatementHandlers();
    // The statements that need a web media block acquire it through the host.
    engine::RegisterPackageStatements(
        handlers,
        engine::PackageStatementServices{engine::Win32SystemStatementServices().wow64, &host});
    host.Cache().RegisterStatements(handlers, &host);
    const engine::ScriptRun run{script, packagePath, {}, handlers, host.Bundle(), engine};
    host.Cache().RunScript(run);
    m_caption = engine::GetWizardCaption(engine.CaptionTitle, engine.CaptionSuffix);
    return engine.ExitCode;
}

}  // namespace setup::deployrun
