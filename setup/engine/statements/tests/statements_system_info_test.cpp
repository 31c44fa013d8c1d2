#include <gtest/gtest.h>

#include <string>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/statements/statements_system_info.h"
#include "setup/engine/testing/statements_test_support.h"
#include "setup/engine/testing/system_info_fakes.h"

namespace setup::engine::testing {
namespace {

constexpr int kMachine = 2;
constexpr int kUser = 1;
constexpr const char* kCurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

class SystemInfoStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        RegisterSystemInfoStatements(handlers, {&facts, &machine, &registry, &wow64, &environment});
    }

    std::string Setting(int number)
    {
        ClearVariables();
        Run({"Get System Settings|R|" + std::to_string(number)});
        return GetVariable("R");
    }
    std::string Folder(int number, bool allUsers)
    {
        ClearVariables();
        Run({"Get Folder Location|F|" + std::to_string(number) + "|" +
             (allUsers ? "TRUE" : "FALSE")});
        return GetVariable("F");
    }

    FakeSystemFacts facts;
    FakeMachineQueries machine;
    FakeValueRegistry registry;
    FakeWow64Switch wow64;
    FakeExpander environment;
};

struct NamedVersion
{
    const char* name;
    OsVersionRecord record;
    bool server;
};

const NamedVersion kVersions[] = {
    {"95", {1, 4, 0, 950, ""}, false},
    {"98", {1, 4, 10, 67766222, ""}, false},
    {"98SE", {1, 4, 10, 67766446, ""}, false},
    {"ME", {1, 4, 90, 3000, ""}, false},
    {"NT4", {2, 4, 0, 1381, "Service Pack 6"}, false},
    {"2000", {2, 5, 0, 2195, ""}, false},
    {"XP", {2, 5, 1, 2600, "Service Pack 2"}, false},
    {"2003", {2, 5, 2, 3790, ""}, true},
    {"VISTA", {2, 6, 0, 6000, ""}, false},
    {"VISTA", {2, 6, 0, 6001, "Service Pack 1"}, false},
    {"VISTA", {2, 6, 0, 6000, ""}, true},
    {"2008", {2, 6, 0, 6001, "Service Pack 1"}, true},
    {"UNKNOWN", {2, 6, 1, 7601, "Service Pack 1"}, false},
    {"UNKNOWN", {1, 4, 91, 0, ""}, false},
};

TEST_F(SystemInfoStatementTest, LevelNamesAndServicePackNumbers)
{
    for (const NamedVersion& version : kVersions) {
        facts.version = version.record;
        facts.server = version.server;
        Run({"Get OS or SP Level|NAME|TRUE", "Get OS or SP Level|$SP$|FALSE"});
        EXPECT_EQ(GetVariable("NAME"), version.name) << version.record.buildNumber;
        EXPECT_EQ(GetVariable("SP"),
                  std::to_string(ServicePackLevel(version.record.servicePackText)));
    }
}

TEST_F(SystemInfoStatementTest, VersionGatesCompareMajorAndMinorOnly)
{
    // Settings 17 to 26, 69 and 76 in that order, T for TRUE.
    const int settings[] = {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 69, 76};
    const char* expected[] = {
        "TF"
        "TFFFT"
        "FFF"
        "FF",  // 95
        "TF"
        "TTFFT"
        "FFF"
        "FF",  // 98
        "TF"
        "TTTFT"
        "FFF"
        "FF",  // 98 SE
        "TF"
        "TTTTT"
        "FFF"
        "FF",  // ME
        "FT"
        "TFFFT"
        "FFF"
        "FF",  // NT 4: the 9x gates compare numbers, not platforms
        "FT"
        "TTTTT"
        "TFF"
        "FF",  // 2000
        "FT"
        "TTTTT"
        "TTF"
        "FF",  // XP
        "FT"
        "TTTTT"
        "TTT"
        "FF",  // 2003
        "FT"
        "TTTTT"
        "TTT"
        "TF",  // Vista
        "FT"
        "TTTTT"
        "TTT"
        "TF",  // Vista SP1
        "FT"
        "TTTTT"
        "TTT"
        "TF",  // Vista server without a service pack
        "FT"
        "TTTTT"
        "TTT"
        "TT",  // 2008
        "FT"
        "TTTTT"
        "TTT"
        "TF",  // 7
        "TF"
        "TTTTT"
        "FFF"
        "FF",  // 9x 4.91
    };
    for (std::size_t v = 0; v < std::size(kVersions); ++v) {
        facts.version = kVersions[v].record;
        facts.server = kVersions[v].server;
        std::string got;
        for (const int setting : settings)
            got += Setting(setting) == "TRUE" ? 'T' : 'F';
        EXPECT_EQ(got, expected[v]) << kVersions[v].name << " " << v;
    }
}

