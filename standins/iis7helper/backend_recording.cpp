// The tests' backend: every call appended as one line to the file that IIS7_HELPER_LOG names,
// with fixed answers, so that a test sees what reached the library and in which order.
#include <windows.h>

#include <cstdio>
#include <string>

#include "standins/iis7helper/helper_backend.h"

namespace standins::iis7helper {

namespace {

namespace web = setup::sysconfig::webserver;

std::string Field(const std::string& text)
{
    return "|" + text;
}
std::string Field(std::int32_t number)
{
    return "|" + std::to_string(number);
}
std::string Field(bool flag)
{
    return flag ? "|1" : "|0";
}

class RecordingBackend : public web::IIis7Helper
{
public:
    std::optional<std::string> GetSiteList() override
    {
        Record("GetIISSiteList");
        return "Default Web Site$NEWLINE$Shop";
    }
    std::optional<std::pair<bool, std::string>> GetProperty(std::int32_t site,
                                                            const std::string& folder,
                                                            const std::string& name) override
    {
        Record("GetIISProperty" + Field(site) + Field(folder) + Field(name));
        return std::make_pair(true, "value of " + name);
    }
    std::optional<std::int32_t> SetProperty(std::int32_t site, const std::string& folder,
                                            const std::string& name,
                                            const std::string& value) override
    {
        Record("SetIISProperty" + Field(site) + Field(folder) + Field(name) + Field(value));
        return 1;
    }
    std::optional<std::int32_t> CreateSite(const web::SiteSettings& s) override
    {
        Record("CreateIISSite" + Field(s.description) + Field(s.siteNumber) + Field(s.ipAddress) +
               Field(s.hostHeader) + Field(s.port) + Field(s.securePort) +
               Field(s.connectionTimeout) + Field(s.keepAlive) + Field(s.logging) +
               Field(s.enableAsp) + Field(s.enableExe) + Field(s.unlimitedConnections) +
               Field(s.iis7Flag) + Field(s.maxConnections) + Field(s.serverSize));
        return 1;
    }
    std::optional<std::int32_t> CreateSiteFolder(const web::FolderSettings& f) override
    {
        Record("CreateIISSiteFolder" + Field(f.folder) + Field(f.siteNumber) +
               Field(f.physicalPath) + Field(f.sourceAccess) + Field(f.readAccess) +
               Field(f.writeAccess) + Field(f.directoryBrowsing) + Field(f.logVisits) +
               Field(f.contentIndexed) + Field(f.isolation) + Field(f.executeLevel) +
               Field(f.enableDefaultDocument) + Field(f.defaultDocuments) +
               Field(f.documentFooter) + Field(f.anonymousAccess) + Field(f.ntlmAuthentication) +
               Field(f.basicAuthentication) + Field(f.mimeMap) + Field(f.applicationPool));
        return 1;
    }
    std::optional<std::int32_t> DeleteSiteFolder(std::int32_t site,
                                                 const std::string& folder) override
    {
        Record("DeleteIISSiteFolder" + Field(site) + Field(folder));
        return 1;
    }
    std::optional<std::string> GetAnonUser() override
    {
        Record("GetIISAnonUser");
        return "IUSR_RECORDED";
    }
    std::optional<std::int32_t> GetSiteIndex(const std::string& description) override
    {
        Record("GetIISSiteIndex" + Field(description));
        return 7;
    }
    std::optional<std::int32_t> DeleteSite(std::int32_t site) override
    {
        Record("DeleteIISSite" + Field(site));
        return 1;
    }
    std::optional<std::int32_t> ControlSite(std::int32_t site, std::int32_t code) override
    {
        Record("ControlIISSite" + Field(site) + Field(code));
        return 1;
    }
    std::optional<std::int32_t> GetUniqueAccountId() override
    {
        Record("GetIISUniqueAccountID");
        return 3;
    }
    std::optional<std::int32_t> GetSiteState(std::int32_t site) override
    {
        Record("GetIISSiteState" + Field(site));
        return 2;
    }

private:
    static void Record(const std::string& line)
    {
        // The variable as the process has it now, not the runtime's copy from the start.
        char path[MAX_PATH];
        const DWORD length = ::GetEnvironmentVariableA("IIS7_HELPER_LOG", path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return;
        if (std::FILE* log = std::fopen(path, "ab")) {
            std::fprintf(log, "%s\n", line.c_str());
            std::fclose(log);
        }
    }
};

}  // namespace

web::IIis7Helper& Backend()
{
    static RecordingBackend backend;
    return backend;
}

}  // namespace standins::iis7helper
