// The Windows version record the library decides by: version numbers, the Windows 9x or NT
// family, an edition number, the service pack and a readable description. Derived from the facts
// the system reports, so every edition rule runs without that Windows.
#pragma once

#include <cstdint>
#include <string>

namespace setup::sysconfig::security {

// What the system reports about itself.
struct OsVersionFacts
{
    std::uint32_t platformId = 2;  // 1 Windows 9x, 2 Windows NT
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::string servicePackText;
    bool haveExtendedRecord = false;  // the product type and service-pack major below are known
    std::uint8_t productType = 1;     // 1 workstation
    std::uint16_t servicePackMajor = 0;
    bool nativeX64 = false;
    bool serverR2 = false;
    bool tabletPc = false;
    bool starter = false;
    bool mediaCenter = false;
};

enum class OsEdition : std::uint8_t
{
    None,
    Windows95,
    Windows95Osr2,
    Windows98,
    Windows98Se,
    WindowsMe,
    Windows9xNew,
    WindowsNt3,
    WindowsNt4,
    Windows2000,
    WindowsXp,
    Windows2003,
    WindowsVista,
    WindowsNtNew
};

struct OsRecord
{
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::string servicePackText;
    bool is9x = false;
    std::uint8_t edition9x = 0;
    bool isNt = false;
    std::uint8_t editionNt = 0;
    OsEdition edition = OsEdition::None;
    bool is64Bit = false;
    std::uint32_t servicePack = 0;
    std::string description;
};

const char* OsEditionName(OsEdition edition);
OsRecord DescribeOs(const OsVersionFacts& facts);

}  // namespace setup::sysconfig::security
