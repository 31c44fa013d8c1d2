#include "setup/engine/script/startup_command_line.h"

#include <gtest/gtest.h>

namespace {

using namespace setup::engine;

TEST(CommandTail, RemovesTheProgramPath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\Setup Files\\setup.exe\" s", "s"},
        {"\"C:\\Setup Files\\setup.exe\"", ""},
        {"\"C:\\Setup Files\\setup.exe\"  /l=log.txt", " /l=log.txt"},
        {"C:\\setup.exe qn TARGET=D:\\App", "qn TARGET=D:\\App"},
        {"C:\\setup.exe", ""},
        {"\"C:\\unclosed", ""},
        {"", ""},
    };
    for (const auto& [raw, tail] : cases)
        EXPECT_EQ(CommandTail(raw), tail) << raw;
}

TEST(ParseStartupCommandLine, ReadsSwitchesValuesAndAssignments)
{
    struct Case
    {
        std::vector<std::string> arguments;
        bool silent;
        bool noWindows;
        std::string traceLogPath;
        std::string sourceOverride;
        std::vector<std::string> overrides;
    };
    const Case cases[] = {
        {{"/s"}, true, true, "", "", {}},
        {{"-QN"}, true, true, "", "", {}},
        {{"/update"}, false, true, "", "", {}},
        {{"-UpdateSetup"}, false, true, "", "", {}},
        {{"/silent", "s"}, false, false, "", "", {}},  // whole arguments only, with a switch mark
        {{"/L=C:\\Logs\\Setup.LOG"}, false, false, "c:\\logs\\setup.log", "", {}},
        {{"-l=trace.txt", "/l=second.txt"}, false, false, "trace.txt", "", {}},
        {{"/P=\\\\Server\\Share"}, false, false, "", "\\\\server\\share", {}},
        {{"target=D:\\App", "Mode=a=b"},
         false,
         false,
         "",
         "",
         {"TARGET", "D:\\App", "MODE", "a=b"}},
        {{"/x=1", "-y=2", "plain"}, false, false, "", "", {}},
        // Only an argument that starts with a value switch is one.
        {{"url=http://127.0.0.1/p=1", "/P=src"},
         false,
         false,
         "",
         "src",
         {"URL", "http://127.0.0.1/p=1"}},
    };
    for (const auto& c : cases) {
        const StartupSwitches switches = ParseStartupCommandLine(c.arguments, "setup.exe");
        const std::string label = c.arguments.front();
        EXPECT_EQ(switches.silent, c.silent) << label;
        EXPECT_EQ(switches.noWindows, c.noWindows) << label;
        EXPECT_EQ(switches.traceLogPath, c.traceLogPath) << label;
        EXPECT_EQ(switches.sourceOverride, c.sourceOverride) << label;
        EXPECT_EQ(switches.overrides.Items(), c.overrides) << label;
    }
    const StartupSwitches sfx =
        ParseStartupCommandLine({"/M=C:\\Dl\\Pack.EXE", "/g=\\\\gpo\\Share\\"}, "");
    EXPECT_EQ(sfx.sfxPath, "c:\\dl\\pack.exe");
    EXPECT_EQ(sfx.gpoPath, "\\\\gpo\\share\\");
}

}  // namespace
