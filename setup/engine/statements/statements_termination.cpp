#include "setup/engine/statements/statements_termination.h"

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

void TerminateWithExitCode(StatementContext& statement)
{
    // A text that is no integer raises before the script ends.
    statement.Engine().ExitCode = TextToInt32(ExpandedParam(statement, 1));
    statement.EndScript();
}

void RebootAndResume(StatementContext& statement, IRestartServices& restart)
{
    const std::string& productCode = statement.Script().ProductCode;
    const EngineState& engine = statement.Engine();
    // The same eight characters after the brace that the next start removes again.
    const std::string name = productCode.size() >= 9 ? productCode.substr(1, 8) : productCode;
    restart.WriteRunValue(TextToBool(statement.Vars().Get("ALLUSERS")), name,
                          ResumeCommand(engine.process.sfxArgument, engine.process.exeFile,
                                        statement.Vars().Get("CMDLINE")));
    restart.ShutdownWithPrivilege(kExitWindowsReboot);
    statement.EndScript();
}

}  // namespace

std::string ResumeCommand(const std::string& sfxPath, const std::string& exeFile,
                          const std::string& commandLine)
{
    std::string command = sfxPath.empty() ? exeFile : sfxPath;
    if (!commandLine.empty())
        command += " " + commandLine;
    return command;
}

void RegisterTerminationStatements(StatementHandlerTable& table, IRestartServices& restart)
{
    table.Register("Terminate Install", [](StatementContext& statement) { statement.EndScript(); });
    table.Register("Terminate with Exit Code", TerminateWithExitCode);
    table.Register("Reboot Computer", [&restart](StatementContext& statement) {
        // A refused restart is not reported: the script ends all the same.
        restart.ShutdownWithPrivilege(kExitWindowsReboot);
        statement.EndScript();
    });
    table.Register("Reboot and Resume", [&restart](StatementContext& statement) {
        RebootAndResume(statement, restart);
    });
}

}  // namespace setup::engine
