#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/sysconfig/webserver/site_admin.h"
#include "setup/sysconfig/webserver/tests/fake_iis7_platform.h"
#include "setup/sysconfig/webserver/tests/fake_metabase.h"

namespace setup::sysconfig::webserver {
namespace {

using testing::FakeIis7Platform;
using testing::FakeMetabase;
using testing::FakeNode;

// A server with the default site 1 and site 2; no version-7 server installed.
class SiteAdminTest : public ::testing::Test
{
protected:
    SiteAdminTest()
        : service(metabase.AddServer("localhost")),
          bridge(iis7, helperFile, "C:\\Temp\\qbr1\\"),
          admin(metabase, bridge, "localhost")
    {
        metabase.AddSite(service, 1, "Default Web Site");
        metabase.AddSite(service, 2, "Shop");
    }
    FakeNode& SiteNode(int number) { return *service.Child(std::to_string(number)); }
    std::string Text(FakeNode& node, const std::string& property)
    {
        return MetabaseValueText(node.properties.at(property));
    }

    FakeMetabase metabase;
    FakeNode& service;
    FakeIis7Platform iis7;
    Iis7HelperFile helperFile;
    Iis7Bridge bridge;
    SiteAdmin admin;
};

SiteSettings Settings(const std::string& number)
{
    SiteSettings site;
    site.description = "Web Shop";
    site.siteNumber = number;
    site.ipAddress = "10.0.0.5";
    site.hostHeader = "shop.example";
    site.port = "8080";
    site.securePort = "8443";
    site.connectionTimeout = 120;
    site.keepAlive = true;
    site.logging = true;
    site.maxConnections = 50;
    site.serverSize = 1;
    return site;
}

TEST_F(SiteAdminTest, CreateSiteNumbersAndBindings)
{
    struct Case
    {
        const char* number;
        int expectedSite;
        std::size_t childCount;  // the pool container and the sites, after the call
    };
    const Case cases[] = {
        {"7", 7, 4},    // a new number
        {"web", 3, 5},  // not a number: the first free one
        {"1", 1, 5},    // an existing site is updated in place
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        ASSERT_EQ(admin.CreateSite(Settings(c.number)), 1);
        EXPECT_EQ(service.children.size(), c.childCount);
        FakeNode& site = SiteNode(c.expectedSite);
        EXPECT_EQ(Text(site, "ServerComment"), "Web Shop");
        EXPECT_EQ(Text(site, "ServerBindings"), "10.0.0.5:8080:shop.example");
        EXPECT_EQ(Text(site, "SecureBindings"), "10.0.0.5:8443:shop.example");
        EXPECT_EQ(Text(site, "ConnectionTimeout"), "120");
        EXPECT_EQ(Text(site, "AllowKeepAlive"), "True");
        EXPECT_EQ(Text(site, "LogType"), "1");
        EXPECT_EQ(Text(site, "DontLog"), "False");
        EXPECT_EQ(Text(site, "MaxConnections"), "50");
        EXPECT_EQ(site.setInfoCount, 1);
    }
}

TEST_F(SiteAdminTest, CreateSiteOptionsAndExtensions)
{
    SiteSettings settings = Settings("4");
    settings.logging = false;
    settings.unlimitedConnections = true;
    settings.enableAsp = true;
    settings.enableExe = true;
    metabase.failures.insert("Call EnableWebServiceExtension");  // an unknown extension is ignored
    ASSERT_EQ(admin.CreateSite(settings), 1);
    FakeNode& site = SiteNode(4);
    EXPECT_EQ(Text(site, "LogType"), "0");
    EXPECT_EQ(site.properties.count("DontLog"), 0u);
    EXPECT_EQ(Text(site, "MaxConnections"), "-1");
    EXPECT_EQ(service.calls, std::vector<std::string>{"EnableExtensionFile *.exe"});
    EXPECT_EQ(service.setInfoCount, 1);

    metabase.failures.insert("SetInfo 5");
    EXPECT_EQ(admin.CreateSite(Settings("5")), 0);
}

TEST_F(SiteAdminTest, ControlSiteStartsBeforePauseAndContinue)
{
    struct Case
    {
        int code;
        std::vector<std::string> calls;
        int status;
    };
    const std::vector<Case> cases = {
        {0, {"Start"}, 2},          {1, {"Stop"}, 4},
        {2, {"Start", "Pause"}, 6}, {3, {"Start", "Continue"}, 2},
        {7, {"Start"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        FakeNode& site = SiteNode(2);
        site.calls.clear();
        site.properties["Status"] = std::int32_t{4};
        EXPECT_EQ(admin.ControlSite(2, c.code), 1);
        EXPECT_EQ(site.calls, c.calls);
        EXPECT_EQ(admin.GetSiteState(2), c.status);
    }
    EXPECT_EQ(admin.ControlSite(9, 0), 0);
    EXPECT_EQ(admin.GetSiteState(9), -1);
}

FolderSettings Folder(const std::string& name)
{
    FolderSettings folder;
    folder.folder = name;
    folder.siteNumber = 1;
    folder.physicalPath = "C:\\Web\\App";
    folder.readAccess = true;
    folder.logVisits = true;
    folder.executeLevel = 1;
    folder.enableDefaultDocument = true;
    folder.defaultDocuments = "index.htm";
    folder.anonymousAccess = true;
    return folder;
}

TEST_F(SiteAdminTest, VirtualFolderOfTheRootAndBelowIt)
{
    ASSERT_EQ(admin.CreateVirtualFolder(Folder("")), 1);
    FakeNode& site = SiteNode(1);
    ASSERT_EQ(site.children.size(), 1u);  // the root itself
    FakeNode& root = *site.Child("Root");
    EXPECT_EQ(Text(root, "Path"), "C:\\Web\\App");
    EXPECT_EQ(Text(root, "AccessRead"), "True");
    EXPECT_EQ(Text(root, "DontLog"), "False");
    EXPECT_EQ(Text(root, "AccessScript"), "True");
    EXPECT_EQ(Text(root, "AccessExecute"), "False");
    EXPECT_EQ(Text(root, "EnableDocFooter"), "False");
    EXPECT_EQ(Text(root, "DefaultDoc"), "index.htm");
    EXPECT_TRUE(root.calls.empty());  // isolation 0: no application

    FolderSettings app = Folder("shop/app");
    app.executeLevel = 2;
    app.documentFooter = "C:\\Web\\footer.htm";
    ASSERT_EQ(admin.CreateVirtualFolder(app), 1);
    FakeNode* created = site.Child("Root/shop/app");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(Text(*created, "AccessExecute"), "True");
    EXPECT_EQ(Text(*created, "EnableDocFooter"), "True");
    EXPECT_EQ(Text(*created, "DefaultDocFooter"), "C:\\Web\\footer.htm");

    EXPECT_EQ(admin.DeleteVirtualFolder(1, "shop/app"), 1);
    EXPECT_EQ(site.Child("Root/shop/app"), nullptr);
    EXPECT_EQ(admin.DeleteVirtualFolder(1, "shop/app"), 0);
    EXPECT_EQ(admin.CreateVirtualFolder(Folder("x")), 1);
    FolderSettings missingSite = Folder("x");
    missingSite.siteNumber = 8;
    EXPECT_EQ(admin.CreateVirtualFolder(missingSite), 0);
}

TEST_F(SiteAdminTest, ApplicationIsolationAndPools)
{
    struct Case
    {
        int isolation;
        const char* pool;
        bool poolsExist;
        std::vector<std::string> calls;
        const char* poolId;  // null: not set
    };
    const std::vector<Case> cases = {
        {0, "", true, {}, nullptr},
        {1, "", true, {"AppCreate2 0"}, nullptr},
        {2, "Pool A", true, {"AppCreate2 2"}, "Pool A"},
        {3, "Pool B", true, {"AppCreate2 1"}, "Pool B"},
        {3, "Pool C", false, {"AppCreate2 1"}, nullptr},  // no pools: the name is dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.isolation);
        if (!c.poolsExist)
            service.children.erase(service.children.begin());  // "AppPools" was added first
        FolderSettings folder = Folder("app" + std::to_string(c.isolation) + c.pool);
        folder.isolation = c.isolation;
        folder.applicationPool = c.pool;
        ASSERT_EQ(admin.CreateVirtualFolder(folder), 1);
        FakeNode& node = *SiteNode(1).Child("Root/" + folder.folder);
        EXPECT_EQ(node.calls, c.calls);
        if (c.poolId) {
            EXPECT_EQ(Text(node, "AppPoolId"), c.poolId);
            FakeNode* pool = service.Child("AppPools")->Child(c.pool);
            ASSERT_NE(pool, nullptr);
            EXPECT_EQ(pool->setInfoCount, 1);
        } else {
            EXPECT_EQ(node.properties.count("AppPoolId"), 0u);
        }
        if (c.isolation > 0) {
            EXPECT_EQ(Text(node, "AppFriendlyName"), c.pool);
        }
    }
}

TEST_F(SiteAdminTest, MimeEntriesAreAppendedOneByOne)
{
    SiteNode(1).Child("Root")->mimeMap = {{".htm", "text/html"}};
    FolderSettings folder = Folder("");
    folder.mimeMap = ".log=text/plain,.dat";
    ASSERT_EQ(admin.CreateVirtualFolder(folder), 1);
    FakeNode& root = *SiteNode(1).Child("Root");
    ASSERT_EQ(root.mimeMap.size(), 3u);
    EXPECT_EQ(root.mimeMap[1].extension, ".log");
    EXPECT_EQ(root.mimeMap[1].mimeType, "text/plain");
    EXPECT_EQ(root.mimeMap[2].extension, ".dat");
    EXPECT_EQ(root.mimeMap[2].mimeType, "");
    EXPECT_EQ(root.setInfoCount, 3);  // the folder, then once per entry
}

TEST_F(SiteAdminTest, SiteListAndIndex)
{
    service.Add("IIsFilters", "Filters");
    metabase.AddSite(service, 5, "Intranet");
    EXPECT_EQ(admin.GetSiteList(), "Default Web Site$NEWLINE$Shop$NEWLINE$Intranet");
    EXPECT_EQ(admin.GetSiteIndex("Intranet"), 5);
    EXPECT_EQ(admin.GetSiteIndex("Unknown"), 0);

    metabase.failures.insert("Enumerate after 3");  // the names read before stay
    EXPECT_EQ(admin.GetSiteList(), "Default Web Site$NEWLINE$Shop");

    SiteAdmin elsewhere(metabase, bridge, "otherhost");  // no server there
    EXPECT_EQ(elsewhere.GetSiteList(), "");
    EXPECT_EQ(elsewhere.GetSiteIndex("Shop"), 0);
    EXPECT_EQ(elsewhere.GetFreeSiteNumber(), -1);
    EXPECT_EQ(elsewhere.GetAnonymousUser(), "");
}

TEST_F(SiteAdminTest, PropertiesOfTheSiteOrItsFolder)
{
    ASSERT_TRUE(admin.SetProperty(2, true, "ignored", "80", "ServerSize"));
    ASSERT_TRUE(admin.SetProperty(2, false, "", "C:\\Shop", "Path"));
    std::string value;
    EXPECT_TRUE(admin.GetProperty(2, true, "", value, "ServerSize"));
    EXPECT_EQ(value, "80");
    EXPECT_TRUE(admin.GetProperty(2, false, "", value, "Path"));
    EXPECT_EQ(value, "C:\\Shop");
    EXPECT_TRUE(admin.GetProperty(2, true, "", value, "Status"));
    EXPECT_EQ(value, "4");
    EXPECT_EQ(SiteNode(2).setInfoCount, 1);

    EXPECT_FALSE(admin.GetProperty(2, false, "", value, "NoSuchProperty"));
    EXPECT_EQ(value, "!ERROR!");
    EXPECT_FALSE(admin.GetProperty(2, false, "missing", value, "Path"));
    EXPECT_EQ(value, "!ERROR!");
    EXPECT_FALSE(admin.SetProperty(2, false, "missing", "x", "Path"));
}

TEST_F(SiteAdminTest, AnonymousUserFromAScratchSiteThatAlwaysGoesAgain)
{
    EXPECT_EQ(admin.GetAnonymousUser(), "IUSR_localhost");
    EXPECT_EQ(service.children.size(), 3u);  // pools and the two sites

    metabase.failures.insert("Get AnonymousUserName");
    EXPECT_EQ(admin.GetAnonymousUser(), "");
    EXPECT_EQ(service.Child("3"), nullptr);

    metabase.failures.insert("SetInfo 3");
    EXPECT_EQ(admin.GetAnonymousUser(), "");
    EXPECT_EQ(service.Child("3"), nullptr);
}

TEST_F(SiteAdminTest, FreeSiteNumberFillsTheFirstGap)
{
    metabase.AddSite(service, 4, "Four");
    EXPECT_EQ(admin.GetFreeSiteNumber(), 3);
    EXPECT_EQ(admin.DeleteSite(1), 1);
    EXPECT_EQ(admin.GetFreeSiteNumber(), 1);
    EXPECT_EQ(admin.DeleteSite(1), 0);
}

}  // namespace
}  // namespace setup::sysconfig::webserver
