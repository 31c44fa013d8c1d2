// The built-in statements' side of the interpreter: what a handler sees of the running statement
// and the table from command name to handler that the statement families fill.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "setup/engine/interpreter/interpreter_host.h"
#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/engine/script/setup_script.h"

namespace setup::engine {

// What a statement reaches outside the engine: the pages and the cancel state, and the installer
// properties it queues.
struct StatementHost
{
    IUserInterface& ui;
    ISetupRecords& records;
};

// The running statement, handed to its handler.
class StatementContext
{
public:
    StatementContext(SetupScript& script, EngineState& engine, StatementHost host, int index,
                     bool inWizardLoop)
        : m_script(script),
          m_engine(engine),
          m_host(host),
          m_index(index),
          m_inWizardLoop(inWizardLoop)
    {}

    int Index() const { return m_index; }  // 0-based
    const std::string& Command() const { return m_script.CommandList[m_index]; }
    std::string Key() const { return m_script.StatementKeyList.ItemOrEmpty(m_index); }
    // Parameter n (1-based) as stored.
    std::string Param(int n) const { return GetStatementParam(m_script.ParameterPools, Key(), n); }
    // The context text under which the statement stores its results.
    std::string ResultContext() const { return Command() + " Action"; }

    SetupScript& Script() { return m_script; }
    EngineState& Engine() { return m_engine; }
    ScriptVariables& Vars() const { return m_engine.Variables; }
    const StatementHost& Host() const { return m_host; }

    // Inside a Wizard Loop a page's result code steers the navigation: 6 forward, 7 back,
    // 2 leave; other codes keep the direction.
    bool InWizardLoop() const { return m_inWizardLoop; }
    void SetPageResult(int code) { m_pageResult = code; }
    int PageResult() const { return m_pageResult; }

    // The statement is the last one of the script: the interpreter leaves its loop and ends the
    // run as after the last statement.
    void EndScript() { m_endScript = true; }
    bool ScriptEnded() const { return m_endScript; }

private:
    SetupScript& m_script;
    EngineState& m_engine;
    StatementHost m_host;
    int m_index;
    bool m_inWizardLoop;
    int m_pageResult = -1;
    bool m_endScript = false;
};

using StatementHandler = std::function<void(StatementContext&)>;

// Command name (exact, case-sensitive) -> handler.
class StatementHandlerTable
{
public:
    void Register(std::string command, StatementHandler handler)
    {
        m_handlers[std::move(command)] = std::move(handler);
    }
    const StatementHandler* Find(const std::string& command) const
    {
        const auto found = m_handlers.find(command);
        return found == m_handlers.end() ? nullptr : &found->second;
    }

private:
    std::unordered_map<std::string, StatementHandler> m_handlers;
};

// "Display Dialog": releases the modal page shown before, binds and shows the page, puts its
// result word into the result variable and, inside a Wizard Loop, sets the navigation direction.
void DisplayDialogStatement(StatementContext& statement);
// "Hide Dialog": the page on screen goes; no window owns message boxes any more.
void HideDialogStatement(StatementContext& statement);
// "Display Dialog", "Hide Dialog", "MessageBox", "MessageBalloon" and "System Tray".
void RegisterDialogStatements(StatementHandlerTable& table);

}  // namespace setup::engine
