// The base of the security library's objects: validity, the outcome of the last operation with
// its error code and a text made from the code on demand, a tag text and a user data word with
// the routine that releases it. Failures are recorded here instead of thrown.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/sysconfig/security/ref_counted.h"

namespace setup::sysconfig::security {

// The library's own error codes; platform codes are used beside them.
inline constexpr std::uint32_t kErrorObjectInvalid = 0x10001;
inline constexpr std::uint32_t kErrorInvalidIndex = 0x10002;
inline constexpr std::uint32_t kErrorSectionBusy = 0x10003;
inline constexpr std::uint32_t kErrorSectionNotOwned = 0x10004;
inline constexpr std::uint32_t kErrorIndexOutOfRange = 0x10006;
inline constexpr std::uint32_t kErrorAceKindChange = 0x50001;
inline constexpr std::uint32_t kErrorAceWithoutOwner = 0x50002;
inline constexpr std::uint32_t kErrorAclWithoutOwner = 0x50003;

inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorNotImplemented = 120;
inline constexpr std::uint32_t kErrorNoneMapped = 1332;
// An access list would pass the 16-bit size its header can state.
inline constexpr std::uint32_t kErrorAllottedSpaceExceeded = 1344;
inline constexpr std::uint32_t kErrorNoInterface = 0x80004002;

// The library's text for its own codes; empty for any other code.
std::string LibraryErrorText(std::uint32_t code);
// The platform's message for a code (the system's message table on Windows).
std::string SystemMessageText(std::uint32_t code);

class BasicList;
enum class ChangeType;
struct ListMembership;

class BasicObject : public RefCounted
{
public:
    using DataReleaseProc = void (*)(std::uintptr_t* data);
    using DataReleaseMethod = std::function<void(std::uintptr_t* data)>;

    // An object made invalid keeps the code and text that say why.
    explicit BasicObject(bool valid = true, std::uint32_t errorCode = 0,
                         std::string errorText = {});
    ~BasicObject() override;

    bool IsValid() const { return m_valid; }
    bool Succeeded() const { return m_succeeded; }
    std::uint32_t ErrorCode() const { return m_errorCode; }
    // Made from the code the first time it is asked for, then kept.
    const std::string& ErrorText();

    bool SetErrorCode(std::uint32_t code);
    bool SetErrorText(std::string text);
    bool SetError(std::uint32_t code, std::string text);
    // Takes another object's outcome over.
    void CopyErrorFrom(BasicObject& other);

    const std::string& TagText() const { return m_tag; }
    void SetTagText(std::string text) { m_tag = std::move(text); }

    std::uintptr_t Data() const { return m_data; }
    // The current word goes through its release routine first; the routine stays registered.
    void SetData(std::uintptr_t value);
    void SetDataWithProc(std::uintptr_t value, DataReleaseProc release);
    void SetDataMethod(std::uintptr_t value, DataReleaseMethod release);

    // This object's state in a list; a list it is not in records error 2.
    int IndexIn(const BasicList& list);
    int OldIndexIn(const BasicList& list);
    ChangeType ChangeTypeIn(const BasicList& list);
    bool SelectedIn(const BasicList& list);
    bool FocusedIn(const BasicList& list);
    bool MarkedIn(const BasicList& list);
    void SetSelectedIn(BasicList& list, bool selected);
    void SetFocusedIn(BasicList& list, bool focused);
    void SetMarkedIn(BasicList& list, bool marked);

protected:
    // The check that opens nearly every operation: a valid object succeeds, an invalid one
    // records 0x10001.
    bool CheckObject();
    // Marks the object invalid for good with the failure's code.
    void Invalidate(std::uint32_t code, std::string text = {});
    // A success of the operation under way.
    void MarkSucceeded() { SetErrorCode(0); }

private:
    friend class BasicList;
    void ReleaseData();
    ListMembership* FindMembership(const BasicList& list) const;
    // As FindMembership, recording error 2 when there is none.
    ListMembership* MembershipIn(const BasicList& list);
    ListMembership& Join(const BasicList& list);
    void Leave(const ListMembership* membership);

    bool m_valid;
    bool m_succeeded;
    std::uint32_t m_errorCode;
    std::string m_errorText;
    std::string m_tag;
    std::uintptr_t m_data = 0;
    DataReleaseProc m_releaseProc = nullptr;
    DataReleaseMethod m_releaseMethod;
    std::vector<std::unique_ptr<ListMembership>> m_memberships;
};

}  // namespace setup::sysconfig::security
