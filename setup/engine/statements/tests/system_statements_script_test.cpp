// The system-information and launching statements as the interpreter runs them from a script.
#include <gtest/gtest.h>

#include <windows.h>

#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/testing/interpreter_test_support.h"

namespace setup::engine::testing {
namespace {

class SystemStatementScriptTest : public InterpreterTest
{
protected:
    void SetUp() override
    {
        InterpreterTest::SetUp();
        ASSERT_TRUE(rtl::InitGuiThread());
    }
    void TearDown() override
    {
        rtl::DoneGuiThread();
        InterpreterTest::TearDown();
    }
};

TEST_F(SystemStatementScriptTest, AsksTheMachineAndRunsAProgram)
{
    char path[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string probe = path;
    probe = probe.substr(0, probe.rfind('\\') + 1) + "setup_launch_probe.exe";
    Run({"Get System Settings|CHECKSYSTEM|24", "Get System Settings|64BITS|65",
         "Get OS or SP Level|$LEVEL$|FALSE", "Run Program|" + probe + "|TRUE|exit=7|TRUE|CODE",
         "Register Library|C:\\absent\\none.tlb|TRUE|REGISTERED",
         "Record|$CHECKSYSTEM$ $64BITS$ $CODE$ $REGISTERED$"});
    EXPECT_TRUE(host.errors.empty()) << host.errors.front();
    EXPECT_EQ(recorded, std::vector<std::string>{"TRUE FALSE 7 FALSE"});
    EXPECT_FALSE(GetVariable("LEVEL").empty());
}

}  // namespace
}  // namespace setup::engine::testing
