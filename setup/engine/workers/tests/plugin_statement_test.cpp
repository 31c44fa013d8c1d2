// Plug-in statements with the system faked: where the library is looked for, the sources a patch
// or a user supplies, the missing-library box and the variables the plug-in gives back.
#include "setup/engine/workers/plugin_statement.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "setup/engine/script/variables.h"
#include "setup/engine/testing/system_info_fakes.h"
#include "setup/engine/testing/variable_names.h"
#include "tests/support/compiled_script_builder.h"

namespace setup::engine {
namespace {

struct FakePluginHost : IPluginStatementHost
{
    std::set<std::string> files;
    std::vector<std::string> events;
    std::deque<std::optional<std::string>> browseAnswers;
    std::string uninstallString;
    std::string result = "A,1,PROBE,seen";

    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    void AcquireMediaBlock(const std::string& media) override
    {
        events.push_back("acquire " + media);
    }
    std::string ReadUninstallString(const std::string& title, bool machineHive) override
    {
        events.push_back("uninstall " + title + (machineHive ? " machine" : " user"));
        return uninstallString;
    }
    std::optional<std::string> BrowseForFolder(const std::string& title) override
    {
        events.push_back("browse " + title);
        if (browseAnswers.empty())
            return std::nullopt;
        auto answer = browseAnswers.front();
        browseAnswers.pop_front();
        return answer;
    }
    void ShowPluginError(const std::string& text) override { events.push_back("error " + text); }
    std::string RunPlugin(const std::string& library, const std::string& variables,
                          const std::string& parameters) override
    {
        events.push_back("run " + library + " [" + parameters + "]");
        return result;
    }
};

class PluginStatementTest : public ::testing::Test, protected testing::VariableNames
{
protected:
    // Also run again by a test for each of its cases.
    void SetUp() override
    {
        ClearVariables();
        SetVariable("A", "1", "Test");
        SetVariable("TITLE", "Wipestation", "Test");
        engine.process.supportDir = "C:\\Temp\\qbr1\\";
        engine.DataDir = engine.MediaDir = "C:\\Setups\\data\\";
        engine.SourceMarkerName = "{PRODUCT}";
    }
    ScriptVariables& RunVariables() override { return engine.Variables; }

    void Run(const std::string& media, int setupMode = 1)
    {
        testsupport::ScriptStatement statement;
        statement.command = "Call DLL Function";
        statement.params = {"echo", "plugins\\probe.dll"};
        statement.media = media;
        testsupport::ScriptProject project;
        project.pluginCommands = {"Call DLL Function"};
        project.setupMode = std::to_string(setupMode);
        script = ReadSetupScript(testsupport::BuildCompiledScript({statement}, project));
        ExecutePluginStatement(script, engine, 0, host, system);
    }

    SetupScript script;
    EngineState engine;
    FakePluginHost host;
    std::atomic<bool>& SilentMode = engine.Variables.SilentMode;
    testing::FakeSystemFacts system;
};

TEST_F(PluginStatementTest, TheLibraryIsLookedForWhereTheStatementsMediaSays)
{
    struct Case
    {
        const char* name;
        std::string media;
        int setupMode;
        std::string library;
        std::vector<std::string> before;  // events before the run
    };
    const Case cases[] = {
        {"support folder", "", 1, "C:\\Temp\\qbr1\\probe.dll", {}},
        {"offline media", "OFFLINE\\", 1, "C:\\Setups\\data\\OFFLINE\\plugins\\probe.dll", {}},
        {"web media",
         "WEB1\\",
         2,
         "C:\\Setups\\data\\WEB1\\plugins\\probe.dll",
         {"acquire WEB1\\"}},
    };
    for (const Case& c : cases) {
        host.events.clear();
        host.files = {c.library};
        SetVariable("GONE", "x", "Test");
        Run(c.media, c.setupMode);
        std::vector<std::string> expected = c.before;
        expected.push_back("run " + c.library + " [echo]");
        EXPECT_EQ(host.events, expected) << c.name;
        // The store holds exactly what the plug-in gave back.
        EXPECT_EQ(GetVariablesAsCommaText(), "A,1,PROBE,seen") << c.name;
        EXPECT_FALSE(VariableExists("GONE")) << c.name;
    }
}

TEST_F(PluginStatementTest, AMissingLibraryIsReportedAndSkipped)
{
    Run("");
    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0], std::string("error ") + kPluginMissingMessage);
    EXPECT_EQ(GetVariable("A"), "1");  // variables untouched
}

TEST_F(PluginStatementTest, AnEmptyAnswerIsAGeneralFailure)
{
    host.files = {"C:\\Temp\\qbr1\\probe.dll"};
    host.result.clear();
    try {
        Run("");
        FAIL() << "no failure raised";
    } catch (const std::exception& failure) {
        EXPECT_STREQ(failure.what(), "General setup failure");
    }
    EXPECT_EQ(GetVariable("A"), "1");
}

TEST_F(PluginStatementTest, APatchTakesThePluginFromTheInstalledProductOrTheGivenSources)
{
    struct Case
    {
        const char* name;
        std::string sourceOverride;
        bool markerInDataDir;
        std::string library;
    };
    const Case cases[] = {
        {"installed product", "", false, "C:\\Program Files\\Wipe\\OFFLINE\\plugins\\probe.dll"},
        {"/p= folder", "d:\\sources", false, "d:\\sources\\OFFLINE\\plugins\\probe.dll"},
        {"marked data folder", "d:\\sources", true,
         "C:\\Setups\\data\\OFFLINE\\plugins\\probe.dll"},
    };
    for (const Case& c : cases) {
        SetUp();
        host.events.clear();
        host.uninstallString = "\"C:\\Program Files\\Wipe\\uninstall.exe\" /x";
        engine.SourceOverride = c.sourceOverride;
        engine.MediaDir = "C:\\Old\\";
        host.files = {c.library};
        if (c.markerInDataDir)
            host.files.insert("C:\\Setups\\data\\{PRODUCT}");
        // The library is not where the patch's own media would have it.
        Run("OFFLINE\\", 3);
        EXPECT_EQ(host.events.back(), "run " + c.library + " [echo]") << c.name;
        EXPECT_EQ(engine.MediaDir + "OFFLINE\\plugins\\probe.dll", c.library) << c.name;
        EXPECT_EQ(engine.DataDir, engine.MediaDir) << c.name;
    }
}

TEST_F(PluginStatementTest, MissingSourcesAreAskedForUntilAMarkedFolderIsGiven)
{
    host.files = {"E:\\Copy\\data\\{PRODUCT}", "E:\\Copy\\data\\OFFLINE\\plugins\\probe.dll"};
    host.browseAnswers = {std::string("E:\\Elsewhere"), std::string("E:\\Copy")};
    Run("OFFLINE\\");
    EXPECT_EQ(engine.DataDir, "E:\\Copy\\data\\");
    EXPECT_EQ(host.events.back(), "run E:\\Copy\\data\\OFFLINE\\plugins\\probe.dll [echo]");
    EXPECT_EQ(host.events.front(),
              "browse Please locate your original setup sources to continue operation");

    // Silent runs and a dismissed folder dialog give up.
    for (const bool silent : {true, false}) {
        SilentMode = silent;
        host.files.clear();
        host.browseAnswers.clear();
        EXPECT_THROW(
            {
                try {
                    Run("OFFLINE\\");
                } catch (const std::exception& failure) {
                    EXPECT_STREQ(failure.what(),
                                 "Original setup sources required to complete "
                                 "operation, sources not found");
                    throw;
                }
            },
            std::exception);
    }
}

}  // namespace
}  // namespace setup::engine
