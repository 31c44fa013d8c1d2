#include "setup/sysconfig/security/security_api_win32.h"

#include <windows.h>

#include <aclapi.h>

#include <memory>

namespace setup::sysconfig::security {

namespace {

struct LocalFreeDeleter
{
    void operator()(void* block) const { LocalFree(block); }
};
using LocalBlock = std::unique_ptr<void, LocalFreeDeleter>;

Sid CopySid(PSID sid)
{
    if (!sid || !::IsValidSid(sid))
        return {};
    const auto* bytes = static_cast<const std::uint8_t*>(sid);
    return Sid(bytes, bytes + GetLengthSid(sid));
}

std::optional<AclBytes> CopyAcl(PACL acl)
{
    if (!acl)
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(acl);
    return AclBytes(bytes, bytes + acl->AclSize);
}

PSID SidPointer(const Sid& sid)
{
    return sid.empty() ? nullptr : const_cast<std::uint8_t*>(sid.data());
}

PACL AclPointer(const std::optional<AclBytes>& acl)
{
    return acl && !acl->empty() ? reinterpret_cast<PACL>(const_cast<std::uint8_t*>(acl->data()))
                                : nullptr;
}

HANDLE TargetHandle(const SecurityTarget& target)
{
    return reinterpret_cast<HANDLE>(target.handle);
}

std::uint32_t ReadKernelObject(const SecurityTarget& target, std::uint32_t parts,
                               SecurityParts& read)
{
    DWORD needed = 0;
    GetKernelObjectSecurity(TargetHandle(target), parts, nullptr, 0, &needed);
    if (needed == 0)
        return GetLastError();
    LocalBlock block(LocalAlloc(LPTR, needed));
    if (!block)
        return GetLastError();
    const PSECURITY_DESCRIPTOR descriptor = block.get();
    if (!GetKernelObjectSecurity(TargetHandle(target), parts, descriptor, needed, &needed))
        return GetLastError();
    PSID sid = nullptr;
    BOOL defaulted = FALSE;
    if ((parts & kOwnerPart) && GetSecurityDescriptorOwner(descriptor, &sid, &defaulted))
        read.owner = CopySid(sid);
    if ((parts & kGroupPart) && GetSecurityDescriptorGroup(descriptor, &sid, &defaulted))
        read.group = CopySid(sid);
    BOOL present = FALSE;
    PACL acl = nullptr;
    if (parts & kDaclPart) {
        if (!GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted))
            return GetLastError();
        read.dacl = present ? CopyAcl(acl) : std::nullopt;
    }
    if (parts & kSaclPart) {
        if (!GetSecurityDescriptorSacl(descriptor, &present, &acl, &defaulted))
            return GetLastError();
        read.sacl = present ? CopyAcl(acl) : std::nullopt;
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (GetSecurityDescriptorControl(descriptor, &control, &revision))
        read.control = control;
    return 0;
}

std::uint32_t WriteKernelObject(const SecurityTarget& target, std::uint32_t information,
                                const SecurityParts& parts)
{
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION))
        return GetLastError();
    if ((information & kOwnerPart) &&
        !SetSecurityDescriptorOwner(&descriptor, SidPointer(parts.owner), FALSE))
        return GetLastError();
    if ((information & kGroupPart) &&
        !SetSecurityDescriptorGroup(&descriptor, SidPointer(parts.group), FALSE))
        return GetLastError();
    if ((information & kDaclPart) && !SetSecurityDescriptorDacl(&descriptor, parts.dacl.has_value(),
                                                                AclPointer(parts.dacl), FALSE))
        return GetLastError();
    if ((information & kSaclPart) && !SetSecurityDescriptorSacl(&descriptor, parts.sacl.has_value(),
                                                                AclPointer(parts.sacl), FALSE))
        return GetLastError();
    if (!SetKernelObjectSecurity(TargetHandle(target), information & 0xF, &descriptor))
        return GetLastError();
    return 0;
}

}  // namespace

