// The web site administration behind the script's web server statements: sites, virtual folders,
// their control and properties, the site list and the anonymous account. Each function hands the
// request to the version-7 bridge when that server is installed, otherwise it drives the
// directory-service objects; a refusal becomes the function's failure result, never an exception.
#pragma once

#include <cstdint>
#include <string>

#include "setup/sysconfig/webserver/iis7_bridge.h"
#include "setup/sysconfig/webserver/metabase.h"

namespace setup::sysconfig::webserver {

inline constexpr char kPropertyError[] = "!ERROR!";

// AppCreate2's mode for an application isolation of 1, 2 or 3: in process 0, pooled 2, out of
// process 1; none for 0 (no application).
std::optional<std::int32_t> AppCreateMode(std::int32_t isolation);

// "Root" for the site root, else "Root/" and the folder.
std::string FolderPath(const std::string& folder);

class SiteAdmin
{
public:
    // The host names the computer whose server is administered ("localhost"); the version-7
    // path addresses the local computer only.
    SiteAdmin(IMetabase& metabase, Iis7Bridge& bridge, std::string host)
        : m_metabase(metabase), m_bridge(bridge), m_host(std::move(host))
    {}

    std::int32_t CreateSite(const SiteSettings& site);
    std::int32_t DeleteSite(std::int32_t site);
    std::int32_t CreateVirtualFolder(const FolderSettings& folder);
    std::int32_t DeleteVirtualFolder(std::int32_t site, const std::string& folder);
    // 0 start, 1 stop, 2 pause, 3 continue; codes above 1 start the site first.
    std::int32_t ControlSite(std::int32_t site, std::int32_t code);
    // The site's Status; -1 when it cannot be read.
    std::int32_t GetSiteState(std::int32_t site);
    // The descriptions of the sites joined by "$NEWLINE$".
    std::string GetSiteList();
    // 0 when no site has the description.
    std::int32_t GetSiteIndex(const std::string& description);
    bool GetProperty(std::int32_t site, bool siteLevel, const std::string& folder,
                     std::string& value, const std::string& name);
    bool SetProperty(std::int32_t site, bool siteLevel, const std::string& folder,
                     const std::string& value, const std::string& name);
    // Empty when it cannot be learned.
    std::string GetAnonymousUser();
    // The first site number from 1 up that no site has; -1 on failure.
    std::int32_t GetFreeSiteNumber();

private:
    std::unique_ptr<IMetabaseObject> WebService();
    std::unique_ptr<IMetabaseObject> Site(IMetabaseObject& service, std::int32_t site);
    std::unique_ptr<IMetabaseObject> FolderObject(std::int32_t site, bool siteLevel,
                                                  const std::string& folder);
    void ApplyApplicationPool(IMetabaseObject& service, IMetabaseObject& folder,
                              const FolderSettings& settings);
    void AddMimeEntries(IMetabaseObject& folder, const std::string& mimeMap);

    IMetabase& m_metabase;
    Iis7Bridge& m_bridge;
    std::string m_host;
};

}  // namespace setup::sysconfig::webserver
