#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/testing/interpreter_test_support.h"
#include "setup/engine/testing/system_info_fakes.h"
#include "setup/sysconfig/webserver/statements_webserver.h"
#include "setup/sysconfig/webserver/tests/fake_iis7_platform.h"
#include "setup/sysconfig/webserver/tests/fake_metabase.h"

namespace setup::sysconfig::webserver {
namespace {

using testing::FakeIis7Platform;
using testing::FakeMetabase;
using testing::FakeNode;

TEST(AspNetVersionFolder, NamesTheFrameworkFolder)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"0", ""}, {"1", "v1.1.4322"}, {"2", "v2.0.50727"}, {"v4.0.30319", "v4.0.30319"}};
    for (const auto& [code, folder] : cases)
        EXPECT_EQ(AspNetVersionFolder(code), folder) << code;
}

// The fakes outlive the run's state, which deletes the helper through them at its end.
struct WebServerFakes
{
    FakeMetabase metabase;
    FakeIis7Platform iis7;
};

class WebServerStatementTest : protected WebServerFakes, public engine::testing::InterpreterTest
{
protected:
    void SetUp() override
    {
        InterpreterTest::SetUp();
        engine.process.windowsDir = "C:\\Windows\\";
        metabase.AddSite(service, 1, "Default Web Site");
        metabase.AddSite(service, 2, "Shop");
        WebServerStatementServices services;
        services.metabase = &metabase;
        services.iis7 = &iis7;
        services.wow64 = &wow64;
        services.runProgram = [this](const std::string& program, const std::string& parameters,
                                     const std::string& folder) {
            runs.push_back(program + " " + parameters + " in " + folder);
            return 0;
        };
        RegisterWebServerStatements(handlers, services);
    }
    std::string Text(FakeNode& node, const std::string& property)
    {
        return MetabaseValueText(node.properties.at(property));
    }

    FakeNode& service = metabase.AddServer("localhost");
    engine::testing::FakeWow64Switch wow64;
    std::vector<std::string> runs;
};

TEST_F(WebServerStatementTest, CreateSiteWithANameForANumberTakesTheFirstFree)
{
    Run(
        {"Create IIS Site|$TITLE$ Site|next|10.0.0.5|www|8080|443|90|TRUE|FALSE|FALSE|FALSE|TRUE|"
         "FALSE|100|2"});
    FakeNode* site = service.Child("3");
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(Text(*site, "ServerComment"), "Test Product Site");
    EXPECT_EQ(Text(*site, "ServerBindings"), "10.0.0.5:8080:www");
    EXPECT_EQ(Text(*site, "SecureBindings"), "10.0.0.5:443:www");
    EXPECT_EQ(Text(*site, "ConnectionTimeout"), "90");
    EXPECT_EQ(Text(*site, "MaxConnections"), "-1");
    EXPECT_EQ(Text(*site, "ServerSize"), "2");
    EXPECT_EQ(Text(*site, "LogType"), "0");
}

TEST_F(WebServerStatementTest, CreateVirtualFolderWithPoolIsolationAndAspNet)
{
    // The composite parameters come through variables: a script line separates them with "|".
    for (const char* text : {"ISOLATION", "3|ShopPool", "EXECUTE", "2|2", "NOTOOL", "2|1"})
        CommandLineOverrides.Add(text);
    Run(
        {"Create Virtual Folder|shop|C:\\Web\\Shop|FALSE|TRUE|FALSE|FALSE|TRUE|FALSE|$ISOLATION$|"
         "$EXECUTE$|TRUE|default.aspx||TRUE|FALSE|FALSE|.log=text/plain|1"});
    FakeNode* folder = service.Child("1")->Child("Root/shop");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(Text(*folder, "Path"), "C:\\Web\\Shop");
    EXPECT_EQ(Text(*folder, "AppPoolId"), "ShopPool");
    EXPECT_EQ(Text(*folder, "AppFriendlyName"), "ShopPool");
    EXPECT_EQ(folder->calls, std::vector<std::string>{"AppCreate2 1"});
    EXPECT_EQ(Text(*folder, "AccessScript"), "True");
    EXPECT_EQ(Text(*folder, "AccessExecute"), "True");
    EXPECT_EQ(Text(*folder, "DefaultDoc"), "default.aspx");
    ASSERT_EQ(folder->mimeMap.size(), 1u);
    EXPECT_NE(service.Child("AppPools")->Child("ShopPool"), nullptr);
    const std::string tool = "C:\\Windows\\Microsoft.NET\\Framework\\v2.0.50727";
    EXPECT_EQ(runs, std::vector<std::string>{
                        tool + "\\aspnet_regiis.exe -s \"w3svc/1/Root/shop\" in " + tool});
    EXPECT_EQ(wow64.disabled, 0);  // redirection back on afterwards

    // No ASP.NET version, or a folder that could not be made: no registration tool.
    runs.clear();
    Run({"Create Virtual Folder|||FALSE|TRUE|FALSE|FALSE|TRUE|FALSE|0|0|TRUE|||TRUE|FALSE|FALSE||1",
         "Create Virtual Folder|x|C:\\x|FALSE|TRUE|FALSE|FALSE|TRUE|FALSE|0|$NOTOOL$|TRUE|||TRUE|"
         "FALSE|FALSE||8"});
    EXPECT_TRUE(runs.empty());
}

