// Network shares: one share of the local or a named server, read from the server, changed
// locally and written back with Flush, created and deleted, with its access list reached through
// a security object. A change of net name or path re-creates the share; when the new one cannot be
// added, the original comes back with its access list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "setup/sysconfig/security/security_object.h"
#include "setup/sysconfig/security/share_api.h"

namespace setup::sysconfig::security {

inline constexpr std::uint32_t kShareBufferTooSmall = 2123;

// Characters a net name cannot hold replaced by look-alikes; a trailing "\" kept.
std::wstring CleanShareName(std::wstring_view name);
// A bare name is cleaned whole; in "\\server\share\rest" only the share part is.
std::wstring NormalizeShareName(std::wstring_view name);

class Share : public BasicObject
{
public:
    // A share read from the server by name at the given level (2, or 1 for the short form).
    Share(SecurityContext& context, IShareApi& api, std::wstring server, std::wstring_view name,
          int level);
    // A share over a record the object takes over; valid when addResult is 0.
    Share(SecurityContext& context, IShareApi& api, std::wstring server, ShareRecord record,
          int level, std::uint32_t addResult);
    ~Share() override;

    std::uint32_t ShareType();
    std::wstring NetName();
    void SetNetName(std::wstring_view name);
    std::wstring Path();
    void SetPath(std::wstring_view path);
    std::wstring Remark();
    void SetRemark(std::wstring_view remark);
    std::uint32_t AccessFlags();
    void SetAccessFlags(std::uint32_t flags);
    std::wstring Password();
    void SetPassword(std::wstring_view password);
    bool Persistent() { return CheckObject(); }
    bool SystemShare() { return false; }
    std::uint32_t CurrentUses();
    std::int32_t MaxUses();
    void SetMaxUses(std::int32_t uses);
    const std::wstring& ServerName() const { return m_server; }

    bool Refresh();
    bool IsModified() const { return m_modified; }
    bool Flush();
    bool Delete();
    Ref<Acl> GetAcl();
    bool SetAcl(Acl& acl);
    Ref<SecurityObject> GetSecurityObject();

private:
    void LastReleased() override;
    bool IsPrinter() const { return (m_record.type & 0xFF) == 1; }
    void Change(bool recreate);
    bool Recreate();
    bool Restore(const ShareRecord& original, Acl* acl, std::uint32_t failure);

    SecurityContext& m_context;
    IShareApi& m_api;
    std::wstring m_server;
    int m_level;
    ShareRecord m_record;
    ShareRecord m_stored;  // as the server holds it: what a failed re-creation puts back
    bool m_modified = false;
    bool m_recreate = false;
    Ref<SecurityObject> m_security;
};

// A new folder share ("C:", "c:\data\") or, for a name without "\" and ":", a printer share.
Ref<Share> NewShareObject(SecurityContext& context, IShareApi& api, std::wstring_view path,
                          std::wstring_view netName, std::wstring_view remark,
                          std::uint32_t accessFlags, std::wstring_view password,
                          std::int32_t maxUses, std::wstring server);
Ref<Share> OpenShareObject(SecurityContext& context, IShareApi& api, std::wstring_view shareName,
                           std::wstring server);

}  // namespace setup::sysconfig::security
