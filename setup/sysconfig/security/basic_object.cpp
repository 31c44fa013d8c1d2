#include "setup/sysconfig/security/basic_object.h"

#include <algorithm>
#include <utility>

#include "setup/sysconfig/security/basic_list.h"

namespace setup::sysconfig::security {

std::string LibraryErrorText(std::uint32_t code)
{
    switch (code) {
        case kErrorObjectInvalid:
            return "This object is invalid.";
        case kErrorInvalidIndex:
            return "Invalid index.";
        case kErrorSectionBusy:
            return "The critical section is already owned by another thread.";
        case kErrorSectionNotOwned:
            return "The critical section is owned by another thread.";
        case kErrorIndexOutOfRange:
            return "Index out of range.";
        case kErrorAceKindChange:
            return "You can't change the Ace type from IObjectAce to IAce or vice versa.";
        case kErrorAceWithoutOwner:
            return "The Ace has no valid owner Acl.";
        case kErrorAclWithoutOwner:
            return "The Acl has no valid owner security object.";
        default:
            return {};
    }
}

BasicObject::BasicObject(bool valid, std::uint32_t errorCode, std::string errorText)
    : m_valid(valid),
      m_succeeded(errorCode == 0),
      m_errorCode(errorCode),
      m_errorText(std::move(errorText))
{}

BasicObject::~BasicObject()
{
    ReleaseData();
}

const std::string& BasicObject::ErrorText()
{
    if (m_errorText.empty() && m_errorCode != 0) {
        m_errorText = LibraryErrorText(m_errorCode);
        if (m_errorText.empty())
            m_errorText = SystemMessageText(m_errorCode);
    }
    return m_errorText;
}

bool BasicObject::SetErrorCode(std::uint32_t code)
{
    m_errorCode = code;
    if (code == 0)
        m_errorText.clear();
    else
        m_errorText = LibraryErrorText(code);  // the platform's text only when asked for
    m_succeeded = code == 0;
    return m_succeeded;
}

bool BasicObject::SetErrorText(std::string text)
{
    if (text.empty())
        m_errorCode = 0;
    m_errorText = std::move(text);
    m_succeeded = m_errorCode == 0;
    return m_succeeded;
}

bool BasicObject::SetError(std::uint32_t code, std::string text)
{
    m_errorCode = code;
    m_errorText = std::move(text);
    m_succeeded = code == 0;
    return m_succeeded;
}

void BasicObject::CopyErrorFrom(BasicObject& other)
{
    SetError(other.ErrorCode(), other.ErrorText());
}

void BasicObject::ReleaseData()
{
    if (m_data == 0)
        return;
    if (m_releaseProc)
        m_releaseProc(&m_data);
    else if (m_releaseMethod)
        m_releaseMethod(&m_data);
}

void BasicObject::SetData(std::uintptr_t value)
{
    if (!m_valid)
        return;
    ReleaseData();
    m_data = value;
}

void BasicObject::SetDataWithProc(std::uintptr_t value, DataReleaseProc release)
{
    SetData(value);
    m_releaseProc = release;
    m_releaseMethod = nullptr;
}

void BasicObject::SetDataMethod(std::uintptr_t value, DataReleaseMethod release)
{
    SetData(value);
    m_releaseMethod = std::move(release);
    m_releaseProc = nullptr;
}

bool BasicObject::CheckObject()
{
    if (m_valid)
        return SetErrorCode(0);
    SetErrorCode(kErrorObjectInvalid);
    return false;
}

ListMembership* BasicObject::FindMembership(const BasicList& list) const
{
    for (const auto& membership : m_memberships) {
        if (membership->list == &list)
            return membership.get();
    }
    return nullptr;
}

ListMembership* BasicObject::MembershipIn(const BasicList& list)
{
    ListMembership* membership = FindMembership(list);
    if (!membership)
        SetErrorCode(kErrorFileNotFound);
    return membership;
}

ListMembership& BasicObject::Join(const BasicList& list)
{
    m_memberships.push_back(std::make_unique<ListMembership>());
    m_memberships.back()->list = &list;
    return *m_memberships.back();
}

void BasicObject::Leave(const ListMembership* membership)
{
    std::erase_if(m_memberships, [membership](const auto& m) { return m.get() == membership; });
}

int BasicObject::IndexIn(const BasicList& list)
{
    const ListMembership* membership = MembershipIn(list);
    return membership ? membership->index : -1;
}

int BasicObject::OldIndexIn(const BasicList& list)
{
    const ListMembership* membership = MembershipIn(list);
    return membership ? membership->oldIndex : -1;
}

ChangeType BasicObject::ChangeTypeIn(const BasicList& list)
{
    const ListMembership* membership = MembershipIn(list);
    return membership ? membership->changeType : ChangeType::Unchanged;
}

bool BasicObject::SelectedIn(const BasicList& list)
{
    const ListMembership* membership = MembershipIn(list);
    return membership && membership->selected;
}

bool BasicObject::FocusedIn(const BasicList& list)
{
    const ListMembership* membership = MembershipIn(list);
    return membership && membership->focused;
}

bool BasicObject::MarkedIn(const BasicList& list)
{
    const ListMembership* membership = MembershipIn(list);
    return membership && membership->marked;
}

void BasicObject::SetSelectedIn(BasicList& list, bool selected)
{
    ListMembership* membership = MembershipIn(list);
    if (!membership || membership->selected == selected)
        return;
    membership->selected = selected;
    list.m_selectedCount += selected ? 1 : -1;
}

void BasicObject::SetFocusedIn(BasicList& list, bool focused)
{
    ListMembership* membership = MembershipIn(list);
    if (!membership || membership->focused == focused)
        return;
    membership->focused = focused;
    if (focused)
        list.m_focused = Ref<BasicObject>(this);
    else if (list.m_focused.Get() == this)
        list.m_focused.Reset();
}

void BasicObject::SetMarkedIn(BasicList& list, bool marked)
{
    if (ListMembership* membership = MembershipIn(list))
        membership->marked = marked;
}

void BasicObject::Invalidate(std::uint32_t code, std::string text)
{
    m_valid = false;
    SetError(code, std::move(text));
}

}  // namespace setup::sysconfig::security
