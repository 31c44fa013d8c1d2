#include "setup/sysconfig/webserver/site_admin.h"

#include <limits>

#include "core/scope_guard.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/rtl/string_list.h"

namespace setup::sysconfig::webserver {

namespace {

constexpr char kWebServer[] = "IIsWebServer";
constexpr char kVirtualDir[] = "IIsWebVirtualDir";

std::int32_t IntegerValue(const MetabaseValue& value)
{
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return *number;
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (const auto parsed = rtl::TryStrToInt(*text))
            return *parsed;
    }
    throw MetabaseError("not an integer value");
}

}  // namespace

std::string MetabaseValueText(const MetabaseValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return std::to_string(*number);
    return std::get<bool>(value) ? "True" : "False";
}

std::optional<std::int32_t> AppCreateMode(std::int32_t isolation)
{
    switch (isolation) {
        case 1:
            return 0;
        case 2:
            return 2;
        case 3:
            return 1;
        default:
            return std::nullopt;
    }
}

std::string FolderPath(const std::string& folder)
{
    return folder.empty() ? "Root" : "Root/" + folder;
}

std::unique_ptr<IMetabaseObject> SiteAdmin::WebService()
{
    return m_metabase.OpenNamespace()->GetChild("IIsWebService", m_host + "/w3svc");
}

std::unique_ptr<IMetabaseObject> SiteAdmin::Site(IMetabaseObject& service, std::int32_t site)
{
    return service.GetChild(kWebServer, std::to_string(site));
}

std::unique_ptr<IMetabaseObject> SiteAdmin::FolderObject(std::int32_t site, bool siteLevel,
                                                         const std::string& folder)
{
    std::unique_ptr<IMetabaseObject> siteObject = Site(*WebService(), site);
    if (siteLevel)
        return siteObject;
    return siteObject->GetChild(kVirtualDir, FolderPath(folder));
}

std::int32_t SiteAdmin::CreateSite(const SiteSettings& settings)
{
    if (m_bridge.Available())
        return m_bridge.CreateSite(settings);
    try {
        const std::optional<std::int32_t> given = rtl::TryStrToInt(settings.siteNumber);
        const std::int32_t number = given ? *given : GetFreeSiteNumber();
        if (number < 0)
            return 0;
        const std::unique_ptr<IMetabaseObject> service = WebService();
        std::unique_ptr<IMetabaseObject> site;
        try {
            site = Site(*service, number);
        } catch (const MetabaseError&) {
            site = service->Create(kWebServer, std::to_string(number));
        }
        site->Put("ServerComment", settings.description);
        site->Put("ServerBindings",
                  settings.ipAddress + ":" + settings.port + ":" + settings.hostHeader);
        site->Put("SecureBindings",
                  settings.ipAddress + ":" + settings.securePort + ":" + settings.hostHeader);
        site->Put("ConnectionTimeout", settings.connectionTimeout);
        site->Put("AllowKeepAlive", settings.keepAlive);
        if (settings.logging) {
            site->Put("LogType", std::int32_t{1});
            site->Put("DontLog", false);
        } else {
            site->Put("LogType", std::int32_t{0});
        }
        // An extension the server does not know is no reason to give up the site.
        const auto allow = [&service](const char* method, const char* extension) {
            try {
                service->Call(method, {std::string(extension)});
            } catch (const MetabaseError&) {
            }
        };
        if (settings.enableAsp)
            allow("EnableWebServiceExtension", "ASP");
        if (settings.enableExe)
            allow("EnableExtensionFile", "*.exe");
        if (settings.enableAsp || settings.enableExe)
            service->SetInfo();
        site->Put("MaxConnections",
                  settings.unlimitedConnections ? std::int32_t{-1} : settings.maxConnections);
        site->Put("ServerSize", settings.serverSize);
        site->SetInfo();
        return 1;
    } catch (const MetabaseError&) {
        return 0;
    }
}

std::int32_t SiteAdmin::DeleteSite(std::int32_t site)
{
    if (m_bridge.Available())
        return m_bridge.DeleteSite(site);
    try {
        WebService()->Delete(kWebServer, std::to_string(site));
        return 1;
    } catch (const MetabaseError&) {
        return 0;
    }
}

