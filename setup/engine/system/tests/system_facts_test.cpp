#include <gtest/gtest.h>

#include <string>

#include "setup/engine/system/system_facts.h"
#include "setup/engine/testing/system_info_fakes.h"

namespace setup::engine::testing {
namespace {

TEST(ServicePackLevel, HighestNumberFoundAnywhereInTheText)
{
    struct Case
    {
        const char* text;
        int level;
    };
    const Case cases[] = {
        {"Service Pack 2", 2},
        {"", 0},
        {"no digits here", 0},
        {"Service Pack 10", 10},
        // Any digit counts, so a build note raises the level.
        {"Service Pack 1, v.1180", 8},
        {"Service Pack 6a", 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ServicePackLevel(c.text), c.level) << c.text;
}

TEST(OsVersionInfo, Windows98SecondEditionByItsBuildField)
{
    struct Case
    {
        OsVersionRecord record;
        bool nt;
        std::uint32_t minor;
    };
    const Case cases[] = {
        {{1, 4, 10, kWindows98SeBuildFloor + 1, " A "}, false, 11},
        {{1, 4, 10, kWindows98SeBuildFloor, ""}, false, 10},
        {{1, 4, 0, kWindows98SeBuildFloor + 1, ""}, false, 0},
        {{2, 4, 10, kWindows98SeBuildFloor + 1, ""}, true, 10},
    };
    for (const Case& c : cases) {
        const OsVersionInfo info = GetOsVersionInfo(c.record);
        EXPECT_EQ(info.nt, c.nt);
        EXPECT_EQ(info.minor, c.minor) << c.record.buildNumber;
    }
}

TEST(SystemFacts, MembershipAndRightsPerPlatform)
{
    struct Case
    {
        OsVersionRecord version;
        std::set<std::uint32_t> groups;
        bool elevated;
        const char* word;
        bool admin;
        bool adminRights;
    };
    const OsVersionRecord win98{1, 4, 10, 0, ""};
    const OsVersionRecord xp{2, 5, 1, 2600, ""};
    const OsVersionRecord vista{2, 6, 0, 6000, ""};
    const Case cases[] = {
        // Windows 9x knows no groups: everyone administers.
        {win98, {}, false, "ADMIN", true, true},
        {xp, {kAdministratorsRid, kUsersRid, kGuestsRid}, false, "ADMIN", true, true},
        {xp, {kPowerUsersRid, kUsersRid}, false, "POWER", false, false},
        {xp, {kUsersRid, kGuestsRid}, false, "USER", false, false},
        {xp, {kGuestsRid}, false, "GUEST", false, false},
        {xp, {}, false, "ERROR", false, false},
        // From Vista on an administrator needs an elevated token for the rights.
        {vista, {kAdministratorsRid}, false, "ADMIN", true, false},
        {vista, {kAdministratorsRid}, true, "ADMIN", true, true},
        {vista, {kUsersRid}, true, "USER", false, false},
    };
    for (const Case& c : cases) {
        FakeSystemFacts facts;
        facts.version = c.version;
        facts.groups = c.groups;
        facts.elevated = c.elevated;
        EXPECT_EQ(GroupWord(facts), c.word);
        EXPECT_EQ(IsAdministrator(facts), c.admin);
        EXPECT_EQ(HasAdminRights(facts), c.adminRights);
    }
    FakeSystemFacts nineX;
    nineX.version = win98;
    nineX.groups = {kUsersRid, kPowerUsersRid, kGuestsRid};
    EXPECT_TRUE(IsMemberOfBuiltinGroup(nineX, kGuestsRid));
    EXPECT_FALSE(IsUsersMember(nineX) || IsPowerUser(nineX) || IsGuest(nineX));
}

TEST(SystemFacts, ProcessorArchitectureNames)
{
    struct Case
    {
        std::optional<std::uint16_t> code;
        const char* name;
    };
    const Case cases[] = {{std::nullopt, "X86"}, {0, "X86"},     {6, "IA64"},
                          {9, "AMD64"},          {5, "UNKNOWN"}, {12, "UNKNOWN"}};
    for (const Case& c : cases) {
        FakeSystemFacts facts;
        facts.architecture = c.code;
        EXPECT_EQ(GetProcessorArchitecture(facts), c.name);
    }
}

TEST(SystemFacts, MemoryAllowsTwoMebibytesForTheHardware)
{
    constexpr std::uint64_t kMiB = 1048576;
    EXPECT_TRUE(MemoryAtLeast(126 * kMiB, 128));
    EXPECT_FALSE(MemoryAtLeast(126 * kMiB - 1, 128));
    EXPECT_FALSE(MemoryAtLeast(125 * kMiB, 128));
    EXPECT_TRUE(MemoryAtLeast(2046 * kMiB, 2048));
    EXPECT_TRUE(MemoryAtLeast(30 * kMiB, 32));
}

TEST(SystemFacts, ScreenCountsInEitherOrientation)
{
    struct Case
    {
        int width;
        int height;
        bool at1024x768;
    };
    const Case cases[] = {{1024, 768, true},  {768, 1024, true},  {1023, 768, false},
                          {1024, 767, false}, {767, 1024, false}, {1920, 1080, true}};
    for (const Case& c : cases)
        EXPECT_EQ(ScreenAtLeast({c.width, c.height, 32, 96}, 1024, 768), c.at1024x768)
            << c.width << "x" << c.height;
}

}  // namespace
}  // namespace setup::engine::testing
