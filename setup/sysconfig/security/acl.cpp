#include "setup/sysconfig/security/acl.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "setup/sysconfig/security/security_object.h"

namespace setup::sysconfig::security {

namespace {

constexpr std::size_t kAceHeaderSize = 8;  // type, flags, size, mask
constexpr std::uint32_t kObjectTypePresent = 1;
constexpr std::uint32_t kInheritedObjectTypePresent = 2;

std::uint16_t Read16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::uint32_t Read32(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} | (std::uint32_t{at[1]} << 8) | (std::uint32_t{at[2]} << 16) |
           (std::uint32_t{at[3]} << 24);
}

void Write16(std::uint8_t* at, std::size_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Write32(std::uint8_t* at, std::uint32_t value)
{
    for (int b = 0; b < 4; ++b)
        at[b] = static_cast<std::uint8_t>(value >> (8 * b));
}

std::size_t RoundUp4(std::size_t size)
{
    return (size + 3) & ~std::size_t{3};
}

}  // namespace

// ---- Ace

Ace::Ace(SecurityContext& context, bool valid, std::uint32_t errorCode,
         std::vector<std::uint8_t> bytes, Ref<Account> account)
    : BasicObject(valid, errorCode),
      m_context(context),
      m_own(std::move(bytes)),
      m_account(std::move(account))
{
    m_bytes = m_own.empty() ? nullptr : m_own.data();
}

Ace::Ace(SecurityContext& context, Acl& owner, std::uint8_t* bytes)
    : m_context(context), m_bytes(bytes), m_owner(&owner)
{}

void Ace::Detach()
{
    if (m_bytes && m_bytes != m_own.data()) {
        m_own.assign(m_bytes, m_bytes + AceSize());
        m_bytes = m_own.data();
    }
    m_owner = nullptr;
}

void Ace::MarkOwnerModified()
{
    if (m_owner && m_owner->IsValid())
        m_owner->MarkModified();
}

std::uint16_t Ace::AceSize() const
{
    return m_bytes ? Read16(m_bytes + 2) : 0;
}

bool Ace::IsObjectAce() const
{
    return m_bytes && m_bytes[0] >= kFirstObjectAceType;
}

std::size_t Ace::SidOffset() const
{
    if (!IsObjectAce())
        return kAceHeaderSize;
    std::size_t offset = kAceHeaderSize + 4;
    if (AceSize() < offset)
        return AceSize();
    const std::uint32_t flags = Read32(m_bytes + kAceHeaderSize);
    if (flags & kObjectTypePresent)
        offset += 16;
    if (flags & kInheritedObjectTypePresent)
        offset += 16;
    return offset;
}

Ref<Account> Ace::GetAccount()
{
    if (!CheckObject())
        return MakeRef<Account>(m_context, false, kErrorObjectInvalid, std::string(), nullptr,
                                std::string());
    if (!m_account) {
        const std::size_t offset = std::min<std::size_t>(SidOffset(), AceSize());
        const Sid sid(m_bytes + offset, m_bytes + AceSize());
        m_account =
            IsValidSid(sid)
                ? AccountBySid(
                      m_context,
                      Sid(sid.begin(), sid.begin() + static_cast<std::ptrdiff_t>(SidLength(sid))))
                : MakeRef<Account>(m_context, false, kErrorInvalidParameter, std::string(), nullptr,
                                   std::string());
    }
    return m_account;
}

std::uint8_t Ace::AceType()
{
    return CheckObject() && m_bytes ? m_bytes[0] : 0;
}

bool Ace::SetAceType(std::uint8_t type)
{
    if (!CheckObject())
        return false;
    if ((type >= kFirstObjectAceType) != IsObjectAce())
        return SetErrorCode(kErrorAceKindChange);
    if (m_bytes[0] != type) {
        m_bytes[0] = type;
        MarkOwnerModified();
    }
    return true;
}

std::uint32_t Ace::Access()
{
    return CheckObject() && m_bytes ? Read32(m_bytes + 4) : 0;
}

bool Ace::SetAccess(std::uint32_t mask)
{
    if (!CheckObject())
        return false;
    if (Read32(m_bytes + 4) != mask) {
        Write32(m_bytes + 4, mask);
        MarkOwnerModified();
    }
    return true;
}

std::uint8_t Ace::AceFlags()
{
    return CheckObject() && m_bytes ? m_bytes[1] : 0;
}

bool Ace::SetAceFlags(std::uint8_t flags)
{
    if (!CheckObject())
        return false;
    if (m_bytes[1] != flags) {
        m_bytes[1] = flags;
        MarkOwnerModified();
    }
    return true;
}

Ref<Acl> Ace::OwnerAcl()
{
    if (m_owner)
        return Ref<Acl>(m_owner);
    if (!m_ownerKeeper)
        m_ownerKeeper = MakeRef<Acl>(m_context, false, kErrorAceWithoutOwner);
    SetErrorCode(kErrorAceWithoutOwner);
    return m_ownerKeeper;
}

std::uint32_t Ace::ObjectFlags()
{
    if (!CheckObject() || !IsObjectAce() || AceSize() < kAceHeaderSize + 4)
        return 0;
    return Read32(m_bytes + kAceHeaderSize);
}

std::optional<Guid> Ace::GuidAt(std::size_t offset) const
{
    if (offset + 16 > AceSize())
        return std::nullopt;
    Guid guid{};
    std::memcpy(guid.data(), m_bytes + offset, 16);
    return guid;
}

Guid Ace::ObjectType()
{
    const std::uint32_t flags = ObjectFlags();
    if (!(flags & kObjectTypePresent))
        return Guid{};
    return GuidAt(kAceHeaderSize + 4).value_or(Guid{});
}

Guid Ace::InheritedObjectType()
{
    const std::uint32_t flags = ObjectFlags();
    if (!(flags & kInheritedObjectTypePresent))
        return Guid{};
    const std::size_t offset = kAceHeaderSize + 4 + ((flags & kObjectTypePresent) ? 16 : 0);
    return GuidAt(offset).value_or(Guid{});
}

bool Ace::SetObjectFlags(std::uint32_t flags)
{
    if (!CheckObject())
        return false;
    if (!IsObjectAce() || AceSize() < kAceHeaderSize + 4)
        return SetErrorCode(kErrorInvalidParameter);
    const std::uint32_t current = Read32(m_bytes + kAceHeaderSize);
    const std::uint32_t layout = kObjectTypePresent | kInheritedObjectTypePresent;
    if ((current & layout) != (flags & layout))
        return SetErrorCode(kErrorInvalidParameter);
    if (current != flags) {
        Write32(m_bytes + kAceHeaderSize, flags);
        MarkOwnerModified();
    }
    return true;
}

bool Ace::SetGuidAt(std::uint32_t presentFlag, std::size_t offset, const Guid& guid)
{
    if (!CheckObject())
        return false;
    if (!(ObjectFlags() & presentFlag) || offset + 16 > AceSize())
        return SetErrorCode(kErrorInvalidParameter);
    if (std::memcmp(m_bytes + offset, guid.data(), 16) != 0) {
        std::memcpy(m_bytes + offset, guid.data(), 16);
        MarkOwnerModified();
    }
    return SetErrorCode(0);
}

bool Ace::SetObjectType(const Guid& guid)
{
    return SetGuidAt(kObjectTypePresent, kAceHeaderSize + 4, guid);
}

bool Ace::SetInheritedObjectType(const Guid& guid)
{
    const std::size_t offset = kAceHeaderSize + 4 + ((ObjectFlags() & kObjectTypePresent) ? 16 : 0);
    return SetGuidAt(kInheritedObjectTypePresent, offset, guid);
}

Ref<Ace> NewAce(SecurityContext& context, Ref<Account> account, std::uint32_t mask,
                std::uint8_t aceType, std::uint8_t aceFlags)
{
    if (aceType >= kFirstObjectAceType)
        throw std::invalid_argument(
            "You can't create a new IObjectAce interface with this function.");
    const Sid* sid = account ? account->GetSid() : nullptr;
    if (!account || !account->IsValid() || !sid)
        return MakeRef<Ace>(context, false, kErrorInvalidParameter, std::vector<std::uint8_t>(),
                            account);
    std::vector<std::uint8_t> bytes(kAceHeaderSize + sid->size());
    bytes[0] = aceType;
    bytes[1] = aceFlags;
    Write16(bytes.data() + 2, bytes.size());
    Write32(bytes.data() + 4, mask);
    std::copy(sid->begin(), sid->end(), bytes.begin() + kAceHeaderSize);
    return MakeRef<Ace>(context, true, 0, std::move(bytes), account);
}

// ---- Acl

Acl::Acl(SecurityContext& context, bool valid, std::uint32_t errorCode, std::string errorText)
    : BasicObject(valid, errorCode, std::move(errorText)), m_context(context)
{}

Acl::Acl(SecurityContext& context, Ref<SecurityObject> owner,
         const std::optional<AclBytes>& platformAcl)
    : m_context(context), m_owner(std::move(owner))
{
    if (!platformAcl)
        return;
    const AclBytes& source = *platformAcl;
    const std::size_t size =
        source.size() >= 4 ? std::min<std::size_t>(Read16(&source[2]), source.size()) : 0;
    if (size < kAclHeaderSize) {
        Invalidate(kErrorInvalidParameter);
        return;
    }
    m_buffer.emplace(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(size));
    std::vector<std::uint8_t>& buffer = *m_buffer;
    const std::size_t count = Read16(&buffer[4]);
    std::size_t at = kAclHeaderSize;
    for (std::size_t i = 0; i < count; ++i) {
        if (at + 4 > size || Read16(&buffer[at + 2]) < kAceHeaderSize ||
            at + Read16(&buffer[at + 2]) > size) {
            Invalidate(kErrorInvalidParameter);  // an entry too short or running past the list
            break;
        }
        const std::size_t aceSize = Read16(&buffer[at + 2]);
        m_entries.push_back(MakeRef<Ace>(m_context, *this, buffer.data() + at));
        at += aceSize;
    }
    Write16(&buffer[4], m_entries.size());
    m_used = static_cast<std::uint32_t>(at);
}

Acl::~Acl()
{
    // Entries held elsewhere stay readable with their own bytes.
    for (Ref<Ace>& entry : m_entries) {
        if (entry->RefCount() > 1)
            entry->Detach();
    }
    if (m_owner)
        m_owner->ForgetAcl(this);
}

void Acl::LastReleased()
{
    if (IsValid() && m_modified)
        Flush();
}

void Acl::SetOwner(SecurityObject* owner)
{
    m_owner = Ref<SecurityObject>(owner);
}

bool Acl::CheckValid()
{
    if (IsValid() && m_buffer) {
        const std::vector<std::uint8_t>& buffer = *m_buffer;
        bool sound = buffer[0] >= 2 && buffer[0] <= 4 && m_used <= buffer.size() &&
                     Read16(&buffer[4]) == m_entries.size();
        if (sound) {
            for (const Ref<Ace>& entry : m_entries)
                sound = sound && entry->AceSize() >= kAceHeaderSize + 8;
        }
        if (!sound)
            Invalidate(kErrorInvalidParameter);
    }
    return IsValid();
}

std::uint16_t Acl::AclSize() const
{
    return m_buffer ? Read16(m_buffer->data() + 2) : 0;
}

bool Acl::Reserve(std::size_t request)
{
    request = std::max<std::size_t>(request, m_used);
    if (request > kMaxAclSize)
        return SetErrorCode(kErrorAllottedSpaceExceeded);
    if (!m_buffer) {
        m_buffer.emplace(RoundUp4(std::max(request, kAclHeaderSize)), 0);
        std::vector<std::uint8_t>& buffer = *m_buffer;
        buffer[0] = kAclRevision;
        Write16(&buffer[2], buffer.size());
        m_used = kAclHeaderSize;
        return true;
    }
    const std::size_t capacity = m_buffer->size();
    if (capacity >= request && capacity <= 4 * request)
        return true;
    std::size_t resized = capacity < request ? request + request / 2 : request;
    resized = std::min(RoundUp4(resized), kMaxAclSize);
    // A fresh block, so no entry can keep pointing into the old one.
    std::vector<std::uint8_t> moved(m_buffer->begin(),
                                    m_buffer->begin() + static_cast<std::ptrdiff_t>(m_used));
    moved.resize(resized, 0);
    *m_buffer = std::move(moved);
    Write16(m_buffer->data() + 2, resized);
    RenewPointers();
    return true;
}

void Acl::WriteHeaderCount()
{
    Write16(m_buffer->data() + 4, m_entries.size());
}

void Acl::RenewPointers()
{
    if (!m_buffer)
        return;
    std::size_t at = kAclHeaderSize;
    for (Ref<Ace>& entry : m_entries) {
        entry->Repoint(m_buffer->data() + at);
        at += entry->AceSize();
    }
}

Ref<Ace> Acl::Aces(int index)
{
    if (!CheckObject())
        return MakeRef<Ace>(m_context, false, kErrorObjectInvalid, std::vector<std::uint8_t>(),
                            nullptr);
    if (index < 0 || index >= Count()) {
        SetErrorCode(kErrorIndexOutOfRange);
        return MakeRef<Ace>(m_context, false, kErrorIndexOutOfRange, std::vector<std::uint8_t>(),
                            nullptr);
    }
    return m_entries[static_cast<std::size_t>(index)];
}

int Acl::AddNewAce(Ref<Account> account, std::uint32_t mask, std::uint8_t aceType,
                   std::uint8_t aceFlags)
{
    Ref<Ace> ace = NewAce(m_context, std::move(account), mask, aceType, aceFlags);
    return AddAce(*ace);
}

int Acl::AddAce(Ace& ace)
{
    return InsertAce(ace, Count());
}

int Acl::InsertBytes(const Ace& ace, std::size_t at, int index)
{
    const std::size_t size = ace.AceSize();
    std::vector<std::uint8_t>& buffer = *m_buffer;
    std::memmove(buffer.data() + at + size, buffer.data() + at, m_used - at);
    std::memcpy(buffer.data() + at, ace.RawAce(), size);
    m_used += static_cast<std::uint32_t>(size);
    m_entries.insert(m_entries.begin() + index, MakeRef<Ace>(m_context, *this, buffer.data() + at));
    WriteHeaderCount();
    RenewPointers();
    MarkModified();
    return index;
}

int Acl::InsertAce(Ace& ace, int index)
{
    if (!CheckObject())
        return -1;
    if (index < 0) {
        SetErrorCode(kErrorInvalidIndex);
        return -1;
    }
    if (!ace.IsValid() || !ace.RawAce() || ace.AceSize() < kAceHeaderSize) {
        SetErrorCode(kErrorInvalidParameter);
        return -1;
    }
    index = std::min(index, Count());
    // The bytes of an entry of this very list move when the buffer does: copy them first.
    const std::vector<std::uint8_t> copy(ace.RawAce(), ace.RawAce() + ace.AceSize());
    const Ace source(m_context, true, 0, copy, nullptr);
    const std::size_t needed = (m_buffer ? m_used : kAclHeaderSize) + copy.size();
    if (!Reserve(needed))
        return -1;
    std::size_t at = m_used;
    if (index < Count())
        at = static_cast<std::size_t>(m_entries[static_cast<std::size_t>(index)]->RawAce() -
                                      m_buffer->data());
    return InsertBytes(source, at, index);
}

Ref<Ace> Acl::FindAce(Account* account, int startIndex)
{
    auto notFound = [this](std::uint32_t code) {
        SetErrorCode(code);
        return MakeRef<Ace>(m_context, false, ErrorCode(), std::vector<std::uint8_t>(), nullptr);
    };
    if (!CheckObject())
        return notFound(kErrorObjectInvalid);
    if (startIndex < 0)
        return notFound(kErrorInvalidIndex);
    for (int i = startIndex; i < Count(); ++i) {
        Ref<Ace>& entry = m_entries[static_cast<std::size_t>(i)];
        if (entry->GetAccount()->IsEqual(account))
            return entry;
    }
    return notFound(kErrorFileNotFound);
}

bool Acl::DeleteAce(int index)
{
    if (!CheckObject())
        return false;
    if (index < 0 || index >= Count())
        return SetErrorCode(kErrorInvalidIndex);
    Ref<Ace> entry = m_entries[static_cast<std::size_t>(index)];
    const std::size_t at = static_cast<std::size_t>(entry->RawAce() - m_buffer->data());
    const std::size_t size = entry->AceSize();
    if (entry->RefCount() > 2)  // held beyond this list and this call
        entry->Detach();
    else
        entry->m_owner = nullptr;
    std::vector<std::uint8_t>& buffer = *m_buffer;
    std::memmove(buffer.data() + at, buffer.data() + at + size, m_used - at - size);
    m_used -= static_cast<std::uint32_t>(size);
    std::fill(buffer.begin() + m_used, buffer.begin() + m_used + static_cast<std::ptrdiff_t>(size),
              0);
    m_entries.erase(m_entries.begin() + index);
    WriteHeaderCount();
    RenewPointers();
    MarkModified();
    return true;
}

bool Acl::DeleteAccountAces(Account* account)
{
    if (!CheckObject())
        return false;
    if (!account || !account->IsValid())
        return SetErrorCode(kErrorInvalidParameter);
    bool found = false;
    for (int i = Count() - 1; i >= 0; --i) {
        if (m_entries[static_cast<std::size_t>(i)]->GetAccount()->IsEqual(account)) {
            DeleteAce(i);
            found = true;
        }
    }
    return found ? SetErrorCode(0) : SetErrorCode(kErrorFileNotFound);
}

bool Acl::MakePresent()
{
    if (!CheckObject())
        return false;
    if (m_buffer)
        return true;
    Reserve(kAclHeaderSize);
    MarkModified();
    return true;
}

bool Acl::MakeAbsent()
{
    if (!CheckObject())
        return false;
    if (!m_buffer)
        return true;
    for (Ref<Ace>& entry : m_entries) {
        if (entry->RefCount() > 1)
            entry->Detach();
    }
    m_entries.clear();
    m_buffer.reset();
    m_used = 0;
    MarkModified();
    return true;
}

bool Acl::Clear()
{
    return MakeAbsent() && MakePresent();
}

bool Acl::GrantFileRights(Account* account, bool full)
{
    if (!CheckObject())
        return false;
    if (!account || !account->IsValid())
        return SetErrorCode(kErrorInvalidParameter);
    DeleteAccountAces(account);
    return AddNewAce(Ref<Account>(account), full ? kFileFullMask : kFileReadMask, kAccessAllowedAce,
                     kObjectAndContainerInherit) >= 0;
}

bool Acl::GrantPrinterRights(Account* account, bool full)
{
    if (!CheckObject())
        return false;
    if (!account || !account->IsValid())
        return SetErrorCode(kErrorInvalidParameter);
    DeleteAccountAces(account);
    if (!full)
        return AddNewAce(Ref<Account>(account), kPrinterUseMask, kAccessAllowedAce, 0) >= 0;
    return AddNewAce(Ref<Account>(account), kPrinterAdministerMask, kAccessAllowedAce, 0) >= 0 &&
           AddNewAce(Ref<Account>(account), kPrinterJobsMask, kAccessAllowedAce,
                     kObjectInheritOnly) >= 0;
}

bool Acl::Flush()
{
    if (!IsValid())
        return false;
    const bool write = m_modified && m_owner && m_owner->IsValid();
    m_modified = false;
    if (!write)
        return true;
    Ref<SecurityObject> owner = m_owner;
    bool written = owner->Succeeded();
    if (owner->CachedDacl() == this)
        written = owner->SetDacl(*this);
    else if (owner->CachedSacl() == this)
        written = owner->SetSacl(*this);
    if (!written)
        CopyErrorFrom(*owner);
    else
        SetErrorCode(0);
    return written;
}

Ref<SecurityObject> Acl::OwnerSecurityObject()
{
    if (!m_owner) {
        m_owner = MakeRef<SecurityObject>(m_context, false, kErrorAclWithoutOwner, std::string(), 0,
                                          std::wstring(), 0);
        SetErrorCode(kErrorAclWithoutOwner);
    }
    return m_owner;
}

}  // namespace setup::sysconfig::security
