#include <gtest/gtest.h>

#include <vector>

#include "setup/engine/script/variables.h"
#include "setup/sysconfig/installer/command_line_plan.h"
#include "setup/sysconfig/installer/handoff_file.h"
#include "setup/sysconfig/installer/install_outcome.h"
#include "setup/sysconfig/installer/standard_properties.h"
#include "setup/sysconfig/installer/thread_progress.h"

namespace setup::sysconfig::installer {
namespace {

CommandLineInputs BaseInputs()
{
    CommandLineInputs in;
    in.allUsers = "FALSE";
    in.installLocation = "C:\\Program Files\\Probe";
    in.dataFolder = "C:\\SETUP~1\\data\\";
    in.patchSourceFolder = "C:\\SETUP~1\\patch\\";
    in.sourceList = "C:\\SETUP~1\\data\\;C:\\SETUP~1\\";
    in.mediaPackagePath = "\\SETUP~1\\";
    return in;
}

TEST(BuildCommandLine, EveryModeWithItsExactBlanksAndQuotes)
{
    const std::string arp =
        "ARPSYSTEMCOMPONENT=1 ARPNOREMOVE=1 ARPNOMODIFY=1 ARPNOREPAIR=1 "
        "ARPINSTALLLOCATION=\"C:\\Program Files\\Probe\" ";
    const std::string sources =
        "SRCDIR=C:\\SETUP~1\\data\\ SOURCELIST=C:\\SETUP~1\\data\\;"
        "C:\\SETUP~1\\ MEDIAPACKAGEPATH=\\SETUP~1\\ REBOOT=R ";
    struct Case
    {
        const char* name;
        void (*adjust)(CommandLineInputs&);
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"fresh install", [](CommandLineInputs&) {}, "ADDLOCAL=ALL ALLUSERS=\"\" " + arp + sources},
        {"fresh advertise", [](CommandLineInputs& in) { in.advertiseFlag = true; },
         "ADVERTISE=ALL ALLUSERS=\"\" " + arp + sources},
        {"repair", [](CommandLineInputs& in) { in.installed = true; },
         "REINSTALL=ALL REINSTALLMODE=vomus ALLUSERS=\"\" " + arp + sources},
        {"install after an advertisement",
         [](CommandLineInputs& in) {
             in.installed = true;
             in.advertisedBefore = true;
         },
         "ADDLOCAL=ALL ADVERTISE=\"\" ALLUSERS=\"\" " + arp + sources},
        {"advertise an installed product is a repair",
         [](CommandLineInputs& in) {
             in.installed = true;
             in.advertisedBefore = true;
             in.advertiseFlag = true;
         },
         "REINSTALL=ALL REINSTALLMODE=vomus ALLUSERS=\"\" " + arp + sources},
        {"remove", [](CommandLineInputs& in) { in.installFlag = false; },
         "REMOVE=ALL ALLUSERS=\"\" ALLUSERS=\"\" REMOVE=ALL " + sources},
        {"remove for all users",
         [](CommandLineInputs& in) {
             in.installFlag = false;
             in.allUsers = "TRUE";
         },
         "REMOVE=ALL ALLUSERS=1 ALLUSERS=1 REMOVE=ALL " + sources},
        {"patch",
         [](CommandLineInputs& in) {
             in.patchMode = true;
             in.installFlag = false;
         },
         "ADDLOCAL=ALL ALLUSERS=\"\" SRCDIR=C:\\SETUP~1\\patch\\ SRCDIREX=C:\\SETUP~1\\patch\\ "},
        {"patch from a folder with a blank",
         [](CommandLineInputs& in) {
             in.patchMode = true;
             in.quoteSources = true;
             in.patchSourceFolder = "C:\\My Setup\\";
         },
         "ADDLOCAL=ALL ALLUSERS=\"\" SRCDIR=\"C:\\My Setup\\\" SRCDIREX=\"C:\\My Setup\\\" "},
        {"all users only for TRUE exactly", [](CommandLineInputs& in) { in.allUsers = "true"; },
         "ADDLOCAL=ALL ALLUSERS=\"\" " + arp + sources},
        {"rollback and restart manager off",
         [](CommandLineInputs& in) {
             in.allUsers = "TRUE";
             in.disableRollback = "TRUE";
             in.disableRestartManager = "TRUE";
         },
         "ADDLOCAL=ALL ALLUSERS=1 DISABLEROLLBACK=1 MSIRESTARTMANAGERCONTROL=Disable " + arp +
             sources},
        {"quoted sources",
         [](CommandLineInputs& in) {
             in.quoteSources = true;
             in.dataFolder = "C:\\My Setup\\data\\";
             in.sourceList = "\"C:\\My Setup\\data\\;C:\\My Setup\\\"";
             in.mediaPackagePath = "\\My Setup\\";
         },
         "ADDLOCAL=ALL ALLUSERS=\"\" " + arp +
             "SRCDIR=\"C:\\My Setup\\data\\\" SOURCELIST=\"C:\\My Setup\\data\\;C:\\My Setup\\\" "
             "MEDIAPACKAGEPATH=\"\\My Setup\\\" REBOOT=R "},
    };
    for (const auto& c : cases) {
        CommandLineInputs in = BaseInputs();
        c.adjust(in);
        EXPECT_EQ(BuildCommandLine(in), c.expected) << c.name;
    }
}

TEST(BuildCommandLine, RemovalOnWindows9xSetsTheSameValuesAsProperties)
{
    CommandLineInputs in = BaseInputs();
    in.installFlag = false;
    in.quoteSources = true;
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"ALLUSERS", ""},
        {"REMOVE", "ALL"},
        {"SRCDIR", "\"C:\\SETUP~1\\data\\\""},
        {"SOURCELIST", "C:\\SETUP~1\\data\\;C:\\SETUP~1\\"},
        {"MEDIAPACKAGEPATH", "\"\\SETUP~1\\\""},
        {"REBOOT", "R"}};
    EXPECT_EQ(RemovalProperties(in), expected);
}

