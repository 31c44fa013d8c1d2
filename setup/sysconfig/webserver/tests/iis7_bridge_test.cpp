#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/rtl/exceptions.h"
#include "setup/sysconfig/webserver/site_admin.h"
#include "setup/sysconfig/webserver/tests/fake_iis7_platform.h"
#include "setup/sysconfig/webserver/tests/fake_metabase.h"

namespace setup::sysconfig::webserver {
namespace {

using testing::FakeIis7Platform;
using testing::FakeMetabase;

TEST(Iis7Bridge, VersionSevenStartsAtSeventy)
{
    struct Case
    {
        std::optional<InstalledVersion> version;
        bool available;
    };
    const std::vector<Case> cases = {
        {std::nullopt, false},           {InstalledVersion{6, 0}, false},
        {InstalledVersion{6, 9}, false}, {InstalledVersion{7, 0}, true},
        {InstalledVersion{10, 0}, true},
    };
    for (const Case& c : cases) {
        FakeIis7Platform platform;
        platform.version = c.version;
        Iis7HelperFile helper;
        Iis7Bridge bridge(platform, helper, "C:\\Temp\\qbr1\\");
        EXPECT_EQ(bridge.Available(), c.available);
        EXPECT_EQ(platform.written.size(), c.available ? 1u : 0u);
    }
}

TEST(Iis7Bridge, TheHelperIsWrittenOnceAndDeletedAtTheEnd)
{
    FakeIis7Platform platform;
    platform.version = InstalledVersion{7, 5};
    {
        Iis7HelperFile helper;
        Iis7Bridge bridge(platform, helper, "C:\\Temp\\qbr1");
        EXPECT_TRUE(bridge.Available());
        EXPECT_TRUE(bridge.Available());
        EXPECT_EQ(platform.written,
                  std::vector<std::string>{"C:\\Temp\\qbr1\\ahadmin_wrapper.dll"});
        EXPECT_TRUE(platform.deleted.empty());
    }
    EXPECT_EQ(platform.deleted, std::vector<std::string>{"C:\\Temp\\qbr1\\ahadmin_wrapper.dll"});
}

TEST(Iis7Bridge, AMissingResourceRaisesToTheCaller)
{
    FakeIis7Platform platform;
    platform.version = InstalledVersion{8, 5};
    platform.resourcePresent = false;
    FakeMetabase metabase;
    Iis7HelperFile helper;
    Iis7Bridge bridge(platform, helper, "C:\\Temp\\");
    SiteAdmin admin(metabase, bridge, "localhost");
    EXPECT_THROW(admin.GetSiteList(), rtl::Exception);
    EXPECT_FALSE(helper.Extracted());
}

class ForwardingTest : public ::testing::Test
{
protected:
    ForwardingTest() : bridge(platform, helper, "C:\\Temp\\"), admin(metabase, bridge, "otherhost")
    {
        platform.version = InstalledVersion{7, 0};
    }
    FakeIis7Platform platform;
    FakeMetabase metabase;  // empty: every call must go to the helper
    Iis7HelperFile helper;
    Iis7Bridge bridge;
    SiteAdmin admin;
};

TEST_F(ForwardingTest, EveryFunctionGoesToItsExport)
{
    SiteSettings site;
    site.description = "Shop";
    site.siteNumber = "x";
    FolderSettings folder;
    folder.folder = "app";
    folder.isolation = 3;  // passed as given, without the version-6 mapping
    std::string value;
    EXPECT_EQ(admin.CreateSite(site), 1);
    EXPECT_EQ(admin.CreateVirtualFolder(folder), 1);
    EXPECT_EQ(admin.DeleteVirtualFolder(2, "app"), 1);
    EXPECT_EQ(admin.DeleteSite(2), 1);
    EXPECT_EQ(admin.ControlSite(2, 2), 1);
    EXPECT_EQ(admin.GetSiteState(2), 2);
    EXPECT_EQ(admin.GetSiteList(), "Default Web Site$NEWLINE$Shop");
    EXPECT_EQ(admin.GetSiteIndex("Shop"), 5);
    EXPECT_TRUE(admin.GetProperty(2, true, "app", value, "Path"));
    EXPECT_EQ(value, "v7 Path");
    EXPECT_TRUE(admin.SetProperty(2, false, "app", "C:\\x", "Path"));
    EXPECT_EQ(admin.GetAnonymousUser(), "IUSR");
    EXPECT_EQ(admin.GetFreeSiteNumber(), 9);
    const std::vector<std::string> expected = {
        "CreateIISSite Shop|x",
        "CreateIISSiteFolder app|3",
        "DeleteIISSiteFolder 2|app",
        "DeleteIISSite 2",
        "ControlIISSite 2|2",
        "GetIISSiteState 2",
        "GetIISSiteList",
        "GetIISSiteIndex Shop",
        "GetIISProperty 2|app|Path",
        "SetIISProperty 2|app|Path|C:\\x",
        "GetIISAnonUser",
        "GetIISUniqueAccountID",
    };
    EXPECT_EQ(platform.calls, expected);
    for (const std::string& path : platform.opened)
        EXPECT_EQ(path, "C:\\Temp\\ahadmin_wrapper.dll");
}

TEST_F(ForwardingTest, AMissingExportGivesItsDefault)
{
    platform.missingExports = {"GetIISSiteList", "GetIISProperty",        "SetIISProperty",
                               "CreateIISSite",  "CreateIISSiteFolder",   "DeleteIISSiteFolder",
                               "GetIISAnonUser", "GetIISSiteIndex",       "DeleteIISSite",
                               "ControlIISSite", "GetIISUniqueAccountID", "GetIISSiteState"};
    std::string value;
    EXPECT_EQ(admin.CreateSite({}), 0);
    EXPECT_EQ(admin.CreateVirtualFolder({}), 0);
    EXPECT_EQ(admin.DeleteVirtualFolder(1, ""), 0);
    EXPECT_EQ(admin.DeleteSite(1), 0);
    EXPECT_EQ(admin.ControlSite(1, 0), 0);
    EXPECT_EQ(admin.GetSiteState(1), -1);
    EXPECT_EQ(admin.GetSiteList(), "");
    EXPECT_EQ(admin.GetSiteIndex("Shop"), 0);
    EXPECT_FALSE(admin.GetProperty(1, true, "", value, "Path"));
    EXPECT_EQ(value, "!ERROR!");
    EXPECT_FALSE(admin.SetProperty(1, true, "", "x", "Path"));
    EXPECT_EQ(admin.GetAnonymousUser(), "");
    EXPECT_EQ(admin.GetFreeSiteNumber(), -1);
    EXPECT_TRUE(platform.calls.empty());
}

}  // namespace
}  // namespace setup::sysconfig::webserver
