// Windows' side of the version-7 bridge: the installed version from the registry, the helper
// written from the program's resource "DLL", and the helper's exports loaded and released around
// every call.
#pragma once

#include <windows.h>

#include "setup/sysconfig/webserver/iis7_bridge.h"

namespace setup::sysconfig::webserver {

class Win32Iis7Platform : public IIis7Platform
{
public:
    // The module whose resources carry the helper; null is the program itself.
    explicit Win32Iis7Platform(HMODULE resources = nullptr) : m_resources(resources) {}

    std::optional<InstalledVersion> WebServerVersion() override;
    void WriteHelperLibrary(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    std::unique_ptr<IIis7Helper> OpenHelper(const std::string& path) override;

private:
    HMODULE m_resources;
};

}  // namespace setup::sysconfig::webserver
