// Security objects: the library's handle on one securable thing (file or folder, service,
// printer, registry key, share or kernel object). They read and write its owner, group, DACL, SACL
// and the protection of both lists, and hand the lists out as Acl objects that write themselves
// back through here. Failures go to the object's error state; getters return invalid objects that
// carry the error rather than nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "setup/sysconfig/security/acl.h"

namespace setup::sysconfig::security {

// The platform's object kinds.
inline constexpr std::int32_t kFileObject = 1;
inline constexpr std::int32_t kServiceObject = 2;
inline constexpr std::int32_t kPrinterObject = 3;
inline constexpr std::int32_t kRegistryKeyObject = 4;
inline constexpr std::int32_t kShareObject = 5;
inline constexpr std::int32_t kKernelObject = 6;

class SecurityObject : public BasicObject
{
public:
    // Validation may leave the object invalid with the code of the first failed check.
    SecurityObject(SecurityContext& context, bool valid, std::uint32_t errorCode,
                   std::string errorText, std::int32_t kind, std::wstring name,
                   std::uintptr_t handle);
    ~SecurityObject() override;

    std::int32_t ObjectType() const { return m_target.kind; }
    const std::wstring& ObjectName() const { return m_target.name; }
    std::uintptr_t ObjectHandle() const { return m_target.handle; }

    Ref<Account> Owner();
    bool SetOwner(Account* account);
    Ref<Account> Group();
    bool SetGroup(Account* account);
    // The cached list while someone holds it, else read afresh.
    Ref<Acl> Dacl();
    bool SetDacl(Acl& acl);
    Ref<Acl> Sacl();
    bool SetSacl(Acl& acl);
    bool DaclProtected();
    bool SetDaclProtected(bool protect);
    bool SaclProtected();
    bool SetSaclProtected(bool protect);

    Acl* CachedDacl() const { return m_cachedDacl; }
    Acl* CachedSacl() const { return m_cachedSacl; }

private:
    friend class Acl;
    void ForgetAcl(Acl* acl);
    bool Read(std::uint32_t parts, SecurityParts& read);
    bool Write(std::uint32_t information, SecurityParts parts);
    Ref<Account> ReadAccount(std::uint32_t part);
    bool WriteAccount(std::uint32_t part, Account* account);
    Ref<Acl> ReadAcl(std::uint32_t part, Acl*& cached);
    bool WriteAcl(std::uint32_t part, Acl& acl, Acl*& cached);
    bool ReadProtection(std::uint32_t part, std::uint16_t control);
    bool WriteProtection(std::uint32_t protectedBit, std::uint32_t unprotectedBit, bool protect);

    SecurityContext& m_context;
    SecurityTarget m_target;
    Acl* m_cachedDacl = nullptr;  // not counted: each list holds its owner
    Acl* m_cachedSacl = nullptr;
};

// "HKEY_LOCAL_MACHINE\x", "HKLM\x" -> "MACHINE\x" and the other roots alike; an unknown root is
// upper-cased and kept.
std::wstring NormalizeRegistryRoot(std::wstring_view keyPath);

Ref<SecurityObject> FileSecurityObject(SecurityContext& context, std::wstring path);
Ref<SecurityObject> ServiceSecurityObject(SecurityContext& context, std::wstring name);
Ref<SecurityObject> PrinterSecurityObject(SecurityContext& context, std::wstring name);
Ref<SecurityObject> RegistrySecurityObject(SecurityContext& context, std::wstring_view keyPath);
Ref<SecurityObject> ShareSecurityObject(SecurityContext& context, std::wstring name);
Ref<SecurityObject> KernelSecurityObject(SecurityContext& context, std::uintptr_t handle);

}  // namespace setup::sysconfig::security
