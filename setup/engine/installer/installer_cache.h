// Where the installer cache of a product lives and how a run finds its earlier installation:
// the cache root, the default target folder, maintenance and upgrade detection, the patch
// take-over and the state file written at the end of every run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/components/component_state_file.h"
#include "setup/engine/components/components.h"
#include "setup/engine/interpreter/interpreter.h"
#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/engine/script/setup_script.h"

namespace setup::engine {

// Windows Installer's "installed for this user or machine" product state.
inline constexpr int kProductInstalled = 5;
inline constexpr std::string_view kIdentCacheKey = "SOFTWARE\\Brakstone\\Quillbay\\Ident.Cache\\";
inline constexpr std::string_view kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr std::string_view kInstanceFileName = "instance.dat";

// The system facts detection reads; every query answers "nothing" instead of failing.
class ICacheSystem
{
public:
    virtual ~ICacheSystem() = default;
    virtual bool IsWindowsNT() = 0;
    // Administrators member and, from Vista on, elevated.
    virtual bool HasAdminRights() = 0;
    // A shell special folder by its number; empty when the system has none.
    virtual std::string SpecialFolder(int folderId) = 0;
    // The default value of the product's Ident.Cache key, machine hive first; empty on failure.
    virtual std::string ReadIdentCache(const std::string& productCode) = 0;
    virtual std::string ReadUninstallString(const std::string& title, bool machineHive) = 0;
    // -1 when the query fails.
    virtual int QueryProductState(const std::string& productCode) = 0;
    // False when the installed product's package code differs, or on failure.
    virtual bool InstalledPackageCodeMatches(const std::string& productCode,
                                             const std::string& packageCode) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // Empty when the file cannot be read.
    virtual std::vector<std::string> ReadLines(const std::string& path) = 0;
    // File names (no folder) in the folder matching the wildcard.
    virtual std::vector<std::string> FileNames(const std::string& folder,
                                               const std::string& pattern) = 0;
    // The state-file folder's attributes; failures ignored.
    virtual bool CreateFolders(const std::string& folder) = 0;
    virtual bool FolderExists(const std::string& folder) = 0;
    virtual void SetHidden(const std::string& folder) = 0;
    virtual void SetCompression(const std::string& folder, bool compressed) = 0;
};

// The engine values detection keeps beside the script's own identity.
struct InstallationState
{
    std::string DataDir;  // with a trailing backslash
    std::string MediaDir;
    std::string OriginalDataDir;
    std::string SecondCacheId;
    std::string DefaultTargetDir;
    bool LoadOldData = false;
    // The folder the "/p=" switch named; it replaces the recorded earlier install folder.
    std::string SourceSwitchFolder;
    std::string PreviousInstallFolder;
};

// Everything one run's detection works on.
struct CacheContext
{
    SetupScript& script;
    EngineState& engine;
    ComponentModel& components;
    IStateFileStore& stateFiles;
    ICacheSystem& system;
    InstallationState& state;
    std::string packagePath;
};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hexadecimal digits and nothing around it.
bool IsBracedGuid(std::string_view text);
// The product and revision codes name the cache folder, its marker file and registry keys that a
// removal deletes: anything but a GUID in braces raises, naming the source, and suppresses the
// state file the end of the run would write.
void RequireIdentity(EngineState& engine, const std::string& productCode,
                     const std::string& cacheId, const std::string& source);
// The cache folder cacheName under root, with a trailing backslash; raises unless cacheName is
// a GUID in braces, so it is never the root itself nor a folder outside it.
std::string CacheFolderUnder(const std::string& root, const std::string& cacheName);

// The "OVERRIDECACHE" variable when set, else the registered root, else the system's folder.
std::string GetCacheRoot(ICacheSystem& system, const SetupScript& script,
                         const ScriptVariables& variables, bool allUsers);
// The cache folder's name: the patched product's under media mode 3.
std::string CacheFolderName(const SetupScript& script, const InstallationState& state);
bool UseCommonCacheRoot(const CacheContext& context);
std::string GetDefaultInstallRoot(ICacheSystem& system);
bool DefaultAllUsers(ICacheSystem& system);
// The folder that holds the state, property and language files of this package.
std::string StateFolder(const CacheContext& context);

// Raises, before anything is created or deleted, when the identity is not made of GUIDs.
void DetectInstallation(const CacheContext& context);
// A patch run takes the installed product's cache identity and its recorded state; raises when
// the installed product's cache folder is not named by a GUID.
void TakeOverPatchState(const CacheContext& context);
// The state file of the run; nothing when suppressed, the list is empty, no cache folder name is
// known or no folder results.
void WriteRunStateFile(const CacheContext& context);
// Runs the script and records the state file afterwards, also when the script raised.
void RunScript(const ScriptRun& run, const CacheContext& context);

}  // namespace setup::engine
