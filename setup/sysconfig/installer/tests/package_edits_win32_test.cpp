#include "setup/sysconfig/installer/package_edits_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "setup/engine/testing/installer_test_packages_win32.h"

namespace setup::sysconfig::installer {
namespace {

using namespace testing;

constexpr unsigned kTemplate = 7;
constexpr unsigned kRevision = 9;
constexpr unsigned kWordCount = 15;

class PackageEdits : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = MakeTempFolder("edits");
        m_package = CopyPackage("probe_two_components", m_folder);
    }
    void TearDown() override { RemoveFolderTree(m_folder); }

    std::string m_folder;
    std::string m_package;
    PackageInstanceState m_instance;
    MsiPropertyQueue m_properties;
};

TEST_F(PackageEdits, QueuedPropertiesAreWrittenIntoThePropertyTable)
{
    m_properties.AddMSIProperty("PROBEVALUE", "first");
    m_properties.AddMSIProperty("PROBEVALUE", "second");  // queued twice: the later value wins
    m_properties.AddMSIProperty("NEWPROPERTY", "fresh");
    m_properties.AddMSIProperty("QUOTED", "it's 'here'");
    m_properties.AddMSIProperty("MULTILINE", "one\r\ntwo");
    m_properties.AddMSIProperty("DOLLARS", "$NOTEXPANDED$");
    WriteMSIProperties(m_package, m_instance, m_properties);

    const std::vector<std::pair<const char*, const char*>> expected = {
        {"PROBEVALUE", "second"},
        {"NEWPROPERTY", "fresh"},
        {"QUOTED", "it$QUOTE$s $QUOTE$here$QUOTE$"},
        {"MULTILINE", "one\r\ntwo"},
        {"DOLLARS", "$NOTEXPANDED$"},
        {"ProductCode", kTwoComponentsProduct},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(PropertyValue(m_package, name), value) << name;
    EXPECT_FALSE(m_properties.TakeMSIPropertyQueue().has_value());
    EXPECT_TRUE(m_instance.instancePackagePath.empty());
}

TEST_F(PackageEdits, WithoutAQueueThePackageIsLeftAlone)
{
    const std::string before = ReadFileBytes(m_package);
    WriteMSIProperties(m_package, m_instance, m_properties);
    EXPECT_EQ(ReadFileBytes(m_package), before);
}

TEST_F(PackageEdits, ANewInstanceGetsNewIdentities)
{
    const auto oldIds = QueryStrings(m_package, "SELECT `ComponentId` FROM `Component`");
    ASSERT_EQ(oldIds.size(), 3u);
    PackageInstanceState& instance = m_instance;
    instance.newInstanceMode = true;
    instance.productCode = "{11111111-2222-3333-4444-555555555555}";
    instance.cacheId = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";
    m_properties.AddMSIProperty("PROBEVALUE", "instance");
    WriteMSIProperties(m_package, m_instance, m_properties);

    EXPECT_EQ(PropertyValue(m_package, "ProductCode"), instance.productCode);
    EXPECT_EQ(PropertyValue(m_package, "PROBEVALUE"), "instance");
    EXPECT_EQ(SummaryText(m_package, kRevision), instance.cacheId);
    EXPECT_EQ(instance.instancePackagePath, m_package);
    EXPECT_TRUE(instance.componentsRegenerated);
    const auto newIds = QueryStrings(m_package, "SELECT `ComponentId` FROM `Component`");
    ASSERT_EQ(newIds.size(), 3u);
    std::set<std::string> distinct(newIds.begin(), newIds.end());
    EXPECT_EQ(distinct.size(), 3u);
    for (const std::string& id : newIds) {
        EXPECT_EQ(id.size(), 38u) << id;
        EXPECT_EQ(id.front(), '{') << id;
        EXPECT_EQ(std::count(oldIds.begin(), oldIds.end(), id), 0) << id;
        EXPECT_EQ(id.find_first_of("abcdef"), std::string::npos) << id;
    }

    // Once per instance: the next install keeps these identities.
    m_properties.AddMSIProperty("PROBEVALUE", "again");
    WriteMSIProperties(m_package, m_instance, m_properties);
    EXPECT_EQ(QueryStrings(m_package, "SELECT `ComponentId` FROM `Component`"), newIds);
}

TEST_F(PackageEdits, ShortcutTextsWithQuotesAreApplied)
{
    LocalizeMSIShortcuts(m_package, {"ProbeMenu", "Sonde's \"Werkzeug\"", "L'outil d'essai"});
    EXPECT_EQ(QueryStrings(m_package, "SELECT `Name` FROM `Shortcut`"),
              std::vector<std::string>{"Sonde's \"Werkzeug\""});
    EXPECT_EQ(QueryStrings(m_package, "SELECT `Description` FROM `Shortcut`"),
              std::vector<std::string>{"L'outil d'essai"});
    // A triple for a directory without shortcuts changes nothing.
    LocalizeMSIShortcuts(m_package, {"INSTALLDIR", "x", "y", "ProbeMenu"});
    EXPECT_EQ(QueryStrings(m_package, "SELECT `Name` FROM `Shortcut`"),
              std::vector<std::string>{"Sonde's \"Werkzeug\""});
}

TEST_F(PackageEdits, ProgIdTextsWithQuotesAreApplied)
{
    RunStatement(m_package,
                 "CREATE TABLE `ProgId` (`ProgId` CHAR(255) NOT NULL, `ProgId_Parent` "
                 "CHAR(255), `Class_` CHAR(38), `Description` CHAR(255) LOCALIZABLE, "
                 "`Icon_` CHAR(72), `IconIndex` SHORT PRIMARY KEY `ProgId`)");
    RunStatement(m_package,
                 "INSERT INTO `ProgId` (`ProgId`, `Description`) VALUES "
                 "('Probe.Document', 'Probe document')");
    LocalizeMSIProgIds(m_package, {"Probe.Document", "Sonde.Dokument", "Sonde's Dokument"});
    // The description goes first: Windows Installer refuses to change a primary key, so the
    // rename that follows leaves the row under its old ProgId.
    EXPECT_EQ(QueryStrings(m_package, "SELECT `Description` FROM `ProgId`"),
              std::vector<std::string>{"Sonde's Dokument"});
}

TEST_F(PackageEdits, PlatformRetargetsTheTemplateAndComponents)
{
    struct Step
    {
        const char* platform;
        const char* templateText;
        bool components64Bit;
    };
    const std::vector<Step> steps = {
        {"x64", "x64;1033", true},      {"x64", "x64;1033", true},
        {"ia64", "Intel64;1033", true}, {"Win32", "Intel;1033", false},
        {"Win32", "Intel;1033", false},
    };
    ASSERT_EQ(SummaryText(m_package, kTemplate), "Intel;1033");
    for (const auto& step : steps) {
        SetPackagePlatform(m_package, step.platform);
        EXPECT_EQ(SummaryText(m_package, kTemplate), step.templateText) << step.platform;
        const auto attributes = QueryIntegers(m_package, "SELECT `Attributes` FROM `Component`");
        ASSERT_EQ(attributes.size(), 3u) << step.platform;
        for (int value : attributes)
            EXPECT_EQ((value & 256) != 0, step.components64Bit) << step.platform;
    }
}

TEST_F(PackageEdits, WordCountDeclaresAnUncompressedSource)
{
    SetPackageWordCount(m_package);
    EXPECT_EQ(SummaryInteger(m_package, kWordCount), 8);
}

TEST_F(PackageEdits, EditsOfAMissingPackageDoNothing)
{
    const std::string missing = m_folder + "missing.msi";
    m_properties.AddMSIProperty("PROBEVALUE", "x");
    WriteMSIProperties(missing, m_instance, m_properties);
    LocalizeMSIShortcuts(missing, {"a", "b", "c"});
    SetPackagePlatform(missing, "x64");
    SetPackageWordCount(missing);
    RegenerateComponentIds(missing);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(PackageCodeMatches("{00000000-0000-0000-0000-000000000000}", ""));
}

}  // namespace
}  // namespace setup::sysconfig::installer
