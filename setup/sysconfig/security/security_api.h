// The platform's account and security-descriptor services, as narrow as the library needs them:
// Windows answers them, tests fake them. Results are 0 or the platform's error code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "setup/sysconfig/security/sid.h"

namespace setup::sysconfig::security {

using AclBytes = std::vector<std::uint8_t>;

// The securable thing: a name of a kind, or a handle when the name is empty.
struct SecurityTarget
{
    std::int32_t kind = 0;  // SE_OBJECT_TYPE
    std::wstring name;
    std::uintptr_t handle = 0;
};

// Which parts of a descriptor are read or written.
inline constexpr std::uint32_t kOwnerPart = 1;
inline constexpr std::uint32_t kGroupPart = 2;
inline constexpr std::uint32_t kDaclPart = 4;
inline constexpr std::uint32_t kSaclPart = 8;
// Protection requests ORed into the information word of a write.
inline constexpr std::uint32_t kProtectedDacl = 0x80000000;
inline constexpr std::uint32_t kProtectedSacl = 0x40000000;
inline constexpr std::uint32_t kUnprotectedDacl = 0x20000000;
inline constexpr std::uint32_t kUnprotectedSacl = 0x10000000;
// Control bits of a descriptor.
inline constexpr std::uint16_t kDaclProtectedControl = 0x1000;
inline constexpr std::uint16_t kSaclProtectedControl = 0x2000;

// The parts of a descriptor; an absent ACL (nullopt) is a null ACL.
struct SecurityParts
{
    Sid owner;
    Sid group;
    std::optional<AclBytes> dacl;
    std::optional<AclBytes> sacl;
    std::uint16_t control = 0;
};

struct AccountNames
{
    std::string name;
    std::string domain;
    Sid sid;
    std::uint8_t type = 0;  // SID_NAME_USE
};

class ISecurityApi
{
public:
    virtual ~ISecurityApi() = default;
    // On the local system.
    virtual std::uint32_t AccountOfSid(const Sid& sid, AccountNames& names) = 0;
    virtual std::uint32_t AccountOfName(const std::string& name, AccountNames& names) = 0;
    // The user of the current process's token.
    virtual std::uint32_t CurrentUserSid(Sid& sid) = 0;
    virtual std::uint32_t ReadSecurity(const SecurityTarget& target, std::uint32_t parts,
                                       SecurityParts& read) = 0;
    // information: the parts to write and the protection requests.
    virtual std::uint32_t WriteSecurity(const SecurityTarget& target, std::uint32_t information,
                                        const SecurityParts& parts) = 0;
};

}  // namespace setup::sysconfig::security
