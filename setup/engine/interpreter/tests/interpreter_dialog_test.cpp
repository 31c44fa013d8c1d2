// The dialog and message statements over the fake host: what each passes to the pages, the
// message box and the notification area, in which order, and which variables get the answers.
#include <algorithm>

#include "setup/engine/testing/interpreter_test_support.h"

namespace {

using namespace setup::engine;
using namespace setup::engine::testing;
using Strings = std::vector<std::string>;

class DialogStatementsTest : public InterpreterTest
{
protected:
    // The events of the pages, boxes and the notification area, in order.
    Strings UiEvents() const
    {
        Strings ui;
        for (const std::string& event : host.events) {
            for (const char* prefix : {"release", "prepare", "page", "hide", "message", "minimize",
                                       "restore", "tray", "no tray", "balloon"}) {
                if (event.rfind(prefix, 0) == 0) {
                    ui.push_back(event);
                    break;
                }
            }
        }
        return ui;
    }
};

TEST_F(DialogStatementsTest, PagesAreReleasedBoundAndShownInOrder)
{
    host.pageResults = {{0, "", 77}, {8, "btnCustom", 0}, {1, "", 0}, {7, "", 0}};
    Run({"Display Dialog|Progress|R|FALSE", "Record|$WINDOWHANDLE$ $R$",
         "Display Dialog|Welcome|R|TRUE", "Record|$WINDOWHANDLE$ $R$",
         "Display Dialog|Install|R|TRUE", "Record|$WINDOWHANDLE$ $R$",
         "Display Dialog|Finish|$R$|TRUE", "Record|$WINDOWHANDLE$ $R$"});
    // A code without a word (1: the page's install ended) leaves the variable as it was.
    EXPECT_EQ(recorded, (Strings{"77 NOTMODAL", "0 BTNCUSTOM", "0 BTNCUSTOM", "0 BACK"}));
    EXPECT_EQ(UiEvents(), (Strings{"prepare 0 owner 0", "page 0 modeless", "prepare 2 owner 77",
                                   "page 2 modal", "release 2", "prepare 4 owner 0",
                                   "page 4 modal", "release 4", "prepare 6 owner 0",
                                   "page 6 modal"}));
    EXPECT_EQ(engine.PendingDialogKey, "6");
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(DialogStatementsTest, ConditionSkipsTheWholeStatement)
{
    struct Case
    {
        const char* value;
        const char* condition;
        bool shown;
    };
    const Case cases[] = {
        {"TRUE", "$SKIP$||TRUE", false},
        {"TRUE", "SKIP||FALSE", true},
        {"FALSE", "SKIP||FALSE", false},
        {"", "SKIP||FALSE", false},  // empty reads as false
        {"TRUE", "||TRUE", true},    // no condition variable
    };
    for (const Case& c : cases) {
        host.events.clear();
        recorded.clear();
        engine.PendingDialogKey.clear();
        Run({"Set Variable|SKIP|" + std::string(c.value), "Set Variable|R|before",
             "Display Dialog|First|X|TRUE",
             "Display Dialog|Page|R|TRUE|" + std::string(c.condition), "Record|$R$"});
        const Strings expected =
            c.shown ? Strings{"prepare 2 owner 0", "page 2 modal", "release 2",
                              "prepare 3 owner 0", "page 3 modal"}
                    : Strings{"prepare 2 owner 0", "page 2 modal"};
        EXPECT_EQ(UiEvents(), expected) << c.value << " " << c.condition;
        EXPECT_EQ(recorded, Strings{c.shown ? "NEXT" : "before"}) << c.condition;
    }
}

TEST_F(DialogStatementsTest, InsideAWizardLoopTheOwnerStays)
{
    host.pageResults = {{0, "", 55}, {6, "", 0}, {2, "", 0}};
    Run({"Display Dialog|Progress|R|FALSE", "Wizard Loop", "Display Dialog|A|R|FALSE",
         "Display Dialog|B|R|FALSE", "End", "Record|$WINDOWHANDLE$ $R$"});
    EXPECT_EQ(recorded, Strings{"55 CANCEL"});
    EXPECT_EQ(engine.ForegroundDialogWindow, 55u);
    EXPECT_EQ(UiEvents(), (Strings{"prepare 0 owner 0", "page 0 modeless", "prepare 2 owner 55",
                                   "page 2 modal", "release 2", "prepare 3 owner 55",
                                   "page 3 modal"}));
}

TEST_F(DialogStatementsTest, HideDialogForgetsTheOwnerWindow)
{
    host.pageResults = {{0, "", 77}};
    Run({"Display Dialog|Progress|R|FALSE", "Hide Dialog", "Record|$WINDOWHANDLE$",
         "MessageBox|T|Text|0|1|"});
    EXPECT_EQ(recorded, Strings{"0"});
    EXPECT_EQ(engine.ForegroundDialogWindow, 0u);
    EXPECT_EQ(UiEvents(), (Strings{"prepare 0 owner 0", "page 0 modeless", "hide temp",
                                   "message 0 T|Text 64"}));
}

TEST_F(DialogStatementsTest, MessageBoxFlagsAndAnswers)
{
    struct Case
    {
        const char* icon;
        const char* buttons;
        int answer;
        std::uint32_t flags;
        const char* word;
    };
    const Case cases[] = {
        {"0", "0", 3, 0x42, "ABORT"}, {"1", "1", 1, 0x20, "OK"},   {"2", "2", 2, 0x31, "CANCEL"},
        {"3", "3", 4, 0x15, "RETRY"}, {"0", "4", 6, 0x44, "YES"},  {"1", "5", 7, 0x23, "NO"},
        {"2", "0", 5, 0x32, "IGNORE"},
        // Codes out of range add nothing; a failed box assigns nothing.
        {"9", "-1", 1, 0x0, "OK"},    {"1", "1", 0, 0x20, "kept"},
    };
    for (const Case& c : cases) {
        host.events.clear();
        recorded.clear();
        host.messageAnswer = c.answer;
        Run({"Set Variable|TOOL|Box", "Set Variable|A|kept",
             "MessageBox|$TOOL$ title|Text of $TOOL$|" + std::string(c.icon) + "|" + c.buttons +
                 "|A",
             "Record|$A$"});
        EXPECT_EQ(recorded, Strings{c.word}) << c.icon << c.buttons;
        EXPECT_EQ(UiEvents().back(),
                  "message 0 Box title|Text of Box " + std::to_string(c.flags))
            << c.icon << c.buttons;
    }
}

TEST_F(DialogStatementsTest, MessageBoxOwnedByTheNonModalPage)
{
    host.pageResults = {{0, "", 90}};
    Run({"Display Dialog|Progress|R|FALSE", "MessageBox|T|X|1|4|NEWVAR", "Record|[$NEWVAR$]"});
    EXPECT_EQ(UiEvents().back(), "message 90 T|X 36");
    EXPECT_EQ(recorded, Strings{"[OK]"});
}

TEST_F(DialogStatementsTest, SilentMessagesShowAndAssignNothing)
{
    Run({"Set Variable|SILENT|TRUE", "Set Variable|A|kept", "MessageBox|T|X|1|4|A",
         "MessageBalloon|T|X|0|5", "Record|$A$"});
    EXPECT_EQ(recorded, Strings{"kept"});
    EXPECT_TRUE(UiEvents().empty());
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(DialogStatementsTest, NonNumericCodesAreConversionErrors)
{
    for (const char* statement : {"MessageBox|T|X|one|1|A", "MessageBox|T|X|1|x|A",
                                  "MessageBalloon|T|X|z|10", "MessageBalloon|T|X|1|ten"}) {
        host.errors.clear();
        Run({statement});
        ASSERT_EQ(host.errors.size(), 1u) << statement;
        EXPECT_NE(host.errors[0].find("is not a valid integer value"), std::string::npos)
            << host.errors[0];
        EXPECT_TRUE(UiEvents().empty()) << statement;
    }
}

TEST_F(DialogStatementsTest, BalloonTimesAndKinds)
{
    host.trayIcon = true;
    struct Case
    {
        const char* icon;
        const char* seconds;
        const char* event;
    };
    const Case cases[] = {
        {"0", "5", "balloon Setup|Done 1 10000 Product"},
        {"1", "60", "balloon Setup|Done 2 30000 Product"},
        {"2", "12", "balloon Setup|Done 3 12000 Product"},
        {"7", "30", "balloon Setup|Done 0 30000 Product"},  // the previous balloon's kind
    };
    for (const Case& c : cases) {
        host.events.clear();
        Run({"Set Variable|TITLE|Product", "Set Variable|WHAT|Done",
             "MessageBalloon|Setup|$WHAT$|" + std::string(c.icon) + "|" + c.seconds});
        EXPECT_EQ(UiEvents(), Strings{c.event}) << c.icon;
    }
}

TEST_F(DialogStatementsTest, SystemTraySteps)
{
    host.trayIcon = true;
    struct Case
    {
        const char* silent;
        const char* params;
        Strings events;
    };
    const Case cases[] = {
        {"FALSE", "TRUE|||", {"tray icon Product", "minimize 66"}},
        {"TRUE", "TRUE|||", {"minimize 66"}},  // silent still hides the owner
        {"FALSE", "|TRUE||", {"tray icon Product"}},
        {"TRUE", "|TRUE||", {}},
        {"FALSE", "||TRUE|", {"restore 66"}},
        {"TRUE", "|||TRUE", {"no tray icon Product", "restore 66"}},
        {"FALSE", "true|True||", {}},  // compared exactly
        {"FALSE", "TRUE|TRUE|TRUE|TRUE",
         {"tray icon Product", "minimize 66", "tray icon Product", "restore 66",
          "no tray icon Product", "restore 66"}},
    };
    for (const Case& c : cases) {
        host.events.clear();
        host.pageResults = {{0, "", 66}};
        Run({"Set Variable|TITLE|Product", "Display Dialog|Progress|R|FALSE",
             "Set Variable|SILENT|" + std::string(c.silent), "System Tray|" + std::string(c.params)});
        Strings events = UiEvents();
        events.erase(events.begin(), events.begin() + 2);  // the page
        EXPECT_EQ(events, c.events) << c.silent << " " << c.params;
    }
}

TEST_F(DialogStatementsTest, ARefusedTrayIconIsReportedAndTheSetupGoesOn)
{
    struct Case
    {
        const char* statement;
        Strings events;  // the window stays on screen when its icon cannot show
    };
    const Case cases[] = {
        {"MessageBalloon|T|X|0|10", {}},
        {"System Tray|TRUE|||", {}},
        {"System Tray||TRUE||", {}},
        {"System Tray||||TRUE", {"restore 66"}},
    };
    for (const Case& c : cases) {
        host.errors.clear();
        host.events.clear();
        recorded.clear();
        host.pageResults = {{0, "", 66}};
        Run({"Display Dialog|Progress|R|FALSE", c.statement, "Record|after"});
        ASSERT_EQ(host.errors.size(), 1u) << c.statement;
        EXPECT_NE(host.errors[0].find("notification-area icon is not available"),
                  std::string::npos)
            << host.errors[0];
        EXPECT_EQ(recorded, Strings{"after"}) << c.statement;
        EXPECT_EQ(engine.ExitCode, 0) << c.statement;
        Strings events = UiEvents();
        events.erase(events.begin(), events.begin() + 2);  // the page
        EXPECT_EQ(events, c.events) << c.statement;
    }
    // Bringing the window back needs no icon.
    host.errors.clear();
    Run({"System Tray|||TRUE|"});
    EXPECT_TRUE(host.errors.empty());
}

}  // namespace