TEST_F(SystemInfoStatementTest, ServicePackMemoryScreenAndColourThresholds)
{
    facts.version.servicePackText = "Service Pack 3";
    facts.memory.totalPhysical = 254ull << 20;  // 256 MiB less what the hardware keeps
    facts.screen = {1024, 1280, 16, 120};       // a portrait screen
    struct Case
    {
        int setting;
        const char* answer;
    };
    const Case cases[] = {
        {27, "TRUE"}, {29, "TRUE"}, {30, "FALSE"}, {32, "FALSE"}, {3, "TRUE"},  {4, "TRUE"},
        {5, "FALSE"}, {1, "TRUE"},  {8, "TRUE"},   {9, "TRUE"},   {10, "TRUE"}, {11, "FALSE"},
        {13, "TRUE"}, {14, "TRUE"}, {15, "FALSE"}, {64, "120"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Setting(c.setting), c.answer) << c.setting;
}

TEST_F(SystemInfoStatementTest, NamesRightsAndMachineAnswers)
{
    facts.groups = {kPowerUsersRid, kUsersRid};
    facts.wow64 = true;
    facts.architecture = 9;
    facts.elevated = true;
    facts.server = true;
    machine.vmware = true;
    struct Case
    {
        int setting;
        const char* answer;
    };
    const Case cases[] = {
        {0, "FALSE"},           {63, "POWER"}, {33, "1031"},      {34, "German (Germany)"},
        {59, "IUSR_BUILDHOST"}, {60, "alice"}, {61, "BUILDHOST"}, {62, "OFFICE"},
        {65, "TRUE"},           {66, "TRUE"},  {67, "FALSE"},     {68, "TRUE"},
        {70, "TRUE"},           {71, "FALSE"}, {74, "FALSE"},     {75, "AMD64"},
        {77, "TRUE"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Setting(c.setting), c.answer) << c.setting;
    machine.vmware = false;
    EXPECT_EQ(Setting(74), "TRUE");
    machine.virtualPc = true;
    EXPECT_EQ(Setting(74), "FALSE");
    // Without a readable language resource both answers are empty rather than a failure.
    machine.language.reset();
    EXPECT_EQ(Setting(33), "");
    EXPECT_EQ(Setting(34), "");
}

TEST_F(SystemInfoStatementTest, OwnerAndOrganisationOfAnUnexpectedTypeReadEmpty)
{
    const std::string nt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";
    registry.PutText(kMachine, nt, "RegisteredOwner", "Alice");
    registry.PutDword(kMachine, nt, "RegisteredOrganization", 7);
    registry.PutText(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\", "RegisteredOwner",
                     "Nine");
    EXPECT_EQ(Setting(35), "Alice");
    EXPECT_EQ(Setting(36), "");
    facts.version = {1, 4, 10, 0, ""};
    EXPECT_EQ(Setting(35), "Nine");
    EXPECT_EQ(Setting(36), "");
}

TEST_F(SystemInfoStatementTest, BrowserAndIisVersions)
{
    wow64.wow64 = true;
    const std::string shdocvw = "C:\\Windows\\system32\\shdocvw.dll";
    struct Case
    {
        FileVersionFields installed;
        int firstTrue;  // settings 37..52 are true from this one on
    };
    const Case cases[] = {
        {{6, 0, 2800, 1106}, 37}, {{6, 0, 2800, 1105}, 38}, {{5, 50, 4807, 2300}, 39},
        {{5, 0, 2014, 213}, 45},  {{4, 70, 1155, 0}, 52},   {{4, 70, 1154, 9999}, 53},
        {{11, 0, 0, 0}, 37},
    };
    for (const Case& c : cases) {
        machine.fileVersions[shdocvw] = c.installed;
        for (int setting = 37; setting <= 52; ++setting)
            EXPECT_EQ(Setting(setting), setting >= c.firstTrue ? "TRUE" : "FALSE")
                << setting << " " << c.firstTrue;
    }
    machine.fileVersions.clear();
    EXPECT_EQ(Setting(52), "FALSE");

    const char* ie = "SOFTWARE\\Microsoft\\Internet Explorer";
    const struct
    {
        const char* version;
        const char* answer;
    } browsers[] = {{"7.0.5730.11", "TRUE"},    {"7.0.5730.10", "FALSE"}, {"8.0", "TRUE"},
                    {"6.0.2900.2180", "FALSE"}, {"x.1", "FALSE"},         {"", "FALSE"}};
    for (const auto& browser : browsers) {
        registry.PutText(kMachine, ie, "Version", browser.version);
        EXPECT_EQ(Setting(72), browser.answer) << browser.version;
    }

    const char* iis = "SOFTWARE\\Microsoft\\INetStp";
    EXPECT_EQ(Setting(56), "FALSE");  // no IIS at all
    registry.PutDword(kMachine, iis, "MajorVersion", 5);
    registry.PutDword(kMachine, iis, "MinorVersion", 1);
    const struct
    {
        int setting;
        const char* answer;
    } gates[] = {{53, "FALSE"}, {54, "TRUE"}, {55, "TRUE"}, {56, "TRUE"},
                 {57, "TRUE"},  {58, "TRUE"}, {73, "FALSE"}};
    registry.reads.clear();
    for (const auto& gate : gates)
        EXPECT_EQ(Setting(gate.setting), gate.answer) << gate.setting;
    // The IIS key is read without view bits even under WOW64.
    EXPECT_EQ(registry.reads.front(), "MajorVersion 0");
    registry.PutText(kMachine, iis, "MinorVersion", "1");
    EXPECT_EQ(Setting(58), "FALSE");
}

TEST_F(SystemInfoStatementTest, NumbersOutsideTheTablesLeaveTheVariable)
{
    SetVariable("R", "before", "test");
    Run({"Get System Settings|R|78", "Get System Settings|R|-1"});
    EXPECT_EQ(GetVariable("R"), "before");
    SetVariable("F", "before", "test");
    Run({"Get Folder Location|F|28|FALSE"});
    EXPECT_EQ(GetVariable("F"), "before");
}

TEST_F(SystemInfoStatementTest, NonNumericNumbersFailAfterRestoringTheView)
{
    wow64.wow64 = true;
    engine.TargetPlatform = "x64";
    for (const char* line : {"Get System Settings|R|abc", "Get Folder Location|F|x|TRUE"}) {
        EXPECT_THROW(Run({line}), rtl::EConvertError) << line;
        EXPECT_EQ(engine.RegistryViewFlag, kKeyWow64_32Key);
        EXPECT_EQ(wow64.disabled, 0);
    }
}

TEST_F(SystemInfoStatementTest, ProgramFoldersFollowTheTargetView)
{
    wow64.wow64 = true;
    facts.wow64 = true;
    registry.PutText(kMachine, kCurrentVersion, "ProgramFilesDir", "C:\\Program Files");
    registry.PutText(kMachine, kCurrentVersion, "CommonFilesDir",
                     "C:\\Program Files\\Common Files");
    struct Case
    {
        const char* platform;
        bool allUsers;
        const char* read;
    };
    const Case cases[] = {{"x64", false, "ProgramFilesDir 256"},
                          {"Win32", false, "ProgramFilesDir 512"},
                          {"x64", true, "CommonFilesDir 256"}};
    for (const Case& c : cases) {
        engine.TargetPlatform = c.platform;
        registry.reads.clear();
        const std::string folder = Folder(20, c.allUsers);
        EXPECT_EQ(folder, c.allUsers ? "C:\\Program Files\\Common Files\\" : "C:\\Program Files\\");
        ASSERT_FALSE(registry.reads.empty());
        EXPECT_EQ(registry.reads.front(), c.read);
    }
    // A missing value falls back on the folder library.
    registry.values.clear();
    machine.fallbackFolders[38] = "D:\\Programs";
    EXPECT_EQ(Folder(20, false), "D:\\Programs\\");
}

TEST_F(SystemInfoStatementTest, FolderColumnsAndRules)
{
    machine.shellFolders = {{5, "C:\\Users\\alice\\Documents"},
                            {46, "C:\\Users\\Public\\Documents"},
                            {32, "C:\\Cache\\"},
                            {40, "C:\\Users\\alice"},
                            {62, "C:\\Users"}};
    machine.fallbackFolders = {{33, "C:\\Cookies"}};
    registry.PutText(kUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "AppData", "C:\\Users\\alice\\AppData\\Roaming");
    registry.PutText(kMachine, "SOFTWARE\\Microsoft\\InetStp", "PathWWWRoot",
                     "%SystemDrive%\\inetpub\\wwwroot");
    registry.PutText(kMachine, std::string(kCurrentVersion) + "\\Setup", "BootDir", "C:\\");
    machine.driveTypes = {{'C', 3}, {'E', kDriveCdrom}, {'F', kDriveCdrom}};
    struct Case
    {
        int number;
        bool allUsers;
        const char* folder;
    };
    const Case cases[] = {
        {2, false, "C:\\Users\\alice\\Documents\\"},
        {2, true, "C:\\Users\\Public\\Documents\\"},
        {0, true, "C:\\Cache\\"},  // no doubled backslash
        {1, false, "C:\\Cookies\\"},
        {19, false, "C:\\Users\\alice\\"},
        {19, true, "C:\\Users\\"},
        {3, false, ""},  // neither the shell nor the folder library knows it
        {9, false, "C:\\"},
        {10, false, "E:\\"},
        {23, false, "C:\\Windows\\system32\\"},
        {25, true, "C:\\Windows\\"},
        {26, false,
         "C:\\Users\\alice\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\"},
        {27, false, "C:\\inetpub\\wwwroot\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Folder(c.number, c.allUsers), c.folder) << c.number << " " << c.allUsers;
}

TEST_F(SystemInfoStatementTest, FolderRulesWithoutTheirSources)
{
    // A boot folder of another type, no CD-ROM, no Quick Launch and the older IIS web root.
    registry.PutDword(kMachine, std::string(kCurrentVersion) + "\\Setup", "BootDir", 3);
    registry.PutText(kMachine,
                     "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters\\Virtual Roots", "/,",
                     "c:\\inetpub\\wwwroot,,201");
    EXPECT_EQ(Folder(9, false), "");
    EXPECT_EQ(Folder(10, false), "");
    EXPECT_EQ(Folder(26, false), "");
    EXPECT_EQ(Folder(27, false), "c:\\inetpub\\wwwroot\\");
    registry.PutText(kMachine,
                     "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters\\Virtual Roots", "/",
                     "d:\\web,,1");
    EXPECT_EQ(Folder(27, false), "d:\\web\\");
}

TEST_F(SystemInfoStatementTest, SystemFolderOfA32BitTargetUnderWow64)
{
    facts.wow64 = true;
    wow64.wow64 = true;
    engine.TargetPlatform = "Win32";
    EXPECT_EQ(Folder(23, false), "C:\\Windows\\SysWOW64\\");
    engine.TargetPlatform = "x64";
    EXPECT_EQ(Folder(23, false), "C:\\Windows\\system32\\");
}

TEST_F(SystemInfoStatementTest, DiskSpaceFreeTotalAndFailure)
{
    machine.diskSpace = DiskSpace{5000000000ull, 9000000000ull};
    SetVariable("DIR", "C:\\\\data", "test");
    Run({"Check Disk Space|$free$|$DIR$|TRUE", "Check Disk Space|total|C:\\|FALSE"});
    EXPECT_EQ(GetVariable("FREE"), "5000000000");
    EXPECT_EQ(GetVariable("TOTAL"), "9000000000");
    EXPECT_EQ(machine.diskQueries.front(), "C:\\data");
    machine.diskSpace.reset();
    Run({"Check Disk Space|TOTAL|Q:\\|FALSE"});
    EXPECT_EQ(GetVariable("TOTAL"), "0");
}

}  // namespace
}  // namespace setup::engine::testing
