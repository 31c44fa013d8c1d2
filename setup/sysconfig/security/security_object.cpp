#include "setup/sysconfig/security/security_object.h"

#include <array>
#include <utility>

#include "setup/sysconfig/security/ansi_text.h"

namespace setup::sysconfig::security {

namespace {

constexpr std::uintptr_t kInvalidHandle = ~std::uintptr_t{0};

struct RootGroup
{
    const wchar_t* name;
    std::array<const wchar_t*, 4> aliases;
};

constexpr RootGroup kRootGroups[] = {
    {L"MACHINE", {L"MACHINE", L"HKLM", L"LOCAL_MACHINE", nullptr}},
    {L"USERS", {L"USERS", L"HKU", nullptr, nullptr}},
    {L"CURRENT_USER", {L"CURRENT_USER", L"HKCU", L"USER", nullptr}},
    {L"CONFIG", {L"CONFIG", L"HKCC", L"CURRENT_CONFIG", nullptr}},
    {L"CLASSES_ROOT", {L"CLASSES_ROOT", L"HKCR", L"CLASSES", nullptr}},
};

}  // namespace

std::wstring NormalizeRegistryRoot(std::wstring_view keyPath)
{
    if (StartsWithIgnoreCase(keyPath, L"HKEY_"))
        keyPath.remove_prefix(5);
    const std::size_t slash = keyPath.find(L'\\');
    const std::wstring_view root = keyPath.substr(0, slash);
    const std::wstring_view rest =
        slash == std::wstring_view::npos ? std::wstring_view() : keyPath.substr(slash);
    for (const RootGroup& group : kRootGroups) {
        for (const wchar_t* alias : group.aliases) {
            if (alias && TextEqualsIgnoreCase(root, std::wstring_view(alias)))
                return group.name + std::wstring(rest);
        }
    }
    return UpperCaseText(root) + std::wstring(rest);
}

SecurityObject::SecurityObject(SecurityContext& context, bool valid, std::uint32_t errorCode,
                               std::string errorText, std::int32_t kind, std::wstring name,
                               std::uintptr_t handle)
    : BasicObject(valid, errorCode, std::move(errorText)), m_context(context)
{
    m_target.kind = kind;
    m_target.name = std::move(name);
    m_target.handle = handle;
    if (!IsValid())
        return;
    if (kind == 0 || handle == kInvalidHandle || (m_target.name.empty() && handle == 0))
        Invalidate(kErrorInvalidParameter);
}

SecurityObject::~SecurityObject()
{
    // Lists still alive hold this object, so none can be cached here any more.
    m_cachedDacl = nullptr;
    m_cachedSacl = nullptr;
}

void SecurityObject::ForgetAcl(Acl* acl)
{
    if (m_cachedDacl == acl)
        m_cachedDacl = nullptr;
    if (m_cachedSacl == acl)
        m_cachedSacl = nullptr;
}

bool SecurityObject::Read(std::uint32_t parts, SecurityParts& read)
{
    if (m_target.kind == kKernelObject && !m_target.name.empty())
        return SetErrorCode(kErrorInvalidParameter);
    return SetErrorCode(m_context.Api().ReadSecurity(m_target, parts, read));
}

bool SecurityObject::Write(std::uint32_t information, SecurityParts parts)
{
    if (m_target.kind != kKernelObject) {
        // A protection request carries the list it protects: read it when it is not written.
        const auto carry = [&](std::uint32_t part, std::uint32_t requests) {
            if (!(information & requests) || (information & part))
                return;
            SecurityParts current;
            if (m_context.Api().ReadSecurity(m_target, part, current) != 0) {
                information &= ~requests;
                return;
            }
            (part == kDaclPart ? parts.dacl : parts.sacl) =
                part == kDaclPart ? current.dacl : current.sacl;
            information |= part;
        };
        carry(kDaclPart, kProtectedDacl | kUnprotectedDacl);
        carry(kSaclPart, kProtectedSacl | kUnprotectedSacl);
    }
    return SetErrorCode(m_context.Api().WriteSecurity(m_target, information, parts));
}

Ref<Account> SecurityObject::ReadAccount(std::uint32_t part)
{
    SecurityParts read;
    if (CheckObject() && Read(part, read)) {
        const Sid& sid = part == kOwnerPart ? read.owner : read.group;
        if (IsValidSid(sid))
            return AccountBySid(m_context, sid);
        SetErrorCode(kErrorInvalidParameter);
    }
    return MakeRef<Account>(m_context, false, ErrorCode(), ErrorText(), nullptr, std::string());
}

bool SecurityObject::WriteAccount(std::uint32_t part, Account* account)
{
    if (!CheckObject())
        return false;
    const Sid* sid = account && account->IsValid() ? account->GetSid() : nullptr;
    if (!sid)
        return SetErrorCode(kErrorInvalidParameter);
    SecurityParts parts;
    (part == kOwnerPart ? parts.owner : parts.group) = *sid;
    return Write(part, std::move(parts));
}

Ref<Account> SecurityObject::Owner()
{
    return ReadAccount(kOwnerPart);
}

bool SecurityObject::SetOwner(Account* account)
{
    return WriteAccount(kOwnerPart, account);
}

Ref<Account> SecurityObject::Group()
{
    return ReadAccount(kGroupPart);
}

bool SecurityObject::SetGroup(Account* account)
{
    return WriteAccount(kGroupPart, account);
}

Ref<Acl> SecurityObject::ReadAcl(std::uint32_t part, Acl*& cached)
{
    if (!CheckObject())
        return MakeRef<Acl>(m_context, false, ErrorCode(), ErrorText());
    if (cached)
        return Ref<Acl>(cached);
    SecurityParts read;
    if (!Read(part, read))
        return MakeRef<Acl>(m_context, false, ErrorCode(), ErrorText());
    Ref<Acl> acl = MakeRef<Acl>(m_context, Ref<SecurityObject>(this),
                                part == kDaclPart ? read.dacl : read.sacl);
    if (!acl->IsValid()) {
        CopyErrorFrom(*acl);
        return acl;
    }
    cached = acl.Get();
    return acl;
}

bool SecurityObject::WriteAcl(std::uint32_t part, Acl& acl, Acl*& cached)
{
    if (!CheckObject())
        return false;
    if (!acl.IsValid())
        return SetErrorCode(kErrorInvalidParameter);
    const Ref<SecurityObject> self(this);  // dropping another list's hold must not end this one
    SecurityParts parts;
    (part == kDaclPart ? parts.dacl : parts.sacl) = acl.Bytes();
    if (!Write(part, std::move(parts)))
        return false;
    if (cached && cached != &acl) {
        Acl* previous = std::exchange(cached, nullptr);
        previous->m_owner.Reset();
    }
    cached = &acl;
    if (acl.m_owner.Get() != this) {
        if (acl.m_owner)
            acl.m_owner->ForgetAcl(&acl);
        acl.SetOwner(this);
    }
    return true;
}

Ref<Acl> SecurityObject::Dacl()
{
    return ReadAcl(kDaclPart, m_cachedDacl);
}

bool SecurityObject::SetDacl(Acl& acl)
{
    return WriteAcl(kDaclPart, acl, m_cachedDacl);
}

Ref<Acl> SecurityObject::Sacl()
{
    return ReadAcl(kSaclPart, m_cachedSacl);
}

bool SecurityObject::SetSacl(Acl& acl)
{
    return WriteAcl(kSaclPart, acl, m_cachedSacl);
}

bool SecurityObject::ReadProtection(std::uint32_t part, std::uint16_t control)
{
    SecurityParts read;
    if (!CheckObject() || !Read(part, read))
        return false;
    return (read.control & control) != 0;
}

bool SecurityObject::WriteProtection(std::uint32_t protectedBit, std::uint32_t unprotectedBit,
                                     bool protect)
{
    if (!CheckObject())
        return false;
    // Write carries the current list along with the request.
    return Write(protect ? protectedBit : unprotectedBit, SecurityParts{});
}

bool SecurityObject::DaclProtected()
{
    return ReadProtection(kDaclPart, kDaclProtectedControl);
}

bool SecurityObject::SetDaclProtected(bool protect)
{
    return WriteProtection(kProtectedDacl, kUnprotectedDacl, protect);
}

bool SecurityObject::SaclProtected()
{
    return ReadProtection(kSaclPart, kSaclProtectedControl);
}

bool SecurityObject::SetSaclProtected(bool protect)
{
    return WriteProtection(kProtectedSacl, kUnprotectedSacl, protect);
}

Ref<SecurityObject> FileSecurityObject(SecurityContext& context, std::wstring path)
{
    return MakeRef<SecurityObject>(context, true, 0, std::string(), kFileObject, std::move(path),
                                   0);
}

Ref<SecurityObject> ServiceSecurityObject(SecurityContext& context, std::wstring name)
{
    return MakeRef<SecurityObject>(context, true, 0, std::string(), kServiceObject, std::move(name),
                                   0);
}

Ref<SecurityObject> PrinterSecurityObject(SecurityContext& context, std::wstring name)
{
    return MakeRef<SecurityObject>(context, true, 0, std::string(), kPrinterObject, std::move(name),
                                   0);
}

Ref<SecurityObject> RegistrySecurityObject(SecurityContext& context, std::wstring_view keyPath)
{
    return MakeRef<SecurityObject>(context, true, 0, std::string(), kRegistryKeyObject,
                                   NormalizeRegistryRoot(keyPath), 0);
}

Ref<SecurityObject> ShareSecurityObject(SecurityContext& context, std::wstring name)
{
    return MakeRef<SecurityObject>(context, true, 0, std::string(), kShareObject, std::move(name),
                                   0);
}

Ref<SecurityObject> KernelSecurityObject(SecurityContext& context, std::uintptr_t handle)
{
    return MakeRef<SecurityObject>(context, true, 0, std::string(), kKernelObject, std::wstring(),
                                   handle);
}

}  // namespace setup::sysconfig::security
