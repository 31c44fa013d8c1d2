// The statements as the interpreter dispatches them from a compiled script.
#include <gtest/gtest.h>

#include "setup/engine/statements/statements_variables.h"
#include "setup/engine/testing/interpreter_test_support.h"

namespace setup::engine::testing {
namespace {

class StatementScriptTest : public InterpreterTest
{
protected:
    void SetUp() override
    {
        InterpreterTest::SetUp();
        // The fixture's own "Set Variable" stands in for the real one; the built-in comes back.
        RegisterVariableStatements(handlers, {});
        PersistedVariables.Clear();
    }
};

TEST_F(StatementScriptTest, VariableAndStringStatementsRunFromAScript)
{
    Run({"Set Variable|N$TARQ$TARQ$TRUE|5", "Mathematics|$N$|3|2|PRODUCT",
         "Parse String|key=value|=|K|V|0|FALSE|FALSE", "Set Variable|PATH|C:\\\\A\\\\b.txt",
         "Extract Path|PATH|1", "Convert Case|PATH|TRUE",
         "Evaluate Expression|$PRODUCT$ = \"15\"|SAME", "Record|$PRODUCT$ $K$ $V$ $PATH$ $SAME$"});
    EXPECT_EQ(recorded, std::vector<std::string>{"15 key value B TRUE"});
    EXPECT_TRUE(host.errors.empty());
    ASSERT_EQ(PersistedVariables.Count(), 1u);
    EXPECT_EQ(PersistedVariables[0], "N");
}

TEST_F(StatementScriptTest, AMalformedPartNumberEndsTheRunAsAFailingStatement)
{
    Run({"Set Variable|P|C:\\x", "Extract Path|P|first", "Record|not reached"});
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(host.errors, std::vector<std::string>{"Runtime error in setup script:\r\rLine 2: "
                                                    "'first' is not a valid integer value"});
}

}  // namespace
}  // namespace setup::engine::testing
