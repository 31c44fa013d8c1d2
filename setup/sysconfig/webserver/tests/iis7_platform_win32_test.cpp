#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/text_convert.h"
#include "setup/sysconfig/webserver/iis7_platform_win32.h"
#include "tests/support/program_folder_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace setup::sysconfig::webserver {
namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The test program carries the recording build of the helper as its resource "DLL"; its calls
// land in a log file, one line each.
class HelperLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        helperPath = scratch.NarrowPath() + kHelperLibraryName;
        logPath = scratch.NarrowPath() + "calls.log";
        ::SetEnvironmentVariableA("IIS7_HELPER_LOG", logPath.c_str());
    }
    void TearDown() override { ::SetEnvironmentVariableA("IIS7_HELPER_LOG", nullptr); }
    std::vector<std::string> LoggedCalls()
    {
        std::vector<std::string> lines;
        std::istringstream text(ReadText(logPath));
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    testsupport::ScratchFolder scratch;
    Win32Iis7Platform platform;
    std::string helperPath;
    std::string logPath;
};

TEST_F(HelperLibraryTest, TheResourceIsWrittenAsTheLibraryItself)
{
    platform.WriteHelperLibrary(helperPath);
    const std::string shipped =
        ReadText(core::WideToAnsi(testsupport::ProgramFolder()) + "ahadmin_wrapper_recording.dll");
    ASSERT_FALSE(shipped.empty());
    EXPECT_EQ(ReadText(helperPath), shipped);
    platform.WriteHelperLibrary(helperPath);  // an existing file is replaced
    EXPECT_TRUE(platform.RemoveFile(helperPath));
    EXPECT_FALSE(platform.RemoveFile(helperPath));
    EXPECT_THROW(platform.WriteHelperLibrary(scratch.NarrowPath() + "no\\such\\dll"),
                 std::exception);
}

TEST_F(HelperLibraryTest, EveryExportGetsItsArgumentsInOrder)
{
    platform.WriteHelperLibrary(helperPath);
    const std::unique_ptr<IIis7Helper> helper = platform.OpenHelper(helperPath);
    SiteSettings site{"Shop", "x",  "10.0.0.5", "www", "8080", "443", 90, true,
                      false,  true, false,      true,  false,  100,   2};
    FolderSettings folder;
    folder.folder = "app";
    folder.siteNumber = 4;
    folder.physicalPath = "C:\\Web";
    folder.readAccess = true;
    folder.isolation = 3;
    folder.executeLevel = 2;
    folder.defaultDocuments = "index.htm";
    folder.basicAuthentication = true;
    folder.mimeMap = ".log=text/plain";
    folder.applicationPool = "Pool";

    EXPECT_EQ(helper->GetSiteList(), "Default Web Site$NEWLINE$Shop");
    EXPECT_EQ(helper->GetProperty(4, "app", "Path"),
              std::make_pair(true, std::string("value of Path")));
    EXPECT_EQ(helper->SetProperty(4, "app", "Path", "C:\\x"), 1);
    EXPECT_EQ(helper->CreateSite(site), 1);
    EXPECT_EQ(helper->CreateSiteFolder(folder), 1);
    EXPECT_EQ(helper->DeleteSiteFolder(4, "app"), 1);
    EXPECT_EQ(helper->GetAnonUser(), "IUSR_RECORDED");
    EXPECT_EQ(helper->GetSiteIndex("Shop"), 7);
    EXPECT_EQ(helper->DeleteSite(4), 1);
    EXPECT_EQ(helper->ControlSite(4, 2), 1);
    EXPECT_EQ(helper->GetUniqueAccountId(), 3);
    EXPECT_EQ(helper->GetSiteState(4), 2);
    const std::vector<std::string> expected = {
        "GetIISSiteList",
        "GetIISProperty|4|app|Path",
        "SetIISProperty|4|app|Path|C:\\x",
        "CreateIISSite|Shop|x|10.0.0.5|www|8080|443|90|1|0|1|0|1|0|100|2",
        "CreateIISSiteFolder|app|4|C:\\Web|0|1|0|0|0|0|3|2|0|index.htm||0|0|1|.log=text/plain|Pool",
        "DeleteIISSiteFolder|4|app",
        "GetIISAnonUser",
        "GetIISSiteIndex|Shop",
        "DeleteIISSite|4",
        "ControlIISSite|4|2",
        "GetIISUniqueAccountID",
        "GetIISSiteState|4",
    };
    EXPECT_EQ(LoggedCalls(), expected);
    // Released after every call: the file can go at once.
    EXPECT_TRUE(platform.RemoveFile(helperPath));
}

TEST_F(HelperLibraryTest, AMissingLibraryOrExportAnswersNothing)
{
    for (const std::string& path : {helperPath, std::string("kernel32.dll")}) {
        SCOPED_TRACE(path);
        const std::unique_ptr<IIis7Helper> helper = platform.OpenHelper(path);
        EXPECT_FALSE(helper->GetSiteList());
        EXPECT_FALSE(helper->GetSiteIndex("Shop"));
        EXPECT_FALSE(helper->GetSiteState(1));
        EXPECT_FALSE(helper->CreateSite({}));
    }
    EXPECT_TRUE(LoggedCalls().empty());
}

TEST(Win32Iis7Platform, NoWebServerUnderWine)
{
    Win32Iis7Platform platform;
    EXPECT_FALSE(platform.WebServerVersion().has_value());
}

}  // namespace
}  // namespace setup::sysconfig::webserver
