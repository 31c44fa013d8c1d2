// The interpreter test fixture: a fake host, a process with a package beside it, and test
// statements ("Record", "Set Variable", "Increment", "Raise") in the handler table.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/builtin/builtin_statements.h"
#include "setup/engine/interpreter/interpreter.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/testing/interpreter_fake_host.h"
#include "setup/engine/testing/interpreter_script_builder.h"
#include "setup/engine/testing/variable_names.h"

namespace setup::engine::testing {

class InterpreterTest : public ::testing::Test, protected VariableNames
{
protected:
    void SetUp() override
    {
        engine.process.exeFile = "C:\\Setup\\setup.exe";
        engine.process.tempDir = "C:\\Temp\\";
        engine.process.supportDir = "C:\\Temp\\qbr1\\";
        host.files.insert(PackagePath());
        handlers = BuiltInStatementHandlers();
        handlers.Register("Record", [this](StatementContext& s) {
            recorded.push_back(s.Vars().Expand(s.Param(1)));
        });
        handlers.Register("Set Variable", [](StatementContext& s) {
            const std::string stripped = StripDollars(s.Param(1));
            const std::string name = rtl::AnsiUpperCase(stripped.empty() ? s.Param(1) : stripped);
            s.Vars().Set(name, s.Vars().Expand(s.Param(2)), s.ResultContext());
        });
        handlers.Register("Increment", [](StatementContext& s) {
            const std::string name = s.Param(1);
            s.Vars().Set(name, std::to_string(rtl::StrToIntDef(s.Vars().Get(name), 0) + 1),
                         s.ResultContext());
        });
        handlers.Register("Raise", [](StatementContext& s) { throw rtl::Exception(s.Param(1)); });
    }
    std::string PackagePath() const { return engine.process.supportDir + "setup.msi"; }

    void Run(SetupScript script, StatementCallback callback = {})
    {
        m_script = std::move(script);
        ExecuteScript(
            {m_script, PackagePath(), std::move(callback), handlers, host.Bundle(), engine});
    }
    void Run(std::initializer_list<std::string> lines) { Run(BuildScript(lines)); }

    FakeInterpreterHost host;
    EngineState engine;
    StatementHandlerTable handlers;
    std::vector<std::string> recorded;
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