std::uint32_t Win32SecurityApi::AccountOfSid(const Sid& sid, AccountNames& names)
{
    DWORD nameSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use = SidTypeUnknown;
    LookupAccountSidA(nullptr, SidPointer(sid), nullptr, &nameSize, nullptr, &domainSize, &use);
    if (nameSize == 0)
        return GetLastError();
    std::string name(nameSize, '\0');
    std::string domain(domainSize + 1, '\0');
    if (!LookupAccountSidA(nullptr, SidPointer(sid), name.data(), &nameSize, domain.data(),
                           &domainSize, &use))
        return GetLastError();
    names.name = name.c_str();
    names.domain = domain.c_str();
    names.sid = sid;
    names.type = static_cast<std::uint8_t>(use);
    return 0;
}

std::uint32_t Win32SecurityApi::AccountOfName(const std::string& name, AccountNames& names)
{
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use = SidTypeUnknown;
    LookupAccountNameA(nullptr, name.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
    if (sidSize == 0)
        return GetLastError();
    Sid sid(sidSize, 0);
    std::string domain(domainSize + 1, '\0');
    if (!LookupAccountNameA(nullptr, name.c_str(), sid.data(), &sidSize, domain.data(), &domainSize,
                            &use))
        return GetLastError();
    names.name = name;
    names.domain = domain.c_str();
    names.sid = CopySid(sid.data());
    names.type = static_cast<std::uint8_t>(use);
    return 0;
}

std::uint32_t Win32SecurityApi::CurrentUserSid(Sid& sid)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return GetLastError();
    const std::unique_ptr<void, decltype(&CloseHandle)> tokenOwner(token, &CloseHandle);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0)
        return GetLastError();
    std::vector<std::uint8_t> buffer(2 * std::size_t{size});
    if (!GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()),
                             &size))
        return GetLastError();
    sid = CopySid(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
    return 0;
}

std::uint32_t Win32SecurityApi::ReadSecurity(const SecurityTarget& target, std::uint32_t parts,
                                             SecurityParts& read)
{
    if (target.kind == 6)
        return ReadKernelObject(target, parts, read);
    PSID owner = nullptr;
    PSID group = nullptr;
    PACL dacl = nullptr;
    PACL sacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const auto kind = static_cast<SE_OBJECT_TYPE>(target.kind);
    const DWORD result = target.name.empty()
                             ? GetSecurityInfo(TargetHandle(target), kind, parts, &owner, &group,
                                               &dacl, &sacl, &descriptor)
                             : GetNamedSecurityInfoW(target.name.c_str(), kind, parts, &owner,
                                                     &group, &dacl, &sacl, &descriptor);
    if (result != ERROR_SUCCESS)
        return result;
    const LocalBlock block(descriptor);
    read.owner = CopySid(owner);
    read.group = CopySid(group);
    read.dacl = CopyAcl(dacl);
    read.sacl = CopyAcl(sacl);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (descriptor && GetSecurityDescriptorControl(descriptor, &control, &revision))
        read.control = control;
    return 0;
}

std::uint32_t Win32SecurityApi::WriteSecurity(const SecurityTarget& target,
                                              std::uint32_t information, const SecurityParts& parts)
{
    if (target.kind == 6)
        return WriteKernelObject(target, information, parts);
    const auto kind = static_cast<SE_OBJECT_TYPE>(target.kind);
    PSID owner = (information & kOwnerPart) ? SidPointer(parts.owner) : nullptr;
    PSID group = (information & kGroupPart) ? SidPointer(parts.group) : nullptr;
    PACL dacl = (information & kDaclPart) ? AclPointer(parts.dacl) : nullptr;
    PACL sacl = (information & kSaclPart) ? AclPointer(parts.sacl) : nullptr;
    if (target.name.empty())
        return SetSecurityInfo(TargetHandle(target), kind, information, owner, group, dacl, sacl);
    std::wstring name = target.name;
    return SetNamedSecurityInfoW(name.data(), kind, information, owner, group, dacl, sacl);
}

}  // namespace setup::sysconfig::security
