// A recording stand-in for the security services: accounts by name and SID, and descriptors kept
// per object name, so the library's decisions run without Windows.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "setup/sysconfig/security/security_api.h"

namespace setup::sysconfig::security::testing {

class FakeSecurityApi : public ISecurityApi
{
public:
    struct Write
    {
        SecurityTarget target;
        std::uint32_t information;
        SecurityParts parts;
    };

    void AddAccount(const std::string& name, std::string_view sidText, std::uint8_t type)
    {
        AccountNames names{name, "DOMAIN", *StringToSid(sidText), type};
        m_accounts.push_back(names);
    }

    std::uint32_t AccountOfSid(const Sid& sid, AccountNames& names) override
    {
        ++sidLookups;
        for (const AccountNames& known : m_accounts) {
            if (known.sid == sid) {
                names = known;
                return 0;
            }
        }
        return 1332;
    }
    std::uint32_t AccountOfName(const std::string& name, AccountNames& names) override
    {
        ++nameLookups;
        for (const AccountNames& known : m_accounts) {
            if (known.name == name) {
                names = known;
                return 0;
            }
        }
        return 1332;
    }
    std::uint32_t CurrentUserSid(Sid& sid) override
    {
        sid = *StringToSid("S-1-5-21-7-7-7-1000");
        return 0;
    }
    std::uint32_t ReadSecurity(const SecurityTarget& target, std::uint32_t parts,
                               SecurityParts& read) override
    {
        ++reads;
        if (readError != 0)
            return readError;
        read = objects[target.name];
        if (!(parts & kDaclPart))
            read.dacl.reset();
        if (!(parts & kSaclPart))
            read.sacl.reset();
        return 0;
    }
    std::uint32_t WriteSecurity(const SecurityTarget& target, std::uint32_t information,
                                const SecurityParts& parts) override
    {
        writes.push_back({target, information, parts});
        if (writeError != 0)
            return writeError;
        SecurityParts& stored = objects[target.name];
        if (information & kOwnerPart)
            stored.owner = parts.owner;
        if (information & kDaclPart)
            stored.dacl = parts.dacl;
        if (information & kProtectedDacl)
            stored.control |= kDaclProtectedControl;
        if (information & kUnprotectedDacl)
            stored.control &= static_cast<std::uint16_t>(~kDaclProtectedControl);
        return 0;
    }

    std::map<std::wstring, SecurityParts> objects;
    std::vector<Write> writes;
    std::uint32_t readError = 0;
    std::uint32_t writeError = 0;
    int reads = 0;
    int sidLookups = 0;
    int nameLookups = 0;

private:
    std::vector<AccountNames> m_accounts;
};

// An ACL's bytes: revision 2, with the entries (type, flags, mask, SID text) packed behind.
inline AclBytes MakeAclBytes(
    std::initializer_list<std::tuple<std::uint8_t, std::uint8_t, std::uint32_t, std::string_view>>
        entries)
{
    AclBytes bytes(8, 0);
    bytes[0] = 2;
    for (const auto& [type, flags, mask, sidText] : entries) {
        const Sid sid = *StringToSid(sidText);
        const std::size_t size = 8 + sid.size();
        bytes.insert(bytes.end(), {type, flags, static_cast<std::uint8_t>(size),
                                   static_cast<std::uint8_t>(size >> 8)});
        for (int b = 0; b < 4; ++b)
            bytes.push_back(static_cast<std::uint8_t>(mask >> (8 * b)));
        bytes.insert(bytes.end(), sid.begin(), sid.end());
    }
    bytes[2] = static_cast<std::uint8_t>(bytes.size());
    bytes[3] = static_cast<std::uint8_t>(bytes.size() >> 8);
    bytes[4] = static_cast<std::uint8_t>(entries.size());
    return bytes;
}

// Script text as Latin-1, the widening the statements' tests run with.
inline std::wstring WidenLatin1(std::string_view text)
{
    std::wstring wide;
    for (const char c : text)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

}  // namespace setup::sysconfig::security::testing
