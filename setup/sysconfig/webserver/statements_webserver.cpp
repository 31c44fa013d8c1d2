#include "setup/sysconfig/webserver/statements_webserver.h"

#include <optional>

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/variables.h"
#include "setup/sysconfig/webserver/site_admin.h"

namespace setup::sysconfig::webserver {

namespace {

using engine::StatementContext;

// The administration as one statement sees it: the host IISHOST names now.
class StatementAdmin
{
public:
    StatementAdmin(StatementContext& statement, const WebServerStatementServices& services)
        : m_bridge(*services.iis7, statement.Engine().Parts.Get<Iis7HelperFile>(),
                   statement.Vars().Get("SUPPORTDIR")),
          m_admin(*services.metabase, m_bridge, statement.Vars().Get("IISHOST"))
    {}
    SiteAdmin* operator->() { return &m_admin; }

private:
    Iis7Bridge m_bridge;
    SiteAdmin m_admin;
};

std::string Normalized(StatementContext& statement, int n)
{
    return engine::NormalizedParam(statement, n);
}

bool Flag(StatementContext& statement, int n)
{
    return engine::TextToBool(Normalized(statement, n));
}

std::int32_t Number(StatementContext& statement, int n)
{
    return engine::TextToInt32(Normalized(statement, n));
}

// Expanded, translated under the index, then normalised.
std::string Translated(StatementContext& statement, int n, int translationIndex)
{
    const std::string expanded = engine::ExpandedParam(statement, n);
    return statement.Vars().NormalizePath(
        engine::LocalizeExpanded(statement, expanded, statement.Key(), translationIndex));
}

// Stored under the upper-cased name, created when missing.
void SetResult(StatementContext& statement, int n, const std::string& value)
{
    const std::string name =
        rtl::AnsiUpperCase(engine::NamedVariable(engine::RawParam(statement, n)));
    statement.Vars().Set(name, value, statement.ResultContext());
}

std::pair<std::string, std::string> SplitAtBar(const std::string& text)
{
    const std::size_t bar = text.find('|');
    if (bar == std::string::npos)
        return {text, ""};
    return {text.substr(0, bar), text.substr(bar + 1)};
}

// The file-system redirection of a 64-bit target off while the statement runs.
engine::OptionalFsRedirectionScope NoRedirection(StatementContext& statement,
                                                 const WebServerStatementServices& services)
{
    return {services.wow64, statement.Engine().TargetPlatform};
}

void CreateSite(StatementContext& statement, const WebServerStatementServices& services)
{
    SiteSettings site;
    site.description = Translated(statement, 1, 1);
    site.siteNumber = Normalized(statement, 2);
    site.ipAddress = Normalized(statement, 3);
    site.hostHeader = Normalized(statement, 4);
    site.port = Normalized(statement, 5);
    site.securePort = Normalized(statement, 6);
    site.connectionTimeout = Number(statement, 7);
    site.keepAlive = Flag(statement, 8);
    site.logging = Flag(statement, 9);
    site.enableAsp = Flag(statement, 10);
    site.enableExe = Flag(statement, 11);
    site.unlimitedConnections = Flag(statement, 12);
    site.iis7Flag = Flag(statement, 13);
    site.maxConnections = Number(statement, 14);
    site.serverSize = Number(statement, 15);
    StatementAdmin(statement, services)->CreateSite(site);
}

void CreateVirtualFolder(StatementContext& statement, const WebServerStatementServices& services)
{
    const auto redirection = NoRedirection(statement, services);
    FolderSettings folder;
    folder.folder = Translated(statement, 1, 1);
    folder.siteNumber = Number(statement, 18);
    folder.physicalPath = Normalized(statement, 2);
    folder.sourceAccess = Flag(statement, 3);
    folder.readAccess = Flag(statement, 4);
    folder.writeAccess = Flag(statement, 5);
    folder.directoryBrowsing = Flag(statement, 6);
    folder.logVisits = Flag(statement, 7);
    folder.contentIndexed = Flag(statement, 8);
    const auto [isolation, pool] = SplitAtBar(Normalized(statement, 9));
    folder.isolation = engine::TextToInt32(isolation);
    folder.applicationPool = pool;
    const auto [executeLevel, aspNet] = SplitAtBar(Normalized(statement, 10));
    folder.executeLevel = engine::TextToInt32(executeLevel);
    folder.enableDefaultDocument = Flag(statement, 11);
    folder.defaultDocuments = Translated(statement, 12, 2);
    folder.documentFooter = Translated(statement, 13, 3);
    folder.anonymousAccess = Flag(statement, 14);
    folder.ntlmAuthentication = Flag(statement, 15);
    folder.basicAuthentication = Flag(statement, 16);
    folder.mimeMap = Normalized(statement, 17);
    if (StatementAdmin(statement, services)->CreateVirtualFolder(folder) == 0)
        return;
    const std::string version = AspNetVersionFolder(aspNet);
    if (version.empty() || !services.runProgram)
        return;
    const std::string toolFolder =
        statement.Engine().process.windowsDir + "Microsoft.NET\\Framework\\" + version;
    services.runProgram(
        toolFolder + "\\aspnet_regiis.exe",
        "-s \"w3svc/" + Normalized(statement, 18) + "/" + FolderPath(folder.folder) + "\"",
        toolFolder);
}

void GetProperty(StatementContext& statement, const WebServerStatementServices& services)
{
    const auto redirection = NoRedirection(statement, services);
    const bool siteLevel = Flag(statement, 1);
    const std::int32_t site = Number(statement, 3);
    const std::string folder = engine::ExpandedNormalizedParam(statement, 4);
    const std::string name = engine::ExpandedNormalizedParam(statement, 5);
    std::string value;
    StatementAdmin(statement, services)->GetProperty(site, siteLevel, folder, value, name);
    SetResult(statement, 6, value);
}

void SetProperty(StatementContext& statement, const WebServerStatementServices& services)
{
    const auto redirection = NoRedirection(statement, services);
    const bool siteLevel = Flag(statement, 1);
    const std::int32_t site = Number(statement, 3);
    const std::string folder = engine::ExpandedNormalizedParam(statement, 4);
    const std::string name = engine::ExpandedNormalizedParam(statement, 5);
    const std::string value = engine::ExpandedNormalizedParam(statement, 6);
    StatementAdmin(statement, services)->SetProperty(site, siteLevel, folder, value, name);
}

}  // namespace

std::string AspNetVersionFolder(const std::string& code)
{
    if (code.empty() || code == "0")
        return {};
    if (code == "1")
        return "v1.1.4322";
    if (code == "2")
        return "v2.0.50727";
    return code;
}

void RegisterWebServerStatements(engine::StatementHandlerTable& table,
                                 const WebServerStatementServices& services)
{
    table.Register("Create IIS Site", [services](StatementContext& s) { CreateSite(s, services); });
    table.Register("Delete IIS Site", [services](StatementContext& s) {
        const std::int32_t site = Number(s, 1);
        StatementAdmin(s, services)->DeleteSite(site);
    });
    table.Register("Control IIS Site", [services](StatementContext& s) {
        const std::int32_t site = Number(s, 1);
        const std::int32_t code = engine::TextToInt32(engine::RawParam(s, 2));
        StatementAdmin(s, services)->ControlSite(site, code);
    });
    table.Register("Create Virtual Folder",
                   [services](StatementContext& s) { CreateVirtualFolder(s, services); });
    table.Register("Delete Virtual Folder", [services](StatementContext& s) {
        const auto redirection = NoRedirection(s, services);
        const std::int32_t site = Number(s, 1);
        const std::string folder = Normalized(s, 2);
        StatementAdmin(s, services)->DeleteVirtualFolder(site, folder);
    });
    table.Register("Get IIS Site List", [services](StatementContext& s) {
        SetResult(s, 1, StatementAdmin(s, services)->GetSiteList());
    });
    table.Register("Get IIS Site Index", [services](StatementContext& s) {
        const std::string description = Translated(s, 1, 1);
        SetResult(s, 2, std::to_string(StatementAdmin(s, services)->GetSiteIndex(description)));
    });
    table.Register("Get IIS Property",
                   [services](StatementContext& s) { GetProperty(s, services); });
    table.Register("Set IIS Property",
                   [services](StatementContext& s) { SetProperty(s, services); });
    table.Register("IIS Anonymous User", [services](StatementContext& s) {
        const engine::ResultVariable result(s, engine::RawParam(s, 1));
        result.Assign(StatementAdmin(s, services)->GetAnonymousUser());
    });
}

}  // namespace setup::sysconfig::webserver