TEST(ChooseInstallerCall, PatchFirstThenInstallUnlessRemovingOnWindows9x)
{
    struct Case
    {
        bool patchMode, installFlag, advertiseFlag, windowsNT;
        InstallerCall expected;
    };
    const Case cases[] = {
        {true, false, false, true, InstallerCall::ApplyPatch},
        {true, true, true, false, InstallerCall::ApplyPatch},
        {false, true, false, false, InstallerCall::InstallProduct},
        {false, false, true, false, InstallerCall::InstallProduct},
        {false, false, false, true, InstallerCall::InstallProduct},
        {false, false, false, false, InstallerCall::RemoveByAction},
    };
    for (const Case& c : cases) {
        CommandLineInputs in = BaseInputs();
        in.patchMode = c.patchMode;
        in.installFlag = c.installFlag;
        in.advertiseFlag = c.advertiseFlag;
        EXPECT_EQ(ChooseInstallerCall(in, c.windowsNT), c.expected)
            << c.patchMode << c.installFlag << c.advertiseFlag << c.windowsNT;
    }
}

TEST(BuildSourceList, QuotesTheWholeListWhenAsked)
{
    EXPECT_EQ(BuildSourceList("C:\\D\\", "C:\\P\\", false), "C:\\D\\;C:\\P\\");
    EXPECT_EQ(BuildSourceList("C:\\D\\", "C:\\P Q\\", true), "\"C:\\D\\;C:\\P Q\\\"");
}

TEST(MediaPackagePathOf, TheDataFoldersParentWithoutItsDrive)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\Setup\\data\\", "\\Setup\\"},
        {"C:\\Setup\\data", "\\Setup\\"},
        {"C:\\data\\", "\\"},
        {"\\\\server\\share\\Setup\\data\\", "\\Setup\\"},
        {"\\\\server\\share\\data\\", "\\"},
        {"D:\\A\\B\\data\\", "\\A\\B\\"},
        {"", ""},
    };
    for (const auto& [data, expected] : cases)
        EXPECT_EQ(MediaPackagePathOf(data), expected) << data;
}

