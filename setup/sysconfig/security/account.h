// Accounts: a user or group named by its SID, with its name, domain and kind looked up lazily and
// once, and the cache that lets repeated lookups of one account return one object. Everything
// runs against the context's security services; the context holds the cache, so nothing of it is
// process-wide.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/sysconfig/security/basic_object.h"
#include "setup/sysconfig/security/security_api.h"

namespace setup::sysconfig::security {

class Account;

// The account lookups' cache and the services they use.
class SecurityContext
{
public:
    explicit SecurityContext(ISecurityApi& api) : m_api(api) {}
    ISecurityApi& Api() { return m_api; }

    Ref<Account> FindBySid(const Sid& sid) const;
    Ref<Account> FindByName(const std::string& name) const;
    void Insert(Account& account);
    void FlushAccountCache() { m_cache.clear(); }

private:
    ISecurityApi& m_api;
    std::vector<Ref<Account>> m_cache;
};

class Account : public BasicObject
{
public:
    // Without a name and a SID the account is invalid with error 87.
    Account(SecurityContext& context, bool valid, std::uint32_t errorCode, std::string errorText,
            const Sid* sid, std::string name);

    // A SID that fails the check makes the account invalid.
    bool CheckValid();
    // Looked up from the SID the first time.
    const std::string& Name();
    const std::string& Domain();
    std::uint8_t AccountType();
    // Looked up from the name the first time; nullptr when unknown.
    const Sid* GetSid();
    std::size_t SidSize();
    std::string SidString();
    bool IsEqual(Account* other);

private:
    SecurityContext& m_context;
    std::string m_name;
    std::string m_domain;
    Sid m_sid;  // empty until known
    std::uint8_t m_type = 0;
};

// Factories: each returns an account, an invalid one that carries the failure when need be.
Ref<Account> AccountBySid(SecurityContext& context, const Sid& sid);
// A SID text names the account of that SID; anything else is looked up as a name.
Ref<Account> AccountByName(SecurityContext& context, const std::string& nameOrSid);
Ref<Account> EveryoneAccount(SecurityContext& context);
Ref<Account> AuthenticatedUsersAccount(SecurityContext& context);
Ref<Account> CurrentUserAccount(SecurityContext& context);

}  // namespace setup::sysconfig::security
