#include "setup/sysconfig/webserver/iis7_platform_win32.h"

#include <vector>

#include "core/unique_handle.h"
#include "setup/engine/system/resource_file_win32.h"
#include "setup/sysconfig/webserver/iis7_exports.h"

namespace setup::sysconfig::webserver {

namespace {

namespace ex = exports;

std::optional<std::int32_t> ReadDword(HKEY key, const char* name)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string BufferText(const std::vector<char>& buffer)
{
    return std::string(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
}

// Loads the helper for one call and releases it afterwards.
class HelperCalls : public IIis7Helper
{
public:
    explicit HelperCalls(std::string path) : m_path(std::move(path)) {}

    std::optional<std::string> GetSiteList() override
    {
        return WithBuffer<ex::GetIISSiteList>(
            "GetIISSiteList", [](auto call, char* buffer) { call(buffer, ex::kHelperBufferSize); });
    }
    std::optional<std::pair<bool, std::string>> GetProperty(std::int32_t site,
                                                            const std::string& folder,
                                                            const std::string& name) override
    {
        std::vector<char> buffer(ex::kHelperBufferSize, '\0');
        const auto ok = Call<ex::GetIISProperty>("GetIISProperty", [&](auto call) {
            return call(site, folder.c_str(), name.c_str(), buffer.data(), ex::kHelperBufferSize);
        });
        if (!ok)
            return std::nullopt;
        return std::make_pair(*ok == 1, BufferText(buffer));
    }
    std::optional<std::int32_t> SetProperty(std::int32_t site, const std::string& folder,
                                            const std::string& name,
                                            const std::string& value) override
    {
        return Call<ex::SetIISProperty>("SetIISProperty", [&](auto call) {
            return call(site, folder.c_str(), name.c_str(), value.c_str());
        });
    }
    std::optional<std::int32_t> CreateSite(const SiteSettings& s) override
    {
        return Call<ex::CreateIISSite>("CreateIISSite", [&](auto call) {
            return call(s.description.c_str(), s.siteNumber.c_str(), s.ipAddress.c_str(),
                        s.hostHeader.c_str(), s.port.c_str(), s.securePort.c_str(),
                        s.connectionTimeout, s.keepAlive, s.logging, s.enableAsp, s.enableExe,
                        s.unlimitedConnections, s.iis7Flag, s.maxConnections, s.serverSize);
        });
    }
    std::optional<std::int32_t> CreateSiteFolder(const FolderSettings& f) override
    {
        return Call<ex::CreateIISSiteFolder>("CreateIISSiteFolder", [&](auto call) {
            return call(f.folder.c_str(), f.siteNumber, f.physicalPath.c_str(), f.sourceAccess,
                        f.readAccess, f.writeAccess, f.directoryBrowsing, f.logVisits,
                        f.contentIndexed, f.isolation, f.executeLevel, f.enableDefaultDocument,
                        f.defaultDocuments.c_str(), f.documentFooter.c_str(), f.anonymousAccess,
                        f.ntlmAuthentication, f.basicAuthentication, f.mimeMap.c_str(),
                        f.applicationPool.c_str());
        });
    }
    std::optional<std::int32_t> DeleteSiteFolder(std::int32_t site,
                                                 const std::string& folder) override
    {
        return Call<ex::DeleteIISSiteFolder>("DeleteIISSiteFolder",
                                             [&](auto call) { return call(site, folder.c_str()); });
    }
    std::optional<std::string> GetAnonUser() override
    {
        return WithBuffer<ex::GetIISAnonUser>(
            "GetIISAnonUser", [](auto call, char* buffer) { call(buffer, ex::kHelperBufferSize); });
    }
    std::optional<std::int32_t> GetSiteIndex(const std::string& description) override
    {
        return OutNumber<ex::GetIISSiteIndex>(
            "GetIISSiteIndex", 0, [&](auto call, auto* out) { call(description.c_str(), out); });
    }
    std::optional<std::int32_t> DeleteSite(std::int32_t site) override
    {
        return Call<ex::DeleteIISSite>("DeleteIISSite", [&](auto call) { return call(site); });
    }
    std::optional<std::int32_t> ControlSite(std::int32_t site, std::int32_t code) override
    {
        return Call<ex::ControlIISSite>("ControlIISSite",
                                        [&](auto call) { return call(site, code); });
    }
    std::optional<std::int32_t> GetUniqueAccountId() override
    {
        return OutNumber<ex::GetIISUniqueAccountID>("GetIISUniqueAccountID", -1,
                                                    [](auto call, auto* out) { call(out); });
    }
    std::optional<std::int32_t> GetSiteState(std::int32_t site) override
    {
        return OutNumber<ex::GetIISSiteState>("GetIISSiteState", -1,
                                              [&](auto call, auto* out) { call(site, out); });
    }

private:
    template <typename Export, typename Body>
    auto Call(const char* name, Body body) -> std::optional<decltype(body(Export{}))>
    {
        const core::UniqueModule library(::LoadLibraryA(m_path.c_str()));
        if (!library)
            return std::nullopt;
        const auto call = reinterpret_cast<Export>(::GetProcAddress(library.Get(), name));
        if (call == nullptr)
            return std::nullopt;
        return body(call);
    }
    template <typename Export, typename Body>
    std::optional<std::string> WithBuffer(const char* name, Body body)
    {
        std::vector<char> buffer(ex::kHelperBufferSize, '\0');
        const auto called = Call<Export>(name, [&](Export call) {
            body(call, buffer.data());
            return true;
        });
        if (!called)
            return std::nullopt;
        return BufferText(buffer);
    }
    template <typename Export, typename Body>
    std::optional<std::int32_t> OutNumber(const char* name, std::int32_t preset, Body body)
    {
        std::int32_t number = preset;
        const auto called = Call<Export>(name, [&](Export call) {
            body(call, &number);
            return true;
        });
        if (!called)
            return std::nullopt;
        return number;
    }

    std::string m_path;
};

}  // namespace

std::optional<InstalledVersion> Win32Iis7Platform::WebServerVersion()
{
    core::UniqueKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\INetStp", 0, KEY_READ,
                        key.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    const auto major = ReadDword(key.Get(), "MajorVersion");
    const auto minor = ReadDword(key.Get(), "MinorVersion");
    if (!major || !minor)
        return std::nullopt;
    return InstalledVersion{*major, *minor};
}

void Win32Iis7Platform::WriteHelperLibrary(const std::string& path)
{
    engine::WriteResourceFile(m_resources, "DLL", path);
}

bool Win32Iis7Platform::RemoveFile(const std::string& path)
{
    return ::DeleteFileA(path.c_str()) != FALSE;
}

std::unique_ptr<IIis7Helper> Win32Iis7Platform::OpenHelper(const std::string& path)
{
    return std::make_unique<HelperCalls>(path);
}

}  // namespace setup::sysconfig::webserver