TEST(MediaPackagePathOf, ATrailByteLikeABackslashStaysInTheFolderName)
{
    rtl::CodePageFacts dbcs = rtl::AsciiCodePage();
    dbcs.leadByte[0x83] = true;  // 0x83 0x5C is one character
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\x\x83\x5C\\", "\\"},
        {"C:\\x\x83\x5C", "\\"},
        {"C:\\\x83\x5C\\data\\", "\\\x83\x5C\\"},
        {"\\\\server\\share\\\x83\x5C\\data", "\\\x83\x5C\\"},
    };
    for (const auto& [data, expected] : cases)
        EXPECT_EQ(MediaPackagePathOf(data, dbcs), expected) << data;
}

class HandoffFileTest : public ::testing::Test
{
protected:
    engine::ScriptVariables variables;
    engine::VariableWorkerReport report{variables.Store()};
};

TEST_F(HandoffFileTest, WritesRecordsByteForByte)
{
    variables.Store().Update("ROOT", "C:\\\\Root");
    HandoffInputs in;
    in.dataFolder = "C:\\SETUP~1\\data\\";
    in.patchSourceFolder = "C:\\SETUP~1\\patch\\";
    in.mediaPackagePath = "\\SETUP~1\\";
    in.propertiesText = rtl::ToCommaText(
        {"INSTALLDIR", "$ROOT$\\\\Probe", "NOTE", "two\r\nlines", "SHARE", "\\\\server\\\\share"});
    in.variablesText = rtl::ToCommaText(
        {"TITLE", "Probe Setup", "SILENT", "true", "ALLUSERS", "TRUE", "MYVAR", "it's"});
    in.expand = [this](std::string_view text) { return variables.Expand(text); };
    const HandoffFile file = BuildHandoffFile(in);
    EXPECT_EQ(file.text,
              "SourceDir\r\nC:\\SETUP~1\\data\\\r\n$ex\r\n"
              "MEDIAPACKAGEPATH\r\n\\SETUP~1\\\r\n$ex\r\n"
              "INSTALLDIR\r\nC:\\Root\\Probe\r\n$ex\r\n"
              "NOTE\r\ntwo\r\nlines\r\n$ex\r\n"
              "SHARE\r\n\\\\server\\share\r\n$ex\r\n"
              "TITLE\r\nProbe Setup\r\n$ex\r\n"
              "SILENT\r\ntrue\r\n$ex\r\n"
              "MYVAR\r\nit's\r\n$ex\r\n");
    EXPECT_TRUE(file.silent);
    EXPECT_EQ(file.caption, "Probe Setup");
}

TEST_F(HandoffFileTest, PatchModeNamesThePatchSource)
{
    HandoffInputs in;
    in.patchMode = true;
    in.dataFolder = "C:\\D\\";
    in.patchSourceFolder = "C:\\P\\";
    in.variablesText = rtl::ToCommaText({"SILENT", "FALSE"});
    const HandoffFile file = BuildHandoffFile(in);
    EXPECT_EQ(file.text,
              "SourceDir\r\nC:\\P\\\r\n$ex\r\nSRCDIREX\r\nC:\\P\\\r\n$ex\r\n"
              "SILENT\r\nFALSE\r\n$ex\r\n");
    EXPECT_FALSE(file.silent);
}

