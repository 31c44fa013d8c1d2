// Refreshkit.dll through its exports, each call in a process of its own (refreshkit_driver),
// against an update server on 127.0.0.1 that the test starts and stops.
#include "suite/common/tests/suite_test_support.h"
#include "tests/support/loopback_http_server_win32.h"
#include "tests/support/process_runner_win32.h"
#include "tests/support/scratch_folder_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace update {
namespace {

using testsupport::HttpRoute;
using testsupport::LoopbackHttpServer;

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

struct DriverRun
{
    testsupport::ProcessResult process;
    std::vector<std::string> lines;
};

DriverRun RunDriver(const std::string& languageFolder, const std::string& url,
                    const std::string& call,
                    const std::vector<std::pair<std::string, std::string>>& environment = {})
{
    testsupport::ScratchFolder scratch;
    const std::string resultFile = scratch.NarrowPath() + "result.txt";
    testsupport::ProcessOptions options;
    options.arguments =
        "\"" + resultFile + "\" \"" + languageFolder + "\" \"" + url + "\" 1 " + call;
    options.traceFile = resultFile;
    options.timeoutMs = 60000;
    options.environment = environment;
    DriverRun run;
    run.process = testsupport::RunProcess(
        Narrow(suite::testing::ProgramFolder()) + "refreshkit_driver.exe", options);
    run.lines = run.process.trace;
    return run;
}

// Without its trailing backslash, which would escape the closing quote on the command line.
std::string Fixtures(const wchar_t* scenario)
{
    const std::string folder = Narrow(suite::testing::LanguageFixtureFolder(scenario));
    return folder.substr(0, folder.size() - 1);
}

TEST(RefreshkitDll, SilentChecksAgainstTheLoopbackServer)
{
    struct Case
    {
        const char* name;
        const wchar_t* scenario;
        HttpRoute route;
        bool closedPort;
        const char* installed;
        const char* result;
        std::vector<std::string> boxes;
        bool asksServer;
    };
    const Case cases[] = {
        {"no languages",
         L"none",
         {"/update", 200, "]\r\nversion=9\r\n"},
         false,
         "7.1",
         "-10",
         {"Refreshkit|Could not locate necessary dll 'Lingotext.dll'"},
         false},
        {"no language files",
         L"empty",
         {"/update", 200, "]\r\nversion=9\r\n"},
         false,
         "7.1",
         "-10",
         {"Resource not found|No language files were found! Please reinstall your product."},
         false},
        {"error text",
         L"three",
         {"/update", 200, "Error 3. Message: Unknown product"},
         false,
         "7.1",
         "-2",
         {},
         true},
        {"not found", L"three", {"/other", 200, "]"}, false, "7.1", "-2", {}, true},
        {"closed port", L"three", {"/update", 200, "]"}, true, "7.1", "-5", {}, false},
        {"same version",
         L"three",
         {"/update", 200, "[x]\r\nversion=7.1\r\n"},
         false,
         "7.1",
         "-1",
         {},
         true},
        {"newer",
         L"three",
         {"/update", 200, "[x]\r\nversion=7.2\r\n"},
         false,
         "7.1",
         "2",
         {},
         true},
        {"text order",
         L"three",
         {"/update", 200, "[x]\r\nversion=7.10\r\n"},
         false,
         "7.9",
         "-1",
         {},
         true},
    };
    for (const Case& c : cases) {
        LoopbackHttpServer server({c.route});
        ASSERT_TRUE(server.Started());
        const std::string url =
            c.closedPort
                ? "http://127.0.0.1:" + std::to_string(LoopbackHttpServer::ClosedPort()) + "/update"
                : server.Url("/update");
        const DriverRun run =
            RunDriver(Fixtures(c.scenario), url, std::string("check 1 ") + c.installed + " Ann");
        ASSERT_TRUE(run.process.started) << c.name;
        EXPECT_EQ(run.process.exitCode, 0u) << c.name;
        EXPECT_EQ(run.lines, std::vector<std::string>{c.result}) << c.name;
        EXPECT_EQ(run.process.messageBoxes, c.boxes) << c.name;
        EXPECT_EQ(server.Requests().size(), c.asksServer ? 1u : 0u) << c.name;
    }
}

TEST(RefreshkitDll, RequestDescribesTheProductUserAndSystem)
{
    LoopbackHttpServer server({{"/update", 200, "[x]\r\nversion=7.1\r\n"}});
    ASSERT_TRUE(server.Started());
    const DriverRun run = RunDriver(Fixtures(L"three"), server.Url("/update"), "check 1 7.1 Ann");
    EXPECT_EQ(run.lines, std::vector<std::string>{"-1"});
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& line = requests[0];
    EXPECT_EQ(line.rfind("GET /update?productid=17&ver=7.1&name=Ann&email=ann@example.org"
                         "&company=A%26B&vntlang=NTV&lang=",
                         0),
              0u)
        << line;
    EXPECT_NE(line.find("&os="), std::string::npos) << line;
}

TEST(RefreshkitDll, ReleaseDateFromTheLanguagesAddress)
{
    struct Case
    {
        const char* name;
        HttpRoute route;
        const char* date;
    };
    const Case cases[] = {
        {"answered", {"/date", 200, "[x]\r\nreleasedate=2026-12-01\r\n"}, "2026-12-01"},
        {"error text", {"/date", 200, "Message: no"}, "(none)"},
        {"too slow", {"/date", 200, "[x]\r\nreleasedate=2026-12-01\r\n", 3000}, ""},
    };
    for (const Case& c : cases) {
        LoopbackHttpServer server({c.route});
        ASSERT_TRUE(server.Started());
        const DriverRun run = RunDriver(Fixtures(L"three"), "-", "date 1",
                                        {{"FIXTURE_TEXT_url_update_ntv", server.Url("/date")}});
        EXPECT_EQ(run.lines, std::vector<std::string>{c.date}) << c.name;
        EXPECT_TRUE(run.process.messageBoxes.empty()) << c.name;
    }
}

TEST(RefreshkitDll, LaterChecksKeepWhatTheFirstAnswerHad)
{
    LoopbackHttpServer server({{"/date", 200, "[x]\r\nreleasedate=2026-12-01\r\n", 0, 0, 1}});
    ASSERT_TRUE(server.Started());
    // The second call gets no answer; the date the first one read is still there.
    const DriverRun run = RunDriver(Fixtures(L"three"), "-", "date 2",
                                    {{"FIXTURE_TEXT_url_update_ntv", server.Url("/date")}});
    EXPECT_EQ(run.lines, (std::vector<std::string>{"2026-12-01", "2026-12-01"}));
    EXPECT_EQ(server.Requests().size(), 2u);
}

}  // namespace
}  // namespace update
