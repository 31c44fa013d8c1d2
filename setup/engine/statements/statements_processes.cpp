#include "setup/engine/statements/statements_processes.h"

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {
namespace {

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameAsciiText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    }
    return true;
}

}  // namespace

bool IsProcessRunning(IProcessServices& processes, const std::string& name)
{
    for (const std::string& running : processes.RunningProcessNames()) {
        if (SameAsciiText(running, name))
            return true;
    }
    return false;
}

bool CloseMatchingWindow(IProcessServices& processes, const std::string& classPart,
                         const std::string& titlePart, bool close)
{
    if (classPart.empty() && titlePart.empty())
        return false;
    for (const TopLevelWindow& window : processes.TopLevelWindows()) {
        if (window.className.find(classPart) == std::string::npos ||
            window.title.find(titlePart) == std::string::npos)
            continue;
        if (close)
            processes.PostCloseMessages(window.handle);
        return true;
    }
    return false;
}

std::string ServiceStateWord(int state)
{
    static const char* const kWords[] = {"STOPPED",          "STARTING",      "STOPPING", "RUNNING",
                                         "CONTINUE_PENDING", "PAUSE_PENDING", "PAUSED"};
    if (state >= 1 && state <= 7)
        return kWords[state - 1];
    return "NOTINSTALLED";
}

void CheckProcessStatement(StatementContext& statement, IProcessServices& processes)
{
    const ResultVariable result(statement, RawParam(statement, 2));
    result.Assign(BoolToText(IsProcessRunning(processes, ExpandedParam(statement, 1))));
}

void TerminateProgramStatement(StatementContext& statement, IProcessServices& processes)
{
    const std::string titlePart = NormalizedParam(statement, 1);
    const std::string classPart = NormalizedParam(statement, 2);
    // The messages are posted, not sent: a window still closing is matched again by the next pass.
    for (int pass = 0; pass < kTerminatePasses; ++pass)
        CloseMatchingWindow(processes, classPart, titlePart, true);
}

void CheckServiceStatement(StatementContext& statement, IProcessServices& processes)
{
    const ResultVariable result(statement, RawParam(statement, 3));
    const int state =
        processes.GetServiceState(ExpandedParam(statement, 2), ExpandedParam(statement, 1));
    result.Assign(ServiceStateWord(state));
}

void RegisterProcessStatements(StatementHandlerTable& table, IProcessServices& processes)
{
    IProcessServices* services = &processes;
    table.Register("Check Process",
                   [services](StatementContext& s) { CheckProcessStatement(s, *services); });
    table.Register("Terminate Program",
                   [services](StatementContext& s) { TerminateProgramStatement(s, *services); });
    table.Register("Check Service",
                   [services](StatementContext& s) { CheckServiceStatement(s, *services); });
}

}  // namespace setup::engine
