#include <gtest/gtest.h>

#include <string>

#include "setup/sysconfig/security/os_record.h"

namespace setup::sysconfig::security {
namespace {

TEST(DescribeOs, EditionsAndDescriptions)
{
    struct Case
    {
        OsVersionFacts facts;
        OsEdition edition;
        std::uint32_t servicePack;
        const char* description;
    };
    auto nt = [](std::uint32_t major, std::uint32_t minor, std::string sp) {
        OsVersionFacts facts;
        facts.major = major;
        facts.minor = minor;
        facts.servicePackText = std::move(sp);
        return facts;
    };
    auto win9x = [](std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
        OsVersionFacts facts;
        facts.platformId = 1;
        facts.major = major;
        facts.minor = minor;
        facts.build = build;
        return facts;
    };
    OsVersionFacts xp64 = nt(5, 2, "Service Pack 2");
    xp64.haveExtendedRecord = true;
    xp64.productType = 1;
    xp64.servicePackMajor = 2;
    xp64.nativeX64 = true;
    OsVersionFacts server2003r2 = nt(5, 2, "Service Pack 1");
    server2003r2.haveExtendedRecord = true;
    server2003r2.productType = 3;
    server2003r2.servicePackMajor = 1;
    server2003r2.serverR2 = true;
    OsVersionFacts vistaMedia = nt(6, 0, "");
    vistaMedia.mediaCenter = true;  // only editions before Vista name it
    OsVersionFacts xpMedia = nt(5, 1, "");
    xpMedia.mediaCenter = true;
    OsVersionFacts me = win9x(4, 90, 3000);
    me.build = 0x045A0BB8;  // 4.90 in the high word; only the low word, 3000, counts

    const Case cases[] = {
        {win9x(4, 10, 2222), OsEdition::Windows98Se, 0, "Windows 98 SE"},
        {win9x(4, 10, 1998), OsEdition::Windows98, 0, "Windows 98"},
        {me, OsEdition::WindowsMe, 0, "Windows ME"},
        {win9x(4, 0, 1111), OsEdition::Windows95Osr2, 0, "Windows 95 OSR-2"},
        {win9x(4, 0, 950), OsEdition::Windows95, 0, "Windows 95"},
        {win9x(4, 95, 0), OsEdition::Windows9xNew, 0, "Windows 9x New"},
        {nt(4, 0, "Service Pack 6"), OsEdition::WindowsNt4, 6, "Windows NT 4 Service Pack 6"},
        {nt(5, 0, ""), OsEdition::Windows2000, 0, "Windows 2000"},
        {xp64, OsEdition::WindowsXp, 2, "Windows XP x64 Service Pack 2"},
        {server2003r2, OsEdition::Windows2003, 1, "Windows 2003 R2 Service Pack 1"},
        {nt(5, 2, ""), OsEdition::Windows2003, 0, "Windows 2003"},  // no product type known
        {vistaMedia, OsEdition::WindowsVista, 0, "Windows Vista"},
        {xpMedia, OsEdition::WindowsXp, 0, "Windows XP Media Center"},
        {nt(6, 1, "Service Pack 1"), OsEdition::WindowsNtNew, 1, "Windows NT New Service Pack 1"},
        {nt(6, 1, "Service Pack 5"), OsEdition::WindowsNtNew, 5, "Windows NT New Service Pack 5"},
    };
    for (const Case& c : cases) {
        const OsRecord os = DescribeOs(c.facts);
        EXPECT_EQ(os.edition, c.edition) << c.description;
        EXPECT_EQ(os.servicePack, c.servicePack) << c.description;
        EXPECT_EQ(os.description, c.description);
        EXPECT_EQ(os.is9x, c.facts.platformId == 1) << c.description;
    }
    EXPECT_EQ(DescribeOs(me).build, 3000u);
}

}  // namespace
}  // namespace setup::sysconfig::security
