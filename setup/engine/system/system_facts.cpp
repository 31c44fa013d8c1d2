#include "setup/engine/system/system_facts.h"

namespace setup::engine {

namespace {

constexpr std::uint32_t kPlatformNt = 2;

// Processor architecture codes of the system information record.
constexpr std::uint16_t kArchitectureIntel = 0;
constexpr std::uint16_t kArchitectureIa64 = 6;
constexpr std::uint16_t kArchitectureAmd64 = 9;

constexpr std::uint64_t kMebibyte = 1048576;

}  // namespace

int ServicePackLevel(std::string_view servicePackText)
{
    for (int level = 10; level >= 1; --level) {
        if (servicePackText.find(std::to_string(level)) != std::string_view::npos)
            return level;
    }
    return 0;
}

OsVersionInfo GetOsVersionInfo(const OsVersionRecord& record)
{
    OsVersionInfo info;
    info.nt = record.platformId == kPlatformNt;
    info.major = record.major;
    info.minor = record.minor;
    if (!info.nt && record.major == 4 && record.minor == 10 &&
        record.buildNumber > kWindows98SeBuildFloor)
        info.minor = 11;
    info.servicePack = ServicePackLevel(record.servicePackText);
    return info;
}

OsVersionInfo GetOsVersionInfo(ISystemFacts& facts)
{
    return GetOsVersionInfo(facts.VersionRecord());
}

bool VersionAtLeast(const OsVersionInfo& version, std::uint32_t major, std::uint32_t minor)
{
    return version.major > major || (version.major == major && version.minor >= minor);
}

std::string OsLevelName(const OsVersionInfo& version, bool serverSystem)
{
    struct Level
    {
        bool nt;
        std::uint32_t major;
        std::uint32_t minor;
        const char* name;
    };
    static constexpr Level kLevels[] = {
        {true, 4, 0, "NT4"}, {true, 5, 0, "2000"}, {true, 5, 1, "XP"},     {true, 5, 2, "2003"},
        {false, 4, 0, "95"}, {false, 4, 10, "98"}, {false, 4, 11, "98SE"}, {false, 4, 90, "ME"},
    };
    if (version.nt && version.major == 6 && version.minor == 0)
        return version.servicePack >= 1 && serverSystem ? "2008" : "VISTA";
    for (const Level& level : kLevels) {
        if (level.nt == version.nt && level.major == version.major && level.minor == version.minor)
            return level.name;
    }
    return "UNKNOWN";
}

bool IsMemberOfBuiltinGroup(ISystemFacts& facts, std::uint32_t rid)
{
    if (!GetOsVersionInfo(facts).nt)
        return true;
    return facts.TokenHasBuiltinGroup(rid);
}

bool IsAdministrator(ISystemFacts& facts)
{
    return IsMemberOfBuiltinGroup(facts, kAdministratorsRid);
}

namespace {

bool IsNtMember(ISystemFacts& facts, std::uint32_t rid)
{
    return GetOsVersionInfo(facts).nt && facts.TokenHasBuiltinGroup(rid);
}

}  // namespace

bool IsUsersMember(ISystemFacts& facts)
{
    return IsNtMember(facts, kUsersRid);
}

bool IsPowerUser(ISystemFacts& facts)
{
    return IsNtMember(facts, kPowerUsersRid);
}

bool IsGuest(ISystemFacts& facts)
{
    return IsNtMember(facts, kGuestsRid);
}

bool HasAdminRights(ISystemFacts& facts)
{
    if (!IsAdministrator(facts))
        return false;
    return GetOsVersionInfo(facts).major <= 5 || facts.IsProcessElevated();
}

std::string GroupWord(ISystemFacts& facts)
{
    if (IsAdministrator(facts))
        return "ADMIN";
    if (IsPowerUser(facts))
        return "POWER";
    if (IsUsersMember(facts))
        return "USER";
    if (IsGuest(facts))
        return "GUEST";
    return "ERROR";
}

std::string GetProcessorArchitecture(ISystemFacts& facts)
{
    const std::optional<std::uint16_t> code = facts.NativeProcessorArchitecture();
    if (!code)
        return "X86";
    switch (*code) {
        case kArchitectureIntel:
            return "X86";
        case kArchitectureIa64:
            return "IA64";
        case kArchitectureAmd64:
            return "AMD64";
        default:
            return "UNKNOWN";
    }
}

bool MemoryAtLeast(std::uint64_t totalPhysical, std::uint64_t megabytes)
{
    return (megabytes - 2) * kMebibyte <= totalPhysical;
}

bool ScreenAtLeast(const ScreenFacts& screen, int width, int height)
{
    return (screen.width >= width && screen.height >= height) ||
           (screen.height >= width && screen.width >= height);
}

}  // namespace setup::engine
