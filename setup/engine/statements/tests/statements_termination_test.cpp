#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/statements/statements_termination.h"
#include "setup/engine/testing/interpreter_test_support.h"

namespace setup::engine {
namespace {

// Keeps what the statements asked of Windows; nothing here restarts anything.
class RecordingRestart : public IRestartServices
{
public:
    void WriteRunValue(bool machineHive, const std::string& name, const std::string& data) override
    {
        if (refuseWrite)
            throw rtl::Exception("Failed to set data for '" + name + "'");
        calls.push_back(std::string(machineHive ? "HKLM " : "HKCU ") + name + "=" + data);
    }
    bool ShutdownWithPrivilege(std::uint32_t flags) override
    {
        calls.push_back("shutdown " + std::to_string(flags));
        return false;  // refused: the script ends all the same
    }
    std::vector<std::string> calls;
    bool refuseWrite = false;
};

class TerminationTest : public testing::InterpreterTest
{
protected:
    void SetUp() override
    {
        InterpreterTest::SetUp();
        RegisterTerminationStatements(handlers, restart);
    }
    bool RanToTheEnd() const
    {
        return !host.traces.empty() && host.traces.back() == "    </ExitScript>";
    }
    RecordingRestart restart;
};

TEST_F(TerminationTest, EachStatementIsTheLastOneAndTheRunEndsNormally)
{
    struct Case
    {
        const char* statement;
        int exitCode;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"Terminate Install", 0, {}},
        {"Terminate with Exit Code|$CODE$", 1603, {}},
        {"Reboot Computer", 0, {"shutdown 2"}},
        {"Reboot and Resume", 0, {"HKCU 1A2B3C4D=C:\\Setup\\setup.exe", "shutdown 2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statement);
        restart.calls.clear();
        recorded.clear();
        host.traces.clear();
        engine.ExitCode = 0;
        Run({"Set Variable|CODE|1603", "Set Variable|ALLUSERS|FALSE", "Record|before", c.statement,
             "Record|after"});
        EXPECT_EQ(recorded, std::vector<std::string>{"before"});
        EXPECT_EQ(engine.ExitCode, c.exitCode);
        EXPECT_EQ(restart.calls, c.calls);
        EXPECT_TRUE(RanToTheEnd());
    }
}

TEST_F(TerminationTest, ResumeEntryNamesThePackageThatStartedTheSetupAndItsCommandLine)
{
    struct Case
    {
        const char* sfx;
        const char* commandTail;
        const char* allUsers;
        const char* expected;
    };
    const Case cases[] = {
        {"", "", "TRUE", "HKLM 1A2B3C4D=C:\\Setup\\setup.exe"},
        {"D:\\Media\\pack.exe", "", "FALSE", "HKCU 1A2B3C4D=D:\\Media\\pack.exe"},
        {"D:\\Media\\pack.exe", "/s LANG=1", "FALSE",
         "HKCU 1A2B3C4D=D:\\Media\\pack.exe /s LANG=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        restart.calls.clear();
        engine.process.sfxArgument = c.sfx;
        engine.process.commandTail = c.commandTail;
        Run({std::string("Set Variable|ALLUSERS|") + c.allUsers, "Reboot and Resume"});
        ASSERT_EQ(restart.calls.size(), 2u);
        EXPECT_EQ(restart.calls[0], c.expected);
    }
}

TEST_F(TerminationTest, FailuresRaiseBeforeTheScriptEnds)
{
    restart.refuseWrite = true;
    Run({"Record|before", "Reboot and Resume", "Record|after"});
    EXPECT_TRUE(restart.calls.empty());  // no restart without the resume entry
    EXPECT_EQ(engine.ExitCode, kRuntimeFailureExitCode);

    recorded.clear();
    engine.ExitCode = 0;
    Run({"Terminate with Exit Code|soon", "Record|after"});
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(engine.ExitCode, kRuntimeFailureExitCode);
    EXPECT_FALSE(RanToTheEnd());
}

}  // namespace
}  // namespace setup::engine
