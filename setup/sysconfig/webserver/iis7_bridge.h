// The bridge to web servers of version 7 and later: whether one is installed, the helper library
// written once from the program's resources into the support folder, and one forwarder per
// export with the export's default when the library or the export is missing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "setup/sysconfig/webserver/iis7_helper.h"

namespace setup::sysconfig::webserver {

inline constexpr char kHelperLibraryName[] = "ahadmin_wrapper.dll";

struct InstalledVersion
{
    std::int32_t major = 0;
    std::int32_t minor = 0;
};

// True from 7.0 on: major * 10 + minor above 69.
bool IsVersion7OrLater(const InstalledVersion& version);

class IIis7Platform
{
public:
    virtual ~IIis7Platform() = default;
    // "MajorVersion" and "MinorVersion" of the web server's setup key; none when either is
    // missing.
    virtual std::optional<InstalledVersion> WebServerVersion() = 0;
    // The program's own helper resource copied to the path, replacing a file there; raises when
    // the resource is missing or the file cannot be created.
    virtual void WriteHelperLibrary(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // The helper at the path; it is loaded and released around every single call.
    virtual std::unique_ptr<IIis7Helper> OpenHelper(const std::string& path) = 0;
};

// What the bridge keeps for the process: the helper is written at most once and removed when the
// setup program ends, through the platform that wrote it (which must outlive this object).
class Iis7HelperFile
{
public:
    Iis7HelperFile() = default;
    ~Iis7HelperFile();
    Iis7HelperFile(const Iis7HelperFile&) = delete;
    Iis7HelperFile& operator=(const Iis7HelperFile&) = delete;

    // Writes the helper into the folder (a trailing delimiter is added when missing).
    bool Extract(IIis7Platform& platform, const std::string& folder);
    bool Delete();
    bool Extracted() const { return m_extracted; }
    const std::string& Path() const { return m_path; }

private:
    IIis7Platform* m_platform = nullptr;
    std::string m_path;
    bool m_extracted = false;
};

class Iis7Bridge
{
public:
    Iis7Bridge(IIis7Platform& platform, Iis7HelperFile& helper, std::string supportDir)
        : m_platform(platform), m_helper(helper), m_supportDir(std::move(supportDir))
    {}

    // Version 7 or later installed and the helper in place; the first such answer writes the
    // helper, and a helper that cannot be written raises to the caller.
    bool Available();

    std::string GetSiteList();
    // False with "!ERROR!" when the export is missing.
    bool GetProperty(std::int32_t site, const std::string& folder, const std::string& name,
                     std::string& value);
    std::int32_t SetProperty(std::int32_t site, const std::string& folder, const std::string& name,
                             const std::string& value);
    std::int32_t CreateSite(const SiteSettings& site);
    std::int32_t CreateSiteFolder(const FolderSettings& folder);
    std::int32_t DeleteSiteFolder(std::int32_t site, const std::string& folder);
    std::string GetAnonUser();
    std::int32_t GetSiteIndex(const std::string& description);
    std::int32_t DeleteSite(std::int32_t site);
    std::int32_t ControlSite(std::int32_t site, std::int32_t code);
    std::int32_t GetUniqueAccountId();
    std::int32_t GetSiteState(std::int32_t site);

private:
    std::unique_ptr<IIis7Helper> Helper() { return m_platform.OpenHelper(m_helper.Path()); }

    IIis7Platform& m_platform;
    Iis7HelperFile& m_helper;
    std::string m_supportDir;
};

}  // namespace setup::sysconfig::webserver
