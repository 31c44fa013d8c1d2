// The version-7 bridge's platform in memory: an installed version or none, the helper writes and
// deletes counted, and a helper whose calls are recorded; named exports can be left out.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "setup/engine/rtl/exceptions.h"
#include "setup/sysconfig/webserver/iis7_bridge.h"

namespace setup::sysconfig::webserver::testing {

class FakeIis7Platform;

class RecordingHelper : public IIis7Helper
{
public:
    explicit RecordingHelper(FakeIis7Platform& platform) : m_platform(platform) {}

    std::optional<std::string> GetSiteList() override;
    std::optional<std::pair<bool, std::string>> GetProperty(std::int32_t site,
                                                            const std::string& folder,
                                                            const std::string& name) override;
    std::optional<std::int32_t> SetProperty(std::int32_t site, const std::string& folder,
                                            const std::string& name,
                                            const std::string& value) override;
    std::optional<std::int32_t> CreateSite(const SiteSettings& site) override;
    std::optional<std::int32_t> CreateSiteFolder(const FolderSettings& folder) override;
    std::optional<std::int32_t> DeleteSiteFolder(std::int32_t site,
                                                 const std::string& folder) override;
    std::optional<std::string> GetAnonUser() override;
    std::optional<std::int32_t> GetSiteIndex(const std::string& description) override;
    std::optional<std::int32_t> DeleteSite(std::int32_t site) override;
    std::optional<std::int32_t> ControlSite(std::int32_t site, std::int32_t code) override;
    std::optional<std::int32_t> GetUniqueAccountId() override;
    std::optional<std::int32_t> GetSiteState(std::int32_t site) override;

private:
    // False when the export is left out; else the call is kept.
    bool Record(const std::string& exportName, const std::string& arguments = "");

    FakeIis7Platform& m_platform;
};

class FakeIis7Platform : public IIis7Platform
{
public:
    std::optional<InstalledVersion> WebServerVersion() override { return version; }
    void WriteHelperLibrary(const std::string& path) override
    {
        if (!resourcePresent)
            throw rtl::Exception("Resource DLL not found");
        written.push_back(path);
    }
    bool RemoveFile(const std::string& path) override
    {
        deleted.push_back(path);
        return true;
    }
    std::unique_ptr<IIis7Helper> OpenHelper(const std::string& path) override
    {
        opened.push_back(path);
        return std::make_unique<RecordingHelper>(*this);
    }

    std::optional<InstalledVersion> version;
    bool resourcePresent = true;
    std::set<std::string> missingExports;
    std::vector<std::string> written;
    std::vector<std::string> deleted;
    std::vector<std::string> opened;
    std::vector<std::string> calls;  // "Export arguments"
};

inline bool RecordingHelper::Record(const std::string& exportName, const std::string& arguments)
{
    if (m_platform.missingExports.count(exportName))
        return false;
    m_platform.calls.push_back(arguments.empty() ? exportName : exportName + " " + arguments);
    return true;
}

inline std::optional<std::string> RecordingHelper::GetSiteList()
{
    if (!Record("GetIISSiteList"))
        return std::nullopt;
    return "Default Web Site$NEWLINE$Shop";
}

inline std::optional<std::pair<bool, std::string>> RecordingHelper::GetProperty(
    std::int32_t site, const std::string& folder, const std::string& name)
{
    if (!Record("GetIISProperty", std::to_string(site) + "|" + folder + "|" + name))
        return std::nullopt;
    return std::make_pair(true, "v7 " + name);
}

inline std::optional<std::int32_t> RecordingHelper::SetProperty(std::int32_t site,
                                                                const std::string& folder,
                                                                const std::string& name,
                                                                const std::string& value)
{
    if (!Record("SetIISProperty", std::to_string(site) + "|" + folder + "|" + name + "|" + value))
        return std::nullopt;
    return 1;
}

inline std::optional<std::int32_t> RecordingHelper::CreateSite(const SiteSettings& site)
{
    if (!Record("CreateIISSite", site.description + "|" + site.siteNumber))
        return std::nullopt;
    return 1;
}

inline std::optional<std::int32_t> RecordingHelper::CreateSiteFolder(const FolderSettings& folder)
{
    if (!Record("CreateIISSiteFolder", folder.folder + "|" + std::to_string(folder.isolation)))
        return std::nullopt;
    return 1;
}

inline std::optional<std::int32_t> RecordingHelper::DeleteSiteFolder(std::int32_t site,
                                                                     const std::string& folder)
{
    if (!Record("DeleteIISSiteFolder", std::to_string(site) + "|" + folder))
        return std::nullopt;
    return 1;
}

inline std::optional<std::string> RecordingHelper::GetAnonUser()
{
    if (!Record("GetIISAnonUser"))
        return std::nullopt;
    return "IUSR";
}

inline std::optional<std::int32_t> RecordingHelper::GetSiteIndex(const std::string& description)
{
    if (!Record("GetIISSiteIndex", description))
        return std::nullopt;
    return 5;
}

inline std::optional<std::int32_t> RecordingHelper::DeleteSite(std::int32_t site)
{
    if (!Record("DeleteIISSite", std::to_string(site)))
        return std::nullopt;
    return 1;
}

inline std::optional<std::int32_t> RecordingHelper::ControlSite(std::int32_t site,
                                                                std::int32_t code)
{
    if (!Record("ControlIISSite", std::to_string(site) + "|" + std::to_string(code)))
        return std::nullopt;
    return 1;
}

inline std::optional<std::int32_t> RecordingHelper::GetUniqueAccountId()
{
    if (!Record("GetIISUniqueAccountID"))
        return std::nullopt;
    return 9;
}

inline std::optional<std::int32_t> RecordingHelper::GetSiteState(std::int32_t site)
{
    if (!Record("GetIISSiteState", std::to_string(site)))
        return std::nullopt;
    return 2;
}

}  // namespace setup::sysconfig::webserver::testing
