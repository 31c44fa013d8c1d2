// The process and service statements that act at once: "Check Process" over the running
// programs' file names, "Terminate Program" posting close messages to the first matching
// top-level window, and "Check Service" turning a service's state into its word.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/engine/interpreter/interpreter_statements.h"

namespace setup::engine {

struct TopLevelWindow
{
    std::uintptr_t handle = 0;
    std::string className;  // as Windows gives them, up to 259 characters
    std::string title;
};

class IProcessServices
{
public:
    virtual ~IProcessServices() = default;
    // The file name part of every running process's executable.
    virtual std::vector<std::string> RunningProcessNames() = 0;
    // The service's current state; -1 when the manager or the service cannot be opened or queried.
    virtual int GetServiceState(const std::string& computer, const std::string& service) = 0;
    // The top-level windows in Z order, topmost first.
    virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;
    // Posts WM_CANCELMODE, then WM_CLOSE.
    virtual void PostCloseMessages(std::uintptr_t window) = 0;
};

// Passes of "Terminate Program"; each closes at most the first matching window.
inline constexpr int kTerminatePasses = 10;

// The file name compared without regard to the case of ASCII letters; a path never matches.
bool IsProcessRunning(IProcessServices& processes, const std::string& name);
// The first window in Z order whose class name and title contain the parts (case-sensitive; an
// empty part matches any); with the close flag it is sent the close messages. False at once
// when both parts are empty.
bool CloseMatchingWindow(IProcessServices& processes, const std::string& classPart,
                         const std::string& titlePart, bool close);
// "STOPPED", "STARTING", ... ; "NOTINSTALLED" for -1 and any number without a word.
std::string ServiceStateWord(int state);

void RegisterProcessStatements(StatementHandlerTable& table, IProcessServices& processes);

// Statement bodies.
void CheckProcessStatement(StatementContext& statement, IProcessServices& processes);
void TerminateProgramStatement(StatementContext& statement, IProcessServices& processes);
void CheckServiceStatement(StatementContext& statement, IProcessServices& processes);

}  // namespace setup::engine