void SiteAdmin::ApplyApplicationPool(IMetabaseObject& service, IMetabaseObject& folder,
                                     const FolderSettings& settings)
{
    std::string pool = settings.applicationPool;
    if (!pool.empty()) {
        try {
            const std::unique_ptr<IMetabaseObject> pools =
                service.GetChild("IISApplicationPools", "AppPools");
            try {
                pools->GetChild("IISApplicationPool", pool);
            } catch (const MetabaseError&) {
                pools->Create("IISApplicationPool", pool)->SetInfo();
            }
        } catch (const MetabaseError&) {
            pool.clear();  // a server without pools keeps the folder in its default one
        }
        if (!pool.empty())
            folder.Put("AppPoolId", pool);
    }
    if (const auto mode = AppCreateMode(settings.isolation)) {
        folder.Call("AppCreate2", {*mode});
        folder.Put("AppFriendlyName", settings.applicationPool);
    }
}

void SiteAdmin::AddMimeEntries(IMetabaseObject& folder, const std::string& mimeMap)
{
    for (const std::string& entry : rtl::FromCommaText(mimeMap)) {
        const std::size_t equals = entry.find('=');
        std::vector<MimeEntry> entries = folder.GetMimeMap();
        if (equals == std::string::npos)
            entries.push_back({entry, ""});
        else
            entries.push_back({entry.substr(0, equals), entry.substr(equals + 1)});
        folder.PutMimeMap(entries);
        folder.SetInfo();
    }
}

std::int32_t SiteAdmin::CreateVirtualFolder(const FolderSettings& settings)
{
    if (m_bridge.Available())
        return m_bridge.CreateSiteFolder(settings);
    try {
        const std::unique_ptr<IMetabaseObject> service = WebService();
        const std::unique_ptr<IMetabaseObject> site = Site(*service, settings.siteNumber);
        const std::string path = FolderPath(settings.folder);
        std::unique_ptr<IMetabaseObject> folder;
        try {
            folder = site->GetChild(kVirtualDir, path);
        } catch (const MetabaseError&) {
            folder = site->Create(kVirtualDir, path);
        }
        folder->Put("Path", settings.physicalPath);
        folder->Put("AccessSource", settings.sourceAccess);
        folder->Put("AccessRead", settings.readAccess);
        folder->Put("AccessWrite", settings.writeAccess);
        folder->Put("EnableDirBrowsing", settings.directoryBrowsing);
        folder->Put("DontLog", !settings.logVisits);
        folder->Put("ContentIndexed", settings.contentIndexed);
        ApplyApplicationPool(*service, *folder, settings);
        folder->Put("AccessScript", false);
        folder->Put("AccessExecute", false);
        if (settings.executeLevel > 0)
            folder->Put("AccessScript", true);
        if (settings.executeLevel > 1)
            folder->Put("AccessExecute", true);
        folder->Put("EnableDefaultDoc", settings.enableDefaultDocument);
        folder->Put("DefaultDoc", settings.defaultDocuments);
        if (!settings.documentFooter.empty()) {
            folder->Put("EnableDocFooter", true);
            folder->Put("DefaultDocFooter", settings.documentFooter);
        } else {
            folder->Put("EnableDocFooter", false);
        }
        folder->Put("AuthAnonymous", settings.anonymousAccess);
        folder->Put("AuthNTLM", settings.ntlmAuthentication);
        folder->Put("AuthBasic", settings.basicAuthentication);
        folder->SetInfo();
        if (!settings.mimeMap.empty())
            AddMimeEntries(*folder, settings.mimeMap);
        return 1;
    } catch (const MetabaseError&) {
        return 0;
    }
}

std::int32_t SiteAdmin::DeleteVirtualFolder(std::int32_t site, const std::string& folder)
{
    if (m_bridge.Available())
        return m_bridge.DeleteSiteFolder(site, folder);
    try {
        Site(*WebService(), site)->Delete(kVirtualDir, FolderPath(folder));
        return 1;
    } catch (const MetabaseError&) {
        return 0;
    }
}

