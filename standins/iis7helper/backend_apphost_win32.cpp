// The shipped backend: the web server's version-7 configuration through its administration
// objects ("Microsoft.ApplicationHost.WritableAdminManager"), late-bound. The site's "id" is the
// site number and its "name" the description, as the version-6 metabase had them.
#include <optional>
#include <string>
#include <vector>

#include "setup/engine/rtl/string_list.h"
#include "setup/sysconfig/webserver/automation_win32.h"
#include "standins/iis7helper/helper_backend.h"

namespace standins::iis7helper {

namespace {

namespace web = setup::sysconfig::webserver;
using web::Automation;
using web::MetabaseError;
using web::MetabaseValue;
using web::Variant;

constexpr char kRootPath[] = "MACHINE/WEBROOT/APPHOST";

Variant Value(const MetabaseValue& value)
{
    return Variant(value);
}

std::string TextOf(const Variant& value)
{
    return web::MetabaseValueText(value.ToMetabaseValue());
}

class Element
{
public:
    explicit Element(Automation object) : m_object(std::move(object)) {}
    explicit Element(const Variant& value) : m_object(value.ToObject()) {}

    Variant Attribute(const std::string& name)
    {
        Automation property(m_object.CallMethod("GetPropertyByName", {Value(name)}).ToObject());
        return property.GetProperty("Value");
    }
    void SetAttribute(const std::string& name, const MetabaseValue& value)
    {
        Automation property(m_object.CallMethod("GetPropertyByName", {Value(name)}).ToObject());
        property.PutProperty("Value", Value(value));
    }
    Element Child(const std::string& name)
    {
        return Element(m_object.CallMethod("GetElementByName", {Value(name)}));
    }
    Automation Collection() { return Automation(m_object.GetProperty("Collection").ToObject()); }
    IDispatch* Object() const { return m_object.Object(); }
    void RunMethod(const std::string& name)
    {
        Automation methods(m_object.GetProperty("Methods").ToObject());
        Automation method(methods.CallMethod("Item", {Value(name)}).ToObject());
        Automation instance(method.CallMethod("CreateInstance", {}).ToObject());
        instance.CallMethod("Execute", {});
    }

private:
    Automation m_object;
};

std::int32_t Count(Automation& collection)
{
    return std::get<std::int32_t>(collection.GetProperty("Count").ToMetabaseValue());
}

Element Item(Automation& collection, std::int32_t index)
{
    return Element(collection.CallMethod("Item", {Value(index)}));
}

class AppHostBackend : public web::IIis7Helper
{
public:
    std::optional<std::string> GetSiteList() override
    {
        return Guard<std::string>(
            [&] {
                std::string list;
                Automation sites = Sites();
                for (std::int32_t i = 0; i < Count(sites); ++i)
                    list += (i ? "$NEWLINE$" : "") + TextOf(Item(sites, i).Attribute("name"));
                return list;
            },
            "");
    }
    std::optional<std::pair<bool, std::string>> GetProperty(std::int32_t site,
                                                            const std::string& folder,
                                                            const std::string& name) override
    {
        return Guard<std::pair<bool, std::string>>(
            [&] {
                return std::make_pair(true, TextOf(FolderElement(site, folder).Attribute(name)));
            },
            std::make_pair(false, std::string("!ERROR!")));
    }
    std::optional<std::int32_t> SetProperty(std::int32_t site, const std::string& folder,
                                            const std::string& name,
                                            const std::string& value) override
    {
        return Guard<std::int32_t>(
            [&] {
                FolderElement(site, folder).SetAttribute(name, value);
                Commit();
                return 1;
            },
            0);
    }
    std::optional<std::int32_t> CreateSite(const web::SiteSettings& s) override
    {
        return Guard<std::int32_t>(
            [&] {
                std::int32_t id = 0;
                try {
                    id = std::stoi(s.siteNumber);
                } catch (const std::exception&) {
                    id = FreeSiteId();
                }
                Automation sites = Sites();
                std::optional<Element> site = FindSite(sites, id);
                if (!site) {
                    site.emplace(
                        sites.CallMethod("CreateNewElement", {Value(std::string("site"))}));
                    site->SetAttribute("id", id);
                    sites.CallMethod("AddElement", {Variant(site->Object())});
                }
                site->SetAttribute("name", s.description);
                const std::string ip = s.ipAddress.empty() ? "*" : s.ipAddress;
                Automation bindings = site->Child("bindings").Collection();
                bindings.CallMethod("Clear", {});
                AddBinding(bindings, "http", ip + ":" + s.port + ":" + s.hostHeader);
                if (!s.securePort.empty())
                    AddBinding(bindings, "https", ip + ":" + s.securePort + ":" + s.hostHeader);
                Element limits = site->Child("limits");
                limits.SetAttribute("maxConnections",
                                    s.unlimitedConnections ? std::int32_t{-1} : s.maxConnections);
                site->Child("logFile").SetAttribute("enabled", s.logging);
                Commit();
                return 1;
            },
            0);
    }
    std::optional<std::int32_t> CreateSiteFolder(const web::FolderSettings& f) override
    {
        return Guard<std::int32_t>(
            [&] {
                Automation sites = Sites();
                std::optional<Element> site = FindSite(sites, f.siteNumber);
                if (!site)
                    return 0;
                const std::string path = "/" + f.folder;
                Automation applications = site->Collection();
                Element application(applications.CallMethod("CreateNewElement",
                                                            {Value(std::string("application"))}));
                application.SetAttribute("path", path);
                if (!f.applicationPool.empty())
                    application.SetAttribute("applicationPool", f.applicationPool);
                Automation directories = application.Collection();
                Element directory(directories.CallMethod("CreateNewElement",
                                                         {Value(std::string("virtualDirectory"))}));
                directory.SetAttribute("path", std::string("/"));
                directory.SetAttribute("physicalPath", f.physicalPath);
                directories.CallMethod("AddElement", {Variant(directory.Object())});
                applications.CallMethod("AddElement", {Variant(application.Object())});
                const std::string location =
                    std::string(kRootPath) + "/" + TextOf(site->Attribute("name")) + path;
                Section("system.webServer/directoryBrowse", location)
                    .SetAttribute("enabled", f.directoryBrowsing);
                Section("system.webServer/defaultDocument", location)
                    .SetAttribute("enabled", f.enableDefaultDocument);
                Section("system.webServer/security/authentication/anonymousAuthentication",
                        location)
                    .SetAttribute("enabled", f.anonymousAccess);
                Section("system.webServer/security/authentication/windowsAuthentication", location)
                    .SetAttribute("enabled", f.ntlmAuthentication);
                Section("system.webServer/security/authentication/basicAuthentication", location)
                    .SetAttribute("enabled", f.basicAuthentication);
                AddMimeMap(location, f.mimeMap);
                Commit();
                return 1;
            },
            0);
    }
    std::optional<std::int32_t> DeleteSiteFolder(std::int32_t site,
                                                 const std::string& folder) override
    {
        return Guard<std::int32_t>(
            [&] {
                Automation sites = Sites();
                std::optional<Element> found = FindSite(sites, site);
                if (!found)
                    return 0;
                Automation applications = found->Collection();
                for (std::int32_t i = 0; i < Count(applications); ++i) {
                    if (TextOf(Item(applications, i).Attribute("path")) == "/" + folder) {
                        applications.CallMethod("DeleteElement", {Value(i)});
                        Commit();
                        return 1;
                    }
                }
                return 0;
            },
            0);
    }
    std::optional<std::string> GetAnonUser() override
    {
        return Guard<std::string>(
            [&] {
                return TextOf(
                    Section("system.webServer/security/authentication/anonymousAuthentication",
                            kRootPath)
                        .Attribute("userName"));
            },
            "");
    }
    std::optional<std::int32_t> GetSiteIndex(const std::string& description) override
    {
        return Guard<std::int32_t>(
            [&] {
                Automation sites = Sites();
                for (std::int32_t i = 0; i < Count(sites); ++i) {
                    Element site = Item(sites, i);
                    if (TextOf(site.Attribute("name")) == description)
                        return std::get<std::int32_t>(site.Attribute("id").ToMetabaseValue());
                }
                return 0;
            },
            0);
    }
    std::optional<std::int32_t> DeleteSite(std::int32_t site) override
    {
        return Guard<std::int32_t>(
            [&] {
                Automation sites = Sites();
                for (std::int32_t i = 0; i < Count(sites); ++i) {
                    if (SiteId(Item(sites, i)) == site) {
                        sites.CallMethod("DeleteElement", {Value(i)});
                        Commit();
                        return 1;
                    }
                }
                return 0;
            },
            0);
    }
    std::optional<std::int32_t> ControlSite(std::int32_t site, std::int32_t code) override
    {
        return Guard<std::int32_t>(
            [&] {
                Automation sites = Sites();
                std::optional<Element> found = FindSite(sites, site);
                // This server has no paused state: continue starts, pause stops.
                if (!found || code < 0 || code > 3)
                    return 0;
                found->RunMethod(code == 0 || code == 3 ? "Start" : "Stop");
                return 1;
            },
            0);
    }
    std::optional<std::int32_t> GetUniqueAccountId() override
    {
        return Guard<std::int32_t>([&] { return FreeSiteId(); }, -1);
    }
    std::optional<std::int32_t> GetSiteState(std::int32_t site) override
    {
        return Guard<std::int32_t>(
            [&] {
                Automation sites = Sites();
                std::optional<Element> found = FindSite(sites, site);
                if (!found)
                    return -1;
                // Starting, started, stopping, stopped as the version-6 Status numbers them.
                const std::int32_t state =
                    std::get<std::int32_t>(found->Attribute("state").ToMetabaseValue());
                return state >= 0 && state <= 3 ? state + 1 : -1;
            },
            -1);
    }

private:
    template <typename T, typename Body>
    std::optional<T> Guard(Body body, T failure)
    {
        try {
            return body();
        } catch (const MetabaseError&) {
            return failure;
        } catch (const std::bad_variant_access&) {
            return failure;
        }
    }
    Automation& Manager()
    {
        if (!m_manager) {
            ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            m_manager.emplace(
                Automation::Create(L"Microsoft.ApplicationHost.WritableAdminManager"));
            m_manager->PutProperty("CommitPath", Value(std::string(kRootPath)));
        }
        return *m_manager;
    }
    Element Section(const std::string& name, const std::string& path)
    {
        return Element(Manager().CallMethod("GetAdminSection", {Value(name), Value(path)}));
    }
    Automation Sites() { return Section("system.applicationHost/sites", kRootPath).Collection(); }
    void Commit() { Manager().CallMethod("CommitChanges", {}); }
    static std::int32_t SiteId(Element site)
    {
        return std::get<std::int32_t>(site.Attribute("id").ToMetabaseValue());
    }
    std::optional<Element> FindSite(Automation& sites, std::int32_t id)
    {
        for (std::int32_t i = 0; i < Count(sites); ++i) {
            Element site = Item(sites, i);
            if (SiteId(site) == id)
                return site;
        }
        return std::nullopt;
    }
    // The site itself for an empty folder, else the application of that path; the attributes
    // are this server's own names.
    Element FolderElement(std::int32_t id, const std::string& folder)
    {
        Automation sites = Sites();
        std::optional<Element> site = FindSite(sites, id);
        if (!site)
            throw MetabaseError("no site");
        if (folder.empty())
            return *site;
        Automation applications = site->Collection();
        for (std::int32_t i = 0; i < Count(applications); ++i) {
            Element application = Item(applications, i);
            if (TextOf(application.Attribute("path")) == "/" + folder)
                return application;
        }
        throw MetabaseError("no folder");
    }
    std::int32_t FreeSiteId()
    {
        Automation sites = Sites();
        for (std::int32_t id = 1;; ++id) {
            if (!FindSite(sites, id))
                return id;
        }
    }
    void AddBinding(Automation& bindings, const std::string& protocol,
                    const std::string& information)
    {
        Element binding(bindings.CallMethod("CreateNewElement", {Value(std::string("binding"))}));
        binding.SetAttribute("protocol", protocol);
        binding.SetAttribute("bindingInformation", information);
        bindings.CallMethod("AddElement", {Variant(binding.Object())});
    }
    void AddMimeMap(const std::string& location, const std::string& mimeMap)
    {
        if (mimeMap.empty())
            return;
        Automation entries = Section("system.webServer/staticContent", location).Collection();
        for (const std::string& entry : setup::rtl::FromCommaText(mimeMap)) {
            const std::size_t equals = entry.find('=');
            Element mime(entries.CallMethod("CreateNewElement", {Value(std::string("mimeMap"))}));
            mime.SetAttribute("fileExtension", entry.substr(0, equals));
            mime.SetAttribute("mimeType",
                              equals == std::string::npos ? "" : entry.substr(equals + 1));
            entries.CallMethod("AddElement", {Variant(mime.Object())});
        }
    }

    std::optional<Automation> m_manager;
};

}  // namespace

web::IIis7Helper& Backend()
{
    static AppHostBackend backend;
    return backend;
}

}  // namespace standins::iis7helper