TEST_F(WebServerStatementTest, QueriesFillTheirVariables)
{
    Run({"Get IIS Site List|$SITES$", "Get IIS Site Index|Shop|$INDEX$",
         "Get IIS Site Index|Nobody|unknown", "Control IIS Site|2|2",
         "Get IIS Property|TRUE||2||Status|STATE", "Get IIS Property|FALSE||2||Nothing|missing",
         "Set IIS Property|FALSE||2||Path|C:\\Shop", "Get IIS Property|FALSE||2||Path|path",
         "IIS Anonymous User|$ANON$"});
    EXPECT_EQ(GetVariable("SITES"), "Default Web Site$NEWLINE$Shop");
    EXPECT_EQ(GetVariable("INDEX"), "2");
    EXPECT_EQ(GetVariable("UNKNOWN"), "0");
    EXPECT_EQ(service.Child("2")->calls, (std::vector<std::string>{"Start", "Pause"}));
    EXPECT_EQ(GetVariable("STATE"), "6");
    EXPECT_EQ(GetVariable("MISSING"), "!ERROR!");
    EXPECT_EQ(GetVariable("PATH"), "C:\\Shop");
    EXPECT_EQ(GetVariable("ANON"), "IUSR_localhost");
}

TEST_F(WebServerStatementTest, DeleteStatementsAndTheHostOfEachStatement)
{
    FakeNode& other = metabase.AddServer("web2");
    metabase.AddSite(other, 1, "Remote");
    Run({"Delete Virtual Folder|2|", "Get IIS Site List|LOCAL", "Set Variable|IISHOST|web2",
         "Get IIS Site List|REMOTE", "Delete IIS Site|1", "Get IIS Site List|AFTER"});
    EXPECT_EQ(service.Child("2")->Child("Root"), nullptr);
    EXPECT_EQ(GetVariable("LOCAL"), "Default Web Site$NEWLINE$Shop");
    EXPECT_EQ(GetVariable("REMOTE"), "Remote");
    EXPECT_EQ(GetVariable("AFTER"), "");
    EXPECT_NE(service.Child("1"), nullptr);  // the other server's site went
}

TEST_F(WebServerStatementTest, ANumberThatIsNoIntegerEndsTheRun)
{
    Run({"Control IIS Site|2|start", "Record|after"});
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(engine.ExitCode, engine::kRuntimeFailureExitCode);
}

TEST_F(WebServerStatementTest, VersionSevenWritesTheHelperOnceForTheRun)
{
    iis7.version = InstalledVersion{7, 5};
    Run({"Get IIS Site List|SITES", "Get IIS Site Index|Shop|INDEX",
         "Get IIS Property|TRUE||4|app|Path|VALUE"});
    EXPECT_EQ(iis7.written, std::vector<std::string>{"C:\\Temp\\qbr1\\ahadmin_wrapper.dll"});
    EXPECT_TRUE(iis7.deleted.empty());  // until the run's state goes
    EXPECT_EQ(GetVariable("INDEX"), "5");
    EXPECT_EQ(GetVariable("VALUE"), "v7 Path");
    EXPECT_EQ(iis7.calls, (std::vector<std::string>{"GetIISSiteList", "GetIISSiteIndex Shop",
                                                    "GetIISProperty 4|app|Path"}));
}

}  // namespace
}  // namespace setup::sysconfig::webserver