TEST(IsMSIStandardProperty, FindsListedNamesInAnyCase)
{
    const std::vector<std::pair<const char*, bool>> cases = {
        {"ALLUSERS", true},
        {"allusers", true},
        {"MsiLogging", true},
        {"MSILOGGING", true},
        {"SourceDir", true},
        {"sourcedir", true},
        {"SOURCEDIRPRODUCT", true},
        {"MSIDISABLEEEUI", true},
        {"REDIRECTEDDLLSUPORT", true},
        {"REDIRECTEDDLLSUPPORT", false},
        {"TITLE", false},
        {"SILENT", false},
        {"ALLUSER", false},
        {"", false},
        {"INSTALLDIR", false},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(IsMSIStandardProperty(name), expected) << name;
}

TEST(InstallOutcome, ResultCodesBecomeTheStartersAnswer)
{
    const auto systemText = [](std::uint32_t code) -> std::string {
        if (code == 1603)
            return "Fatal error during installation.\r\n";
        if (code == 1618)
            return "Another installation is already in progress.\r\n";
        return "";
    };
    struct Case
    {
        std::uint32_t code;
        bool cancelRequested;
        const char* lastMessage;
        int result;
        const char* errorText;
    };
    const std::vector<Case> cases = {
        {0, false, "", 1, ""},
        {3010, false, "", 2, ""},
        {1641, false, "", 2, ""},
        {1602, true, "", 0, ""},
        // A cancel Windows Installer did not honour: the product is installed.
        {0, true, "", 1, ""},
        {3010, true, "", 2, ""},
        {1603, false, "", -1, "Fatal error during installation"},
        {1603, true, "", -1, "Fatal error during installation"},
        {1602, false, "", -1, "General setup failure"},
        {9999, false, "Disk full.", -1, "Disk full"},
        {9999, false, "A. B.", -1, "A. B."},
        {9999, false, "", -1, "General setup failure"},
    };
    for (const auto& c : cases) {
        InstallOutcome outcome;
        ApplyInstallerResult(outcome, c.code, c.cancelRequested, systemText);
        FinishErrorText(outcome, c.lastMessage, "General setup failure");
        EXPECT_EQ(RunResult(outcome), c.result) << c.code << " " << c.cancelRequested;
        EXPECT_EQ(outcome.errorText, c.errorText) << c.code << " " << c.cancelRequested;
    }
}

TEST(InstallOutcome, TrimsTrailingBlanksLineEndsAndPeriods)
{
    EXPECT_EQ(TrimSystemText("Text.\r\n"), "Text");
    EXPECT_EQ(TrimSystemText("Text. .\t"), "Text");
    EXPECT_EQ(TrimSystemText(" "), "");
    EXPECT_EQ(TrimSystemText("A.b"), "A.b");
}

TEST(InstallOutcome, HeaderBlockPiecesEachCarryTheirLineEnds)
{
    InstallHeader header{
        "Probe Setup", "12/10/2026 15:00:00", "V", "P", "C:\\p.msi", "{G}", "C:\\d\\", "\\",
        "C:\\"};
    const std::vector<std::string> expected = {
        "=== Probe Setup: Applying Changes @12/10/2026 15:00:00 ===\r\n",
        "*** Variables ***\r\nV\r\n",
        "*** Properties ***\r\nP\r\n",
        "*** MSI Database ***\r\nC:\\p.msi\r\n",
        "*** GUID ***\r\n{G}\r\n",
        "*** Data Directory ***\r\nC:\\d\\\r\n",
        "*** Media Directory ***\r\n\\\r\n",
        "*** MSI Directory ***\r\nC:\\\r\n",
        ""};
    EXPECT_EQ(InstallHeaderPieces(header), expected);
}

TEST_F(HandoffFileTest, ProgressCallbackPublishesAndReadsTheCancel)
{
    variables.Store().Update("TARQ_thCancelled", "FALSE");
    EXPECT_TRUE(MSIProgressCallback(report, "Copying", 5, 10, 0));
    EXPECT_EQ(variables.Get("TARQ_thProgress"), "5");
    EXPECT_EQ(variables.Get("TARQ_thMax"), "10");
    EXPECT_EQ(variables.Get("TARQ_thMin"), "0");
    EXPECT_EQ(variables.Get("TARQ_thProgressText"), "Copying");
    for (const char* value : {"TRUE", "", "false"}) {
        variables.Store().Update("TARQ_thCancelled", value);
        EXPECT_FALSE(MSIProgressCallback(report, "x", 0, 0, 0)) << value;
    }

    report.Progress("$IGNORE$", -1, 7, 7);  // neither numbers nor text
    EXPECT_EQ(variables.Get("TARQ_thProgress"), "0");
    EXPECT_EQ(variables.Get("TARQ_thProgressText"), "x");
    report.Progress("Windows Installer", 100, 100, 0);
    EXPECT_EQ(variables.Get("TARQ_thProgress"), "100");
    EXPECT_EQ(variables.Get("TARQ_thMax"), "100");
    EXPECT_EQ(variables.Get("TARQ_thProgressText"), "Windows Installer");
}

}  // namespace
}  // namespace setup::sysconfig::installer
