#include "setup/sysconfig/webserver/iis7_bridge.h"

namespace setup::sysconfig::webserver {

bool IsVersion7OrLater(const InstalledVersion& version)
{
    return static_cast<std::int64_t>(version.major) * 10 + version.minor > 69;
}

Iis7HelperFile::~Iis7HelperFile()
{
    if (m_extracted)
        Delete();
}

bool Iis7HelperFile::Extract(IIis7Platform& platform, const std::string& folder)
{
    m_platform = &platform;
    m_path = folder;
    if (m_path.empty() || m_path.back() != '\\')
        m_path += '\\';
    m_path += kHelperLibraryName;
    platform.WriteHelperLibrary(m_path);
    m_extracted = true;
    return true;
}

bool Iis7HelperFile::Delete()
{
    if (m_platform == nullptr)
        return false;
    const bool deleted = m_platform->RemoveFile(m_path);
    if (deleted)
        m_extracted = false;
    return deleted;
}

bool Iis7Bridge::Available()
{
    const std::optional<InstalledVersion> version = m_platform.WebServerVersion();
    if (!version || !IsVersion7OrLater(*version))
        return false;
    if (m_helper.Extracted())
        return true;
    return m_helper.Extract(m_platform, m_supportDir);
}

std::string Iis7Bridge::GetSiteList()
{
    return Helper()->GetSiteList().value_or(std::string());
}

bool Iis7Bridge::GetProperty(std::int32_t site, const std::string& folder, const std::string& name,
                             std::string& value)
{
    const auto answer = Helper()->GetProperty(site, folder, name);
    if (!answer) {
        value = "!ERROR!";
        return false;
    }
    value = answer->second;
    return answer->first;
}

std::int32_t Iis7Bridge::SetProperty(std::int32_t site, const std::string& folder,
                                     const std::string& name, const std::string& value)
{
    return Helper()->SetProperty(site, folder, name, value).value_or(0);
}

std::int32_t Iis7Bridge::CreateSite(const SiteSettings& site)
{
    return Helper()->CreateSite(site).value_or(0);
}

std::int32_t Iis7Bridge::CreateSiteFolder(const FolderSettings& folder)
{
    return Helper()->CreateSiteFolder(folder).value_or(0);
}

std::int32_t Iis7Bridge::DeleteSiteFolder(std::int32_t site, const std::string& folder)
{
    return Helper()->DeleteSiteFolder(site, folder).value_or(0);
}

std::string Iis7Bridge::GetAnonUser()
{
    return Helper()->GetAnonUser().value_or(std::string());
}

std::int32_t Iis7Bridge::GetSiteIndex(const std::string& description)
{
    return Helper()->GetSiteIndex(description).value_or(0);
}

std::int32_t Iis7Bridge::DeleteSite(std::int32_t site)
{
    return Helper()->DeleteSite(site).value_or(0);
}

std::int32_t Iis7Bridge::ControlSite(std::int32_t site, std::int32_t code)
{
    return Helper()->ControlSite(site, code).value_or(0);
}

std::int32_t Iis7Bridge::GetUniqueAccountId()
{
    return Helper()->GetUniqueAccountId().value_or(-1);
}

std::int32_t Iis7Bridge::GetSiteState(std::int32_t site)
{
    return Helper()->GetSiteState(site).value_or(-1);
}

}  // namespace setup::sysconfig::webserver
