// The version-7 helper library as the bridge calls it: one method per export, with the
// arguments in the export's order. Each answers nothing when the library cannot be loaded or
// lacks the export; the bridge then uses the export's default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace setup::sysconfig::webserver {

struct SiteSettings
{
    std::string description;
    std::string siteNumber;  // not a number: the first free one
    std::string ipAddress;
    std::string hostHeader;
    std::string port;
    std::string securePort;
    std::int32_t connectionTimeout = 0;
    bool keepAlive = false;
    bool logging = false;
    bool enableAsp = false;
    bool enableExe = false;
    bool unlimitedConnections = false;
    bool iis7Flag = false;
    std::int32_t maxConnections = 0;
    std::int32_t serverSize = 0;
};

// Application isolation: 0 none, 1 low (in process), 2 medium (pooled), 3 high.
// Execute level: 0 none, 1 scripts, 2 scripts and executables.
struct FolderSettings
{
    std::string folder;  // below the site root; empty is the root
    std::int32_t siteNumber = 0;
    std::string physicalPath;
    bool sourceAccess = false;
    bool readAccess = false;
    bool writeAccess = false;
    bool directoryBrowsing = false;
    bool logVisits = false;
    bool contentIndexed = false;
    std::int32_t isolation = 0;
    std::int32_t executeLevel = 0;
    bool enableDefaultDocument = false;
    std::string defaultDocuments;
    std::string documentFooter;
    bool anonymousAccess = false;
    bool ntlmAuthentication = false;
    bool basicAuthentication = false;
    std::string mimeMap;  // comma text of extension=type entries
    std::string applicationPool;
};

class IIis7Helper
{
public:
    virtual ~IIis7Helper() = default;
    virtual std::optional<std::string> GetSiteList() = 0;
    // The success byte and the buffer's text.
    virtual std::optional<std::pair<bool, std::string>> GetProperty(std::int32_t site,
                                                                    const std::string& folder,
                                                                    const std::string& name) = 0;
    virtual std::optional<std::int32_t> SetProperty(std::int32_t site, const std::string& folder,
                                                    const std::string& name,
                                                    const std::string& value) = 0;
    virtual std::optional<std::int32_t> CreateSite(const SiteSettings& site) = 0;
    virtual std::optional<std::int32_t> CreateSiteFolder(const FolderSettings& folder) = 0;
    virtual std::optional<std::int32_t> DeleteSiteFolder(std::int32_t site,
                                                         const std::string& folder) = 0;
    virtual std::optional<std::string> GetAnonUser() = 0;
    virtual std::optional<std::int32_t> GetSiteIndex(const std::string& description) = 0;
    virtual std::optional<std::int32_t> DeleteSite(std::int32_t site) = 0;
    virtual std::optional<std::int32_t> ControlSite(std::int32_t site, std::int32_t code) = 0;
    virtual std::optional<std::int32_t> GetUniqueAccountId() = 0;
    virtual std::optional<std::int32_t> GetSiteState(std::int32_t site) = 0;
};

}  // namespace setup::sysconfig::webserver
