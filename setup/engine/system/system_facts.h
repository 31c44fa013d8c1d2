// The facts about the running Windows that setup decisions rest on (version, service pack,
// rights and elevation, memory, screen, groups, architecture) behind one interface, and the
// routines that derive the engine's answers from them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setup::engine {

// The version record as Windows gives it.
struct OsVersionRecord
{
    std::uint32_t platformId = 2;  // 1 Windows 9x, 2 NT
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t buildNumber = 0;
    std::string servicePackText;
};

// The engine's reading of it.
struct OsVersionInfo
{
    bool nt = true;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    int servicePack = 0;
};

struct MemoryStatus
{
    std::uint64_t totalPhysical = 0;
    std::uint64_t availablePhysical = 0;
    std::uint64_t totalPageFile = 0;
    std::uint64_t availablePageFile = 0;
    std::uint64_t totalVirtual = 0;
    std::uint64_t availableVirtual = 0;
};

struct ScreenFacts
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int dotsPerInch = -1;  // -1 when no screen device context can be had
};

// The well-known groups by their relative id under S-1-5-32.
inline constexpr std::uint32_t kAdministratorsRid = 544;
inline constexpr std::uint32_t kUsersRid = 545;
inline constexpr std::uint32_t kGuestsRid = 546;
inline constexpr std::uint32_t kPowerUsersRid = 547;

class ISystemFacts
{
public:
    virtual ~ISystemFacts() = default;
    virtual OsVersionRecord VersionRecord() = 0;
    // The product type is not a workstation's; false when it cannot be read.
    virtual bool IsServerSystem() = 0;
    // The group is in the token's list, enabled or not (a deny-only group counts).
    virtual bool TokenHasBuiltinGroup(std::uint32_t rid) = 0;
    virtual bool IsProcessElevated() = 0;
    virtual MemoryStatus GetMemoryStatus() = 0;
    virtual ScreenFacts Screen() = 0;
    // The native processor architecture code; none when the query does not exist.
    virtual std::optional<std::uint16_t> NativeProcessorArchitecture() = 0;
    virtual bool IsWow64() = 0;
};

// 4.10 with a build field above this is Windows 98 SE.
inline constexpr std::uint32_t kWindows98SeBuildFloor = 67766445;

// The highest n from 10 down to 1 whose decimal text occurs in the text; 0 when none does.
int ServicePackLevel(std::string_view servicePackText);
OsVersionInfo GetOsVersionInfo(const OsVersionRecord& record);
OsVersionInfo GetOsVersionInfo(ISystemFacts& facts);
bool VersionAtLeast(const OsVersionInfo& version, std::uint32_t major, std::uint32_t minor);
// "NT4", "2000", "XP", "2003", "VISTA", "2008", "95", "98", "98SE", "ME" or "UNKNOWN".
std::string OsLevelName(const OsVersionInfo& version, bool serverSystem);

// Membership answers; Windows 9x knows no groups and lets everyone administer.
bool IsMemberOfBuiltinGroup(ISystemFacts& facts, std::uint32_t rid);
bool IsAdministrator(ISystemFacts& facts);
bool IsUsersMember(ISystemFacts& facts);
bool IsPowerUser(ISystemFacts& facts);
bool IsGuest(ISystemFacts& facts);
// Administrator, and on Vista or later also elevated.
bool HasAdminRights(ISystemFacts& facts);
// "ADMIN", "POWER", "USER", "GUEST" or "ERROR": the strongest group the user is in.
std::string GroupWord(ISystemFacts& facts);

// "X86", "IA64", "AMD64" or "UNKNOWN"; "X86" when the query does not exist.
std::string GetProcessorArchitecture(ISystemFacts& facts);

// At least the given megabytes of physical memory, allowing 2 MiB the hardware keeps.
bool MemoryAtLeast(std::uint64_t totalPhysical, std::uint64_t megabytes);
// The screen holds width x height in either orientation.
bool ScreenAtLeast(const ScreenFacts& screen, int width, int height);

}  // namespace setup::engine
