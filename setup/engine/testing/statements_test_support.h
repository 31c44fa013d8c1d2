// The statements test fixture: scripts built in memory whose statements are handed one after the
// other to the handlers of a table, with a fake host and a fresh run context (and with it a fresh
// variable store).
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/testing/fake_statement_host.h"
#include "setup/engine/testing/interpreter_script_builder.h"
#include "setup/engine/testing/variable_names.h"

namespace setup::engine::testing {

class StatementTest : public ::testing::Test, protected VariableNames
{
protected:
    // Runs every line ("Command|param 1|param 2 ...") through its handler; an exception leaves.
    void Run(std::initializer_list<std::string> lines)
    {
        m_script = BuildScript(lines);
        for (std::size_t i = 0; i < m_script.CommandList.Count(); ++i) {
            StatementContext statement(m_script, engine, host.Statements(), static_cast<int>(i),
                                       false);
            const StatementHandler* handler = handlers.Find(statement.Command());
            ASSERT_NE(handler, nullptr) << statement.Command();
            (*handler)(statement);
        }
    }

    FakeStatementHost host;
    EngineState engine;
    StatementHandlerTable handlers;
    // The run's variables' own state under the names the tests use.
    std::atomic<bool>& SilentMode = engine.Variables.SilentMode;
    rtl::TStringList& CommandLineOverrides = engine.Variables.CommandLineOverrides;
    rtl::TStringList& PersistedVariables = engine.Variables.PersistedVariables;

protected:
    ScriptVariables& RunVariables() override { return engine.Variables; }

private:
    SetupScript m_script;
};

}  // namespace setup::engine::testing
