// The Windows side of the installer cache and the Windows Installer statements: special folders,
// rights, the cache's files, the uninstall and Ident.Cache registry entries and the install
// thread, for the engine's detection and statements.
#pragma once

#include "setup/engine/installer/installer_cache.h"
#include "setup/engine/installer/statements_installer.h"

namespace setup::sysconfig::installer {

struct InstallerBridge;

class Win32CacheSystem final : public engine::ICacheSystem
{
public:
    bool IsWindowsNT() override;
    bool HasAdminRights() override;
    std::string SpecialFolder(int folderId) override;
    std::string ReadIdentCache(const std::string& productCode) override;
    std::string ReadUninstallString(const std::string& title, bool machineHive) override;
    int QueryProductState(const std::string& productCode) override;
    bool InstalledPackageCodeMatches(const std::string& productCode,
                                     const std::string& packageCode) override;
    bool FileExists(const std::string& path) override;
    std::vector<std::string> ReadLines(const std::string& path) override;
    std::vector<std::string> FileNames(const std::string& folder,
                                       const std::string& pattern) override;
    bool CreateFolders(const std::string& folder) override;
    bool FolderExists(const std::string& folder) override;
    void SetHidden(const std::string& folder) override;
    void SetCompression(const std::string& folder, bool compressed) override;
};

// The install thread runs with the data folder of the state given here, through the run's bridge;
// the process facts are the run's.
class Win32InstallerSystem final : public engine::IInstallerSystem
{
public:
    Win32InstallerSystem(engine::InstallationState& state, InstallerBridge& bridge,
                         const engine::ProcessFacts& process)
        : m_state(state), m_bridge(bridge), m_process(process)
    {}

    int RunInstall(const engine::InstallRequest& request, std::string& errorText) override;
    int QueryProductState(const std::string& productCode) override;
    std::string PreparedInstancePackage() override;
    void MarkNewInstance(const std::string& productCode, const std::string& cacheId) override;
    void LocalizePackage(const std::string& packagePath, const std::vector<std::string>& shortcuts,
                         const std::vector<std::string>& progIds) override;
    std::string NewGuid() override;
    std::string TempFolder() override;
    bool BrowseForFolder(const std::string& prompt, std::string& folder) override;
    bool IsWindows2000OrLater() override;
    bool IsWindows9x() override;
    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    bool CreateFolders(const std::string& path, bool compressed) override;
    void CopyOver(const std::string& source, const std::string& target) override;
    void WriteLines(const std::string& path, const std::vector<std::string>& lines) override;
    void RemoveFile(const std::string& path) override;
    void RemoveFolder(const std::string& path) override;
    void DeleteTree(const std::string& path) override;
    bool MoveFolder(const std::string& source, const std::string& target) override;
    bool DeleteOnReboot(const std::string& path) override;
    std::string ReadUninstallString(const std::string& title, bool machineHive) override;
    void WriteString(bool machineHive, const std::string& key, const std::string& name,
                     const std::string& value) override;
    void DeleteKey(bool machineHive, const std::string& key) override;

private:
    engine::InstallationState& m_state;
    InstallerBridge& m_bridge;
    const engine::ProcessFacts& m_process;
};

// A registry string value; empty when the key or value cannot be read.
std::string ReadRegistryString(bool machineHive, const std::string& key, const std::string& name);

}  // namespace setup::sysconfig::installer
