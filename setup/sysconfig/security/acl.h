// Editable access control lists: a private copy of a DACL or SACL in the platform's layout with
// one entry object per ACE. Entry objects point into the list's buffer, so every resize, insert
// and delete renews their pointers; an entry that is deleted while someone still holds it first
// gets its own copy of its bytes. A list writes itself back through the security object it came
// from when flushed, or when its last holder lets go with changes pending.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "setup/sysconfig/security/account.h"
#include "setup/sysconfig/security/basic_object.h"
#include "setup/sysconfig/security/security_api.h"

namespace setup::sysconfig::security {

class Acl;
class SecurityObject;

inline constexpr std::size_t kAclHeaderSize = 8;
inline constexpr std::uint8_t kAclRevision = 2;
// The header states its size in 16 bits, and Windows wants a multiple of 4.
inline constexpr std::size_t kMaxAclSize = 65532;

// Entry types: 0 allow, 1 deny, 2 audit, 3 alarm; 5 and above carry an object type.
inline constexpr std::uint8_t kAccessAllowedAce = 0;
inline constexpr std::uint8_t kFirstObjectAceType = 5;
inline constexpr std::uint8_t kObjectAndContainerInherit = 3;
inline constexpr std::uint8_t kObjectInheritOnly = 9;

inline constexpr std::uint32_t kFileReadMask = 0x1200A9;
inline constexpr std::uint32_t kFileFullMask = 0x1F01FF;
inline constexpr std::uint32_t kPrinterUseMask = 0x20008;
inline constexpr std::uint32_t kPrinterAdministerMask = 0xF000C;
inline constexpr std::uint32_t kPrinterJobsMask = 0xF0010;

using Guid = std::array<std::uint8_t, 16>;

class Ace : public BasicObject
{
public:
    // A free-standing entry over its own bytes.
    Ace(SecurityContext& context, bool valid, std::uint32_t errorCode,
        std::vector<std::uint8_t> bytes, Ref<Account> account);
    // An entry inside a list's buffer.
    Ace(SecurityContext& context, Acl& owner, std::uint8_t* bytes);

    // The account of the entry's SID, looked up once.
    Ref<Account> GetAccount();
    std::uint8_t AceType();
    // A change between plain and object types is refused.
    bool SetAceType(std::uint8_t type);
    std::uint32_t Access();
    bool SetAccess(std::uint32_t mask);
    std::uint8_t AceFlags();
    bool SetAceFlags(std::uint8_t flags);
    const std::uint8_t* RawAce() const { return m_bytes; }
    std::uint16_t AceSize() const;
    // The list the entry belongs to; without one an invalid placeholder list that says so.
    Ref<Acl> OwnerAcl();

    bool IsObjectAce() const;
    // Object entries' fields; 0 or all zero for plain entries and for fields the entry lacks.
    std::uint32_t ObjectFlags();
    Guid ObjectType();
    Guid InheritedObjectType();
    // The entry's layout stays as it is: flags may not add or drop a GUID, and a GUID is written
    // only where the flags say it is; anything else is error 87.
    bool SetObjectFlags(std::uint32_t flags);
    bool SetObjectType(const Guid& guid);
    bool SetInheritedObjectType(const Guid& guid);

private:
    friend class Acl;
    void Repoint(std::uint8_t* bytes) { m_bytes = bytes; }
    // Leaves its list with a copy of its bytes.
    void Detach();
    void MarkOwnerModified();
    std::size_t SidOffset() const;
    std::optional<Guid> GuidAt(std::size_t offset) const;
    bool SetGuidAt(std::uint32_t presentFlag, std::size_t offset, const Guid& guid);

    SecurityContext& m_context;
    std::uint8_t* m_bytes = nullptr;
    std::vector<std::uint8_t> m_own;
    Ref<Account> m_account;
    Acl* m_owner = nullptr;  // not counted: the list holds its entries
    Ref<Acl> m_ownerKeeper;  // the placeholder made when there is no owner
};

// An allow, deny or audit entry for the account; object entry types throw std::invalid_argument.
Ref<Ace> NewAce(SecurityContext& context, Ref<Account> account, std::uint32_t mask,
                std::uint8_t aceType, std::uint8_t aceFlags);

class Acl : public BasicObject
{
public:
    // An empty list with no owner and no buffer (not present).
    explicit Acl(SecurityContext& context, bool valid = true, std::uint32_t errorCode = 0,
                 std::string errorText = {});
    // A copy of a platform list read from the owner; nullopt is a null list.
    Acl(SecurityContext& context, Ref<SecurityObject> owner,
        const std::optional<AclBytes>& platformAcl);
    ~Acl() override;

    bool CheckValid();
    int Count() const { return static_cast<int>(m_entries.size()); }
    // Out of range: an invalid entry carrying 0x10006.
    Ref<Ace> Aces(int index);
    int AddNewAce(Ref<Account> account, std::uint32_t mask, std::uint8_t aceType,
                  std::uint8_t aceFlags);
    int AddAce(Ace& ace);
    int InsertAce(Ace& ace, int index);
    Ref<Ace> FindAce(Account* account, int startIndex);
    bool DeleteAce(int index);
    bool DeleteAccountAces(Account* account);

    bool IsPresent() const { return IsValid() && m_buffer.has_value(); }
    bool MakePresent();
    bool Clear();
    bool MakeAbsent();
    // Replace the account's entries by the fixed grant of read or full access.
    bool GrantFileRights(Account* account, bool full);
    bool GrantPrinterRights(Account* account, bool full);

    bool IsModified() const { return m_modified; }
    bool Flush();
    const std::uint8_t* RawAcl() const { return m_buffer ? m_buffer->data() : nullptr; }
    std::uint16_t AclSize() const;
    std::uint32_t UsedSize() const { return m_used; }
    // The list as written to the platform; nullopt for a null list.
    std::optional<AclBytes> Bytes() const { return m_buffer; }
    Ref<SecurityObject> OwnerSecurityObject();

private:
    friend class Ace;
    friend class SecurityObject;
    void LastReleased() override;
    // Room for `request` bytes, within the limit the header can state.
    bool Reserve(std::size_t request);
    void WriteHeaderCount();
    void RenewPointers();
    int InsertBytes(const Ace& ace, std::size_t at, int index);
    void MarkModified() { m_modified = true; }
    void SetOwner(SecurityObject* owner);

    SecurityContext& m_context;
    std::optional<std::vector<std::uint8_t>> m_buffer;  // its size is AclSize
    std::uint32_t m_used = 0;
    Ref<SecurityObject> m_owner;
    bool m_modified = false;
    std::vector<Ref<Ace>> m_entries;
};

}  // namespace setup::sysconfig::security