std::int32_t SiteAdmin::ControlSite(std::int32_t site, std::int32_t code)
{
    if (m_bridge.Available())
        return m_bridge.ControlSite(site, code);
    if (GetSiteState(site) == -1)
        return 0;
    try {
        const std::unique_ptr<IMetabaseObject> siteObject = Site(*WebService(), site);
        // Pausing or continuing needs a running site.
        if (code > 1)
            siteObject->Call("Start", {});
        constexpr const char* kMethods[] = {"Start", "Stop", "Pause", "Continue"};
        if (code >= 0 && code <= 3)
            siteObject->Call(kMethods[code], {});
        return 1;
    } catch (const MetabaseError&) {
        return 0;
    }
}

std::int32_t SiteAdmin::GetSiteState(std::int32_t site)
{
    if (m_bridge.Available())
        return m_bridge.GetSiteState(site);
    try {
        return IntegerValue(Site(*WebService(), site)->Get("Status"));
    } catch (const MetabaseError&) {
        return -1;
    }
}

std::string SiteAdmin::GetSiteList()
{
    if (m_bridge.Available())
        return m_bridge.GetSiteList();
    std::string list;
    bool first = true;
    try {
        const std::unique_ptr<IMetabaseEnumerator> children = WebService()->Children();
        while (const std::unique_ptr<IMetabaseObject> child = children->Next()) {
            if (!rtl::AnsiSameText(child->Class(), kWebServer))
                continue;
            const std::string comment = MetabaseValueText(child->Get("ServerComment"));
            list += first ? comment : "$NEWLINE$" + comment;
            first = false;
        }
    } catch (const MetabaseError&) {
        // The names collected so far stay.
    }
    return list;
}

std::int32_t SiteAdmin::GetSiteIndex(const std::string& description)
{
    if (m_bridge.Available())
        return m_bridge.GetSiteIndex(description);
    try {
        const std::unique_ptr<IMetabaseEnumerator> children = WebService()->Children();
        while (const std::unique_ptr<IMetabaseObject> child = children->Next()) {
            if (rtl::AnsiSameText(child->Class(), kWebServer) &&
                MetabaseValueText(child->Get("ServerComment")) == description)
                return rtl::TryStrToInt(child->Name()).value_or(0);
        }
    } catch (const MetabaseError&) {
    }
    return 0;
}

bool SiteAdmin::GetProperty(std::int32_t site, bool siteLevel, const std::string& folder,
                            std::string& value, const std::string& name)
{
    if (m_bridge.Available())
        return m_bridge.GetProperty(site, folder, name, value);
    try {
        value = MetabaseValueText(FolderObject(site, siteLevel, folder)->Get(name));
        return true;
    } catch (const MetabaseError&) {
        value = kPropertyError;
        return false;
    }
}

bool SiteAdmin::SetProperty(std::int32_t site, bool siteLevel, const std::string& folder,
                            const std::string& value, const std::string& name)
{
    if (m_bridge.Available())
        return m_bridge.SetProperty(site, folder, name, value) == 1;
    try {
        const std::unique_ptr<IMetabaseObject> object = FolderObject(site, siteLevel, folder);
        object->Put(name, value);
        object->SetInfo();
        return true;
    } catch (const MetabaseError&) {
        return false;
    }
}

std::string SiteAdmin::GetAnonymousUser()
{
    if (m_bridge.Available())
        return m_bridge.GetAnonUser();
    const std::int32_t number = GetFreeSiteNumber();
    if (number == -1)
        return {};
    try {
        const std::unique_ptr<IMetabaseObject> service = WebService();
        const std::string name = std::to_string(number);
        const std::unique_ptr<IMetabaseObject> site = service->Create(kWebServer, name);
        // The scratch site goes again however the read ends.
        const auto removeSite = core::MakeScopeGuard([&service, &name] {
            try {
                service->Delete(kWebServer, name);
            } catch (const MetabaseError&) {
            }
        });
        site->SetInfo();
        return MetabaseValueText(site->Get("AnonymousUserName"));
    } catch (const MetabaseError&) {
        return {};
    }
}

std::int32_t SiteAdmin::GetFreeSiteNumber()
{
    if (m_bridge.Available())
        return m_bridge.GetUniqueAccountId();
    try {
        const std::unique_ptr<IMetabaseObject> service = WebService();
        for (std::int32_t n = 1; n < std::numeric_limits<std::int32_t>::max(); ++n) {
            try {
                Site(*service, n);
            } catch (const MetabaseError&) {
                return n;
            }
        }
    } catch (const MetabaseError&) {
    }
    return -1;
}

}  // namespace setup::sysconfig::webserver
