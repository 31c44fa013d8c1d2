#include "setup/sysconfig/security/share.h"

#include <utility>

#include "setup/sysconfig/security/ansi_text.h"

namespace setup::sysconfig::security {

namespace {

wchar_t ShareNameReplacement(wchar_t c)
{
    switch (c) {
        case L'"':
            return L'\'';
        case L'*':
            return 0xD7;
        case L'+':
            return L'&';
        case L',':
        case L':':
        case L';':
            return 0xB7;
        case L'/':
        case L'\\':
        case L'|':
            return 0xA6;
        case L'<':
            return L'{';
        case L'=':
            return L'~';
        case L'>':
            return L'}';
        case L'?':
            return 0xBF;
        case L'[':
            return L'(';
        case L']':
            return L')';
        default:
            return c;
    }
}

}  // namespace

std::wstring CleanShareName(std::wstring_view name)
{
    const bool trailingSlash = !name.empty() && name.back() == L'\\';
    if (trailingSlash)
        name.remove_suffix(1);
    std::wstring cleaned(name);
    for (wchar_t& c : cleaned)
        c = ShareNameReplacement(c);
    if (trailingSlash)
        cleaned += L'\\';
    return cleaned;
}

std::wstring NormalizeShareName(std::wstring_view name)
{
    if (name.find(L'\\') == std::wstring_view::npos)
        return CleanShareName(name);
    if (name.front() != L'\\')
        return std::wstring(name);
    // \\server\share\rest: the server and the rest stay, the share part is cleaned.
    std::wstring_view rest = name;
    while (!rest.empty() && rest.front() == L'\\')
        rest.remove_prefix(1);
    const std::size_t afterServer = rest.find(L'\\');
    std::wstring result = L"\\\\" + std::wstring(rest.substr(0, afterServer));
    if (afterServer != std::wstring_view::npos) {
        rest.remove_prefix(afterServer + 1);
        const std::size_t afterShare = rest.find(L'\\');
        result += L"\\" + CleanShareName(rest.substr(0, afterShare));
        if (afterShare != std::wstring_view::npos && afterShare + 1 < rest.size())
            result += L"\\" + std::wstring(rest.substr(afterShare + 1));
    }
    while (result.size() > 2 && result.back() == L'\\')
        result.pop_back();
    return result;
}

Share::Share(SecurityContext& context, IShareApi& api, std::wstring server, std::wstring_view name,
             int level)
    : m_context(context), m_api(api), m_server(std::move(server)), m_level(level)
{
    m_record.netName = NormalizeShareName(name);
    if (!Refresh())
        Invalidate(ErrorCode());
}

Share::Share(SecurityContext& context, IShareApi& api, std::wstring server, ShareRecord record,
             int level, std::uint32_t addResult)
    : BasicObject(addResult == 0, addResult),
      m_context(context),
      m_api(api),
      m_server(std::move(server)),
      m_level(level),
      m_record(std::move(record))
{
    m_stored = m_record;
}

Share::~Share() = default;

void Share::LastReleased()
{
    if (IsValid() && m_modified)
        Flush();
}

void Share::Change(bool recreate)
{
    m_modified = true;
    m_recreate = m_recreate || recreate;
}

std::uint32_t Share::ShareType()
{
    return CheckObject() ? (m_record.type & 0xFF) : 0;
}

std::wstring Share::NetName()
{
    return CheckObject() ? m_record.netName : std::wstring();
}

void Share::SetNetName(std::wstring_view name)
{
    if (!CheckObject())
        return;
    const std::wstring normalized = NormalizeShareName(name);
    if (TextEqualsIgnoreCase(normalized, m_record.netName))
        return;
    m_record.netName = normalized;
    Change(true);
}

std::wstring Share::Path()
{
    return CheckObject() ? m_record.path : std::wstring();
}

void Share::SetPath(std::wstring_view path)
{
    if (!CheckObject() || TextEqualsIgnoreCase(path, m_record.path))
        return;
    m_record.path = path;
    Change(true);
}

std::wstring Share::Remark()
{
    return CheckObject() ? m_record.remark : std::wstring();
}

void Share::SetRemark(std::wstring_view remark)
{
    if (!CheckObject() || remark == m_record.remark)
        return;
    m_record.remark = remark;
    Change(false);
}

std::uint32_t Share::AccessFlags()
{
    return CheckObject() ? (m_record.permissions & 0xFF) : 0;
}

void Share::SetAccessFlags(std::uint32_t flags)
{
    if (!CheckObject() || flags == m_record.permissions)
        return;
    m_record.permissions = flags;
    Change(false);
}

std::wstring Share::Password()
{
    return CheckObject() ? m_record.password : std::wstring();
}

void Share::SetPassword(std::wstring_view password)
{
    if (!CheckObject() || password == m_record.password)
        return;
    m_record.password = password;
    Change(false);
}

std::uint32_t Share::CurrentUses()
{
    if (!CheckObject())
        return 0;
    if (m_level != 2) {
        SetErrorCode(kErrorAccessDenied);
        return 0;
    }
    return Refresh() ? m_record.currentUses : 0;
}

std::int32_t Share::MaxUses()
{
    if (!CheckObject())
        return -1;
    if (m_level != 2) {
        SetErrorCode(kErrorAccessDenied);
        return -1;
    }
    return m_record.maxUses;
}

void Share::SetMaxUses(std::int32_t uses)
{
    if (!CheckObject())
        return;
    if (m_level != 2) {
        SetErrorCode(kErrorAccessDenied);
        return;
    }
    if (uses == m_record.maxUses)
        return;
    m_record.maxUses = uses;
    Change(false);
}

bool Share::Refresh()
{
    if (!CheckObject())
        return false;
    if (m_modified)
        Flush();
    ShareRecord read;
    std::uint32_t result = m_api.ShareGetInfo(m_server, m_record.netName, 2, read);
    int level = 2;
    if (result == kErrorAccessDenied && m_level == 1) {
        result = m_api.ShareGetInfo(m_server, m_record.netName, 1, read);
        level = 1;
    }
    if (result != 0)
        return SetErrorCode(result);
    m_record = read;
    m_stored = read;
    m_level = level;
    return SetErrorCode(0);
}

bool Share::Restore(const ShareRecord& original, Acl* acl, std::uint32_t failure)
{
    m_api.ShareAdd(m_server, m_level, original);
    m_record = original;
    m_security.Reset();
    if (acl && acl->IsValid())
        SetAcl(*acl);
    return SetErrorCode(failure);
}

bool Share::Recreate()
{
    // The server knows the share by its stored name and path, which the changes replaced.
    const ShareRecord original = m_stored;
    const Ref<Acl> acl = GetAcl();
    const std::uint32_t deleted = IsPrinter() ? m_api.SetPrinterShare(original.path, std::wstring())
                                              : m_api.ShareDel(m_server, original.netName);
    if (deleted != 0)
        return SetErrorCode(deleted);
    const std::uint32_t added = m_api.ShareAdd(m_server, m_level, m_record);
    if (added != 0)
        return Restore(original, acl.Get(), added);
    m_stored = m_record;
    m_security.Reset();  // named by the old net name
    if (acl->IsValid())
        SetAcl(*acl);
    return true;
}

bool Share::Flush()
{
    if (!IsValid() || !m_modified)
        return false;
    if (m_recreate) {
        m_recreate = false;
        if (!Recreate()) {
            m_modified = false;
            return false;
        }
    }
    const std::uint32_t result = m_api.ShareSetInfo(m_server, m_record.netName, m_level, m_record);
    m_modified = false;
    if (result != 0)
        return SetErrorCode(result);
    Refresh();
    return SetErrorCode(0);
}

bool Share::Delete()
{
    if (!CheckObject())
        return false;
    const std::uint32_t result = IsPrinter() ? m_api.SetPrinterShare(m_record.path, std::wstring())
                                             : m_api.ShareDel(m_server, m_stored.netName);
    if (result != 0)
        return SetErrorCode(result);
    m_modified = false;
    Invalidate(0);
    return true;
}

Ref<SecurityObject> Share::GetSecurityObject()
{
    if (!m_security) {
        const bool valid = IsValid();
        const std::uint32_t code = valid ? 0 : kErrorObjectInvalid;
        // Named as the server knows the share, not by changes still pending.
        m_security = IsPrinter() ? MakeRef<SecurityObject>(m_context, valid, code, std::string(),
                                                           kPrinterObject, m_stored.path, 0)
                                 : MakeRef<SecurityObject>(m_context, valid, code, std::string(),
                                                           kShareObject, m_stored.netName, 0);
    }
    return m_security;
}

Ref<Acl> Share::GetAcl()
{
    if (!CheckObject())
        return MakeRef<Acl>(m_context, false, kErrorObjectInvalid);
    return GetSecurityObject()->Dacl();
}

bool Share::SetAcl(Acl& acl)
{
    const Ref<SecurityObject> security = GetSecurityObject();
    if (security->SetDacl(acl))
        return true;
    CopyErrorFrom(*security);
    return false;
}

Ref<Share> NewShareObject(SecurityContext& context, IShareApi& api, std::wstring_view path,
                          std::wstring_view netName, std::wstring_view remark,
                          std::uint32_t accessFlags, std::wstring_view password,
                          std::int32_t maxUses, std::wstring server)
{
    const std::wstring name = NormalizeShareName(netName);
    const bool folder = path.find_first_of(L"\\:") != std::wstring_view::npos;
    if (folder) {
        std::wstring folderPath = UpperCaseText(path);
        if (folderPath.size() == 2 && folderPath[1] == L':')
            folderPath += L'\\';
        else if (folderPath.size() > 3 && folderPath.back() == L'\\')
            folderPath.pop_back();
        ShareRecord record{name,    0, std::wstring(remark), accessFlags,
                           maxUses, 0, folderPath,           std::wstring(password)};
        const std::uint32_t result = api.ShareAdd(server, 2, record);
        return MakeRef<Share>(context, api, std::move(server), std::move(record), 2, result);
    }
    const std::wstring printer(path.substr(0, path.find(L',')));
    const std::uint32_t shared = api.SetPrinterShare(printer, name);
    if (shared != 0) {
        ShareRecord record{name, 1, std::wstring(remark), accessFlags, maxUses, 0, printer, {}};
        return MakeRef<Share>(context, api, std::move(server), std::move(record), 2, shared);
    }
    Ref<Share> share = OpenShareObject(context, api, name, std::move(server));
    share->SetRemark(remark);
    share->SetAccessFlags(accessFlags);
    share->SetPassword(password);
    share->SetMaxUses(maxUses);
    share->Flush();
    share->SetErrorCode(0);
    return share;
}

Ref<Share> OpenShareObject(SecurityContext& context, IShareApi& api, std::wstring_view shareName,
                           std::wstring server)
{
    return MakeRef<Share>(context, api, std::move(server), shareName, 2);
}

}  // namespace setup::sysconfig::security
