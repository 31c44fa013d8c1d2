#include "setup/engine/statements/statements_processes.h"

#include <gtest/gtest.h>

#include <map>

#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

// Windows in Z order that never close; every post is recorded as "<handle> close".
class FakeProcesses : public IProcessServices
{
public:
    std::vector<std::string> processes = {"System", "explorer.exe", "notepad.exe"};
    std::map<std::string, int> services;
    std::vector<std::string> serviceQueries;
    std::vector<TopLevelWindow> windows;
    std::vector<std::uintptr_t> posts;

    std::vector<std::string> RunningProcessNames() override { return processes; }
    int GetServiceState(const std::string& computer, const std::string& service) override
    {
        serviceQueries.push_back(computer + "|" + service);
        const auto found = services.find(service);
        return found == services.end() ? -1 : found->second;
    }
    std::vector<TopLevelWindow> TopLevelWindows() override { return windows; }
    void PostCloseMessages(std::uintptr_t window) override { posts.push_back(window); }
};

class ProcessStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        RegisterProcessStatements(handlers, processes);
    }
    FakeProcesses processes;
};

TEST_F(ProcessStatementTest, ProcessNamesCompareWithoutCaseButNeverAsPaths)
{
    struct Case
    {
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"notepad.exe", "TRUE"}, {"NOTEPAD.EXE", "TRUE"}, {"C:\\Windows\\notepad.exe", "FALSE"},
        {"notepad", "FALSE"},    {"", "FALSE"},           {"$PROGRAM$", "TRUE"},
    };
    SetVariable("PROGRAM", "Explorer.EXE", "test");
    for (const Case& c : cases) {
        Run({std::string("Check Process|") + c.name + "|$running$"});
        EXPECT_EQ(GetVariable("RUNNING"), c.expected) << c.name;
    }
}

TEST_F(ProcessStatementTest, TerminateProgramPostsToTheFirstMatchTenTimes)
{
    processes.windows = {{1, "Shell_TrayWnd", ""},
                         {2, "Notepad", "Untitled - Notepad"},
                         {3, "Notepad", "Untitled - Notepad"},
                         {4, "TMainForm", "Setup"}};
    struct Case
    {
        const char* title;
        const char* className;
        std::vector<std::uintptr_t> posts;
    };
    const std::vector<std::uintptr_t> none;
    const Case cases[] = {
        {"", "", none},
        {"Notepad", "", std::vector<std::uintptr_t>(kTerminatePasses, 2)},
        {"", "TMain", std::vector<std::uintptr_t>(kTerminatePasses, 4)},
        {"Untitled", "Notepad", std::vector<std::uintptr_t>(kTerminatePasses, 2)},
        {"notepad", "", none},  // case-sensitive
        {"Setup", "Notepad", none},
    };
    for (const Case& c : cases) {
        processes.posts.clear();
        Run({std::string("Terminate Program|") + c.title + "|" + c.className});
        EXPECT_EQ(processes.posts, c.posts) << c.title << "/" << c.className;
    }
}

TEST_F(ProcessStatementTest, ServiceStatesAsWords)
{
    const char* const words[] = {"NOTINSTALLED",  "STOPPED", "STARTING",
                                 "STOPPING",      "RUNNING", "CONTINUE_PENDING",
                                 "PAUSE_PENDING", "PAUSED",  "NOTINSTALLED"};
    for (int state = 0; state <= 8; ++state)
        EXPECT_EQ(ServiceStateWord(state), words[state]) << state;
    EXPECT_EQ(ServiceStateWord(-1), "NOTINSTALLED");

    processes.services = {{"Spooler", 4}};
    SetVariable("HOST", "server1", "test");
    Run({"Check Service|Spooler||$state$", "Check Service|Spooler|$HOST$|OTHER",
         "Check Service|Missing||MISSING"});
    EXPECT_EQ(GetVariable("STATE"), "RUNNING");
    EXPECT_EQ(GetVariable("MISSING"), "NOTINSTALLED");
    EXPECT_EQ(processes.serviceQueries,
              (std::vector<std::string>{"|Spooler", "server1|Spooler", "|Missing"}));
}

}  // namespace
}  // namespace setup::engine::testing
