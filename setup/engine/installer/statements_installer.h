// The Windows Installer statements: installing, advertising, removing and patching the product
// through the install thread, keeping the installer cache and the Add/Remove Programs entry,
// asking for an installed product, a new side-by-side identity and the target platform.
#pragma once

#include <string>
#include <vector>

#include "setup/engine/installer/installer_cache.h"
#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_package.h"
#include "setup/sysconfig/installer/script_values.h"

namespace setup::engine {

// What the install thread is asked to do.
struct InstallRequest
{
    bool patchMode = false;
    std::string packagePath;
    std::string dialogFilePath;  // empty: no progress page
    std::string variablesText;
    std::string performedText;
    std::string propertiesText;
    std::string productCode;
    bool install = true;
    bool advertise = false;
    std::string targetDir;
    // The script's values the install reads, as they stand when it starts.
    sysconfig::installer::ScriptValues script;
};

// The installer service, the cache's files and the registry, behind one narrow interface.
class IInstallerSystem
{
public:
    virtual ~IInstallerSystem() = default;
    // 1 success, 2 restart needed, 0 cancelled, -1 failed with errorText.
    virtual int RunInstall(const InstallRequest& request, std::string& errorText) = 0;
    virtual int QueryProductState(const std::string& productCode) = 0;
    // The package the install thread prepared for a new instance; empty when none.
    virtual std::string PreparedInstancePackage() = 0;
    // The new identity the install thread writes into the package.
    virtual void MarkNewInstance(const std::string& productCode, const std::string& cacheId) = 0;
    // The run's collected shortcut and ProgID translations (triples) applied to the package.
    virtual void LocalizePackage(const std::string& packagePath,
                                 const std::vector<std::string>& shortcuts,
                                 const std::vector<std::string>& progIds) = 0;
    virtual std::string NewGuid() = 0;
    virtual std::string TempFolder() = 0;
    // False when the user gave up.
    virtual bool BrowseForFolder(const std::string& prompt, std::string& folder) = 0;
    virtual bool IsWindows2000OrLater() = 0;
    virtual bool IsWindows9x() = 0;  // 95, 98 and ME

    virtual bool FileExists(const std::string& path) = 0;
    virtual bool FolderExists(const std::string& path) = 0;
    virtual bool CreateFolders(const std::string& path, bool compressed) = 0;
    // Clears the target's attributes and overwrites it; failures ignored.
    virtual void CopyOver(const std::string& source, const std::string& target) = 0;
    // Raises when the file cannot be written.
    virtual void WriteLines(const std::string& path, const std::vector<std::string>& lines) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
    virtual void RemoveFolder(const std::string& path) = 0;  // an empty folder
    virtual void DeleteTree(const std::string& path) = 0;    // what it can
    virtual bool MoveFolder(const std::string& source, const std::string& target) = 0;
    virtual bool DeleteOnReboot(const std::string& path) = 0;

    virtual std::string ReadUninstallString(const std::string& title, bool machineHive) = 0;
    // Creates the key when missing; raises on failure.
    virtual void WriteString(bool machineHive, const std::string& key, const std::string& name,
                             const std::string& value) = 0;
    virtual void DeleteKey(bool machineHive, const std::string& key) = 0;
};

struct InstallerStatementServices
{
    const CacheContext* cache = nullptr;
    IInstallerSystem* system = nullptr;
    IPackageMedia* media = nullptr;  // none: no offline media block to acquire
};

inline constexpr std::string_view kMissingSourcesPrompt =
    "Please locate your original setup sources to continue operation";
inline constexpr std::string_view kMissingSourcesError =
    "Original setup sources required to complete operation, sources not found";

// -1 "ERROR", 0 "CANCEL", 1 "COMPLETE", 2 "REBOOT".
std::string InstallResultWord(int result);
// A path with a blank between double quotes, so a command line reads it whole.
std::string QuotedWhenBlank(const std::string& path);

void RegisterInstallerStatements(StatementHandlerTable& table,
                                 const InstallerStatementServices& services);

}  // namespace setup::engine
