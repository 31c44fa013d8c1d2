#include "setup/sysconfig/security/account.h"

#include <array>

namespace setup::sysconfig::security {

Ref<Account> SecurityContext::FindBySid(const Sid& sid) const
{
    for (const Ref<Account>& account : m_cache) {
        const Sid* known = account->GetSid();
        if (known && *known == sid)
            return account;
    }
    return nullptr;
}

Ref<Account> SecurityContext::FindByName(const std::string& name) const
{
    for (const Ref<Account>& account : m_cache) {
        if (account->Name() == name)
            return account;
    }
    return nullptr;
}

void SecurityContext::Insert(Account& account)
{
    m_cache.emplace_back(&account);
}

Account::Account(SecurityContext& context, bool valid, std::uint32_t errorCode,
                 std::string errorText, const Sid* sid, std::string name)
    : BasicObject(valid, errorCode, std::move(errorText)),
      m_context(context),
      m_name(std::move(name))
{
    if (sid)
        m_sid = *sid;
    if (IsValid() && m_sid.empty() && m_name.empty())
        Invalidate(kErrorInvalidParameter);
}

bool Account::CheckValid()
{
    if (IsValid()) {
        const Sid* sid = GetSid();
        if (sid && !IsValidSid(*sid))
            Invalidate(kErrorInvalidParameter);
    }
    return IsValid();
}

const std::string& Account::Name()
{
    if (m_name.empty() && IsValid() && !m_sid.empty()) {
        AccountNames names;
        const std::uint32_t error = m_context.Api().AccountOfSid(m_sid, names);
        if (error == 0) {
            m_name = names.name;
            m_domain = names.domain;
            m_type = names.type;
            MarkSucceeded();
            m_context.Insert(*this);
        } else {
            m_name.clear();
            m_domain.clear();
            Invalidate(error);
        }
    }
    return m_name;
}

const Sid* Account::GetSid()
{
    if (m_sid.empty() && IsValid() && !m_name.empty()) {
        AccountNames names;
        const std::uint32_t error = m_context.Api().AccountOfName(m_name, names);
        if (error == 0 && IsValidSid(names.sid)) {
            m_sid = names.sid;
            m_domain = names.domain;
            m_type = names.type;
            MarkSucceeded();
            m_context.Insert(*this);
        } else {
            m_domain.clear();
            m_sid.clear();
            Invalidate(error != 0 ? error : kErrorNoneMapped);
        }
    }
    return m_sid.empty() ? nullptr : &m_sid;
}

const std::string& Account::Domain()
{
    if (!Name().empty())
        GetSid();
    return m_domain;
}

std::uint8_t Account::AccountType()
{
    if (Name().empty() || !GetSid())
        return 0;
    return m_type;
}

std::size_t Account::SidSize()
{
    const Sid* sid = GetSid();
    return sid ? SidLength(*sid) : 0;
}

std::string Account::SidString()
{
    const Sid* sid = GetSid();
    return sid ? SidToString(*sid) : std::string();
}

bool Account::IsEqual(Account* other)
{
    if (!other)
        return false;
    if (other == this)
        return true;
    if (IsValid() != other->IsValid())
        return false;
    const Sid* mine = GetSid();
    const Sid* theirs = other->GetSid();
    return mine && theirs && *mine == *theirs;
}

Ref<Account> AccountBySid(SecurityContext& context, const Sid& sid)
{
    if (Ref<Account> cached = context.FindBySid(sid))
        return cached;
    Ref<Account> account = MakeRef<Account>(context, true, 0, std::string(), &sid, std::string());
    account->CheckValid();
    return account;
}

Ref<Account> AccountByName(SecurityContext& context, const std::string& nameOrSid)
{
    if (const std::optional<Sid> sid = StringToSid(nameOrSid))
        return AccountBySid(context, *sid);
    if (Ref<Account> cached = context.FindByName(nameOrSid))
        return cached;
    Ref<Account> account = MakeRef<Account>(context, true, 0, std::string(), nullptr, nameOrSid);
    account->CheckValid();
    return account;
}

Ref<Account> EveryoneAccount(SecurityContext& context)
{
    const std::array<std::uint32_t, 1> world{0};
    return AccountBySid(context, MakeSid(1, world));
}

Ref<Account> AuthenticatedUsersAccount(SecurityContext& context)
{
    const std::array<std::uint32_t, 1> authenticated{11};
    return AccountBySid(context, MakeSid(5, authenticated));
}

Ref<Account> CurrentUserAccount(SecurityContext& context)
{
    Sid sid;
    const std::uint32_t error = context.Api().CurrentUserSid(sid);
    if (error != 0)
        return MakeRef<Account>(context, false, error, std::string(), nullptr, std::string());
    return AccountBySid(context, sid);
}

}  // namespace setup::sysconfig::security
