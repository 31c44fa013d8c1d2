// The account and security-descriptor services of Windows (advapi32).
#pragma once

#include "setup/sysconfig/security/security_api.h"

namespace setup::sysconfig::security {

class Win32SecurityApi final : public ISecurityApi
{
public:
    std::uint32_t AccountOfSid(const Sid& sid, AccountNames& names) override;
    std::uint32_t AccountOfName(const std::string& name, AccountNames& names) override;
    std::uint32_t CurrentUserSid(Sid& sid) override;
    std::uint32_t ReadSecurity(const SecurityTarget& target, std::uint32_t parts,
                               SecurityParts& read) override;
    std::uint32_t WriteSecurity(const SecurityTarget& target, std::uint32_t information,
                                const SecurityParts& parts) override;
};

}  // namespace setup::sysconfig::security
