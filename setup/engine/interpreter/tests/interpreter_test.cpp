// Runs of the interpreter over scripts built in memory: flow control, dispatch, the exception
// guard and the per-statement callback.
#include <algorithm>

#include "setup/engine/testing/interpreter_test_support.h"

namespace {

using namespace setup::engine;
using namespace setup::engine::testing;
using Strings = std::vector<std::string>;

PageResult Page(int code, std::string controlName = {})
{
    return {code, std::move(controlName), 0};
}

TEST_F(InterpreterTest, IfChainRunsOnlyTheFirstTrueBranch)
{
    struct Case
    {
        const char* value;
        const char* negateFirst;
        Strings recorded;
    };
    const Case cases[] = {
        {"1", "FALSE", {"first else if", "after"}},  // two true Else Ifs: only the first runs
        {"2", "FALSE", {"if", "after"}},
        {"3", "FALSE", {"else", "after"}},
        {"2", "TRUE", {"else", "after"}},  // negated If is false, no Else If holds
        {"3", "-1", {"if", "after"}},
    };
    for (const Case& c : cases) {
        recorded.clear();
        Run({"Set Variable|A|" + std::string(c.value), "If|A|0|2|" + std::string(c.negateFirst),
             "Record|if", "Else If|$A$|0|1|FALSE", "Record|first else if", "Else If|A|4|1|FALSE",
             "Record|second else if", "Else", "Record|else", "End", "Record|after"});
        EXPECT_EQ(recorded, c.recorded) << c.value << " " << c.negateFirst;
    }
}

TEST_F(InterpreterTest, SkippedBranchStepsOverNestedBlocksAndCommentedEnds)
{
    Run({"Set Variable|A|1",
         "If|A|0|2",
         "If|A|0|1",
         "Record|inner",
         "#End",
         "Else If|A|0|1",
         "Record|inner else if",
         "End",
         "Record|skipped",
         "#Else",
         "Record|still skipped",
         "Else",
         "Record|else",
         "If|A|0|1",
         "Record|nested true",
         "Else",
         "Record|nested else",
         "End",
         "Record|else tail",
         "End",
         "Record|after"});
    EXPECT_EQ(recorded, (Strings{"else", "nested true", "else tail", "after"}));
}

TEST_F(InterpreterTest, VariableTestsAndUndefinedVariables)
{
    struct Case
    {
        std::string statement;
        bool runs;
    };
    const Case cases[] = {
        {"If|DEFINED|5||FALSE", true},
        {"If|NOTDEFINED|5||FALSE", false},
        {"If|NOTDEFINED|5||TRUE", true},
        {"If|NOTDEFINED|0||FALSE", true},  // undefined reads as the empty text
        {"If|A|0|$B$|FALSE", true},        // the value side is expanded
        {"If|A|1|2|FALSE", false},
    };
    for (const Case& c : cases) {
        recorded.clear();
        // NOTDEFINED is known to the compile check but never set.
        Run({"Set Variable|DEFINED|x", "Set Variable|A|12", "Set Variable|B|$A$", "If|A|0|x",
             "Set Variable|NOTDEFINED|x", "End", c.statement, "Record|ran", "End"});
        EXPECT_EQ(recorded, c.runs ? Strings{"ran"} : Strings{}) << c.statement;
    }
}

TEST_F(InterpreterTest, GoToJumpsForwardAndBackward)
{
    Run({"Set Variable|N|0", "Label|Top", "Increment|N", "Record|pass $N$", "If|N|2|2",
         "GoTo Label|done", "End", "GoTo Label|TOP", "Record|never", "Label|Done", "Record|end"});
    EXPECT_EQ(recorded, (Strings{"pass 1", "pass 2", "pass 3", "end"}));
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(InterpreterTest, WizardLoopFollowsPageResults)
{
    struct Case
    {
        const char* name;
        std::vector<PageResult> results;
        Strings pages;
        std::string wizard;
    };
    const Case cases[] = {
        {"forward", {Page(6), Page(6), Page(6)}, {"2", "3", "5"}, "NEXT"},
        {"back off the first page", {Page(7)}, {"2"}, "BACK"},
        {"back and forth",
         {Page(6), Page(7), Page(6), Page(6), Page(6)},
         {"2", "3", "2", "3", "5"},
         "NEXT"},
        {"cancel", {Page(6), Page(2)}, {"2", "3"}, "CANCEL"},
        {"named control keeps the direction",
         {Page(8, "Custom"), Page(6), Page(6)},
         {"2", "3", "5"},
         "NEXT"},
        {"named control on the last page",
         {Page(6), Page(6), Page(8, "Finish")},
         {"2", "3", "5"},
         "FINISH"},
    };
    for (const Case& c : cases) {
        recorded.clear();
        host.events.clear();
        host.pageResults.assign(c.results.begin(), c.results.end());
        Run({"Set Variable|SKIP|TRUE", "Wizard Loop", "Display Dialog|Welcome|WIZARD|FALSE",
             "Display Dialog|License|WIZARD|TRUE",
             "Display Dialog|Skipped|WIZARD|TRUE|$SKIP$||TRUE", "Display Dialog|Ready|WIZARD|TRUE",
             "#Display Dialog|Commented|WIZARD|TRUE", "End", "Record|$WIZARD$"});
        Strings pages;
        for (const std::string& event : host.events) {
            if (event.rfind("page ", 0) == 0) {
                EXPECT_NE(event.find(" modal"), std::string::npos) << event;
                pages.push_back(event.substr(5, event.find(' ', 5) - 5));
            }
        }
        EXPECT_EQ(pages, c.pages) << c.name;
        EXPECT_EQ(recorded, Strings{c.wizard}) << c.name;
    }
}

TEST_F(InterpreterTest, PageOutsideLoopSetsOwnerWindowAndProgressIsPublished)
{
    host.pageResults.push_back({0, "", 77});
    Run({"Display Dialog|Progress|RESULT|FALSE", "Record|$WINDOWHANDLE$ $RESULT$",
         "Set Variable|PROGRESS|40", "Set Variable|PROGRESSTEXT|Copying", "Record|done",
         "Display Dialog|Finish|RESULT|TRUE", "Record|$WINDOWHANDLE$ $RESULT$"});
    EXPECT_EQ(recorded, (Strings{"77 NOTMODAL", "done", "0 NEXT"}));
    const Strings progress(
        std::find_if(host.events.begin(), host.events.end(),
                     [](const std::string& e) { return e.rfind("progress", 0) == 0; }),
        host.events.end());
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress[0], "progress  40");
    EXPECT_EQ(progress[1], "progress Copying 40");
    EXPECT_EQ(engine.ForegroundDialogWindow, 0u);
}

TEST_F(InterpreterTest, MissingPackageRunsNoStatement)
{
    host.files.clear();
    Run({"Record|first"});
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(std::count(host.traces.begin(), host.traces.end(), "    <tarq>"), 0);

    host.files.insert(engine.process.supportDir + "setup.msp");  // a patch alone is enough
    Run({"Record|first"});
    EXPECT_EQ(recorded, Strings{"first"});
}

TEST_F(InterpreterTest, RaisingStatementReportsItsLineAndEndsTheRun)
{
    Run({"Record|a", "#Record|commented", "Raise|Disk full", "Record|b"});
    EXPECT_EQ(recorded, Strings{"a"});
    EXPECT_EQ(host.errors, Strings{"Runtime error in setup script:\r\rLine 3: Disk full"});
    EXPECT_EQ(engine.ExitCode, kRuntimeFailureExitCode);
    EXPECT_EQ(host.events.back(), "close");
    EXPECT_EQ(std::count(host.traces.begin(), host.traces.end(), "    </tarq>"), 0);
}

TEST_F(InterpreterTest, RuntimeErrorsAreWordedInTheRunsLanguage)
{
    engine.Messages->Set(20, "Laufzeitfehler im Skript:");
    Run({"Raise|Disk full"});
    EXPECT_EQ(host.errors, Strings{"Laufzeitfehler im Skript:\r\rLine 1: Disk full"});
}

TEST_F(InterpreterTest, RuntimeErrorKeepsAnExitCodeTheScriptSetAndIsSilentWhenAsked)
{
    handlers.Register("Set Exit Code", [this](StatementContext&) { engine.ExitCode = 5; });
    Run({"Set Variable|SILENT|TRUE", "Set Exit Code", "Raise|boom"});
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(engine.ExitCode, 5);
}

TEST_F(InterpreterTest, FailedCompileCheckExitsWith314BeforeAnyStatement)
{
    Run({"Record|x", "If|A|0|1"});
    EXPECT_EQ(host.exitCodes, std::vector<int>{kCompileFailureExitCode});
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(host.detections, 0);
}

TEST_F(InterpreterTest, DispatchOrder)
{
    // Plug-ins first (letter case ignored), flow control only by its exact name, unknown
    // commands and the structural no-ops do nothing.
    Run(ScriptBuilder()
            .Plugin("record")
            .Plugin("my step")
            .Lines({"Record|by plug-in", "My Step", "if|A|0|x", "Label|L", "Comment|text",
                    "Code Folding Region", "Compiler Variable End", "Unknown Command|x"})
            .Build());
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "plugin 0"), 1);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "plugin 1"), 1);
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(InterpreterTest, CallbackSeesEachRunStatementAndCanEndTheRun)
{
    std::vector<int> seen;
    Run(BuildScript({"Record|a", "#Record|b", "Ignore|c", "Record|d", "Record|e"}),
        [&seen](int pointer) {
            seen.push_back(pointer);
            return pointer < 4;
        });
    EXPECT_EQ(seen, (std::vector<int>{1, 4}));
    EXPECT_EQ(recorded, Strings{"a"});
    EXPECT_EQ(host.events.back(), "close");
    EXPECT_EQ(std::count(host.traces.begin(), host.traces.end(), "    </tarq>"), 0);
}

TEST_F(InterpreterTest, CancelStateIsPublishedInAbort)
{
    host.cancelState = -1;
    Run({"Record|$ABORT$"});
    EXPECT_EQ(recorded, Strings{"TRUE"});
}

}  // namespace
