#include "setup/engine/installer/installer_cache.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "setup/engine/components/statements_components.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/text_lines.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

constexpr std::string_view kBootstrapContext = "Bootstrap";
constexpr std::string_view kInitializationContext = "Initialization";

constexpr int kFolderDesktop = 0;
constexpr int kFolderPersonal = 5;
constexpr int kFolderAppData = 26;
constexpr int kFolderLocalAppData = 28;
constexpr int kFolderCommonAppData = 35;
constexpr int kFolderProgramFiles = 38;
constexpr int kFolderCommonFiles = 43;

std::string WithBackslash(const std::string& folder)
{
    return folder.empty() ? folder : IncludeBackslash(folder);
}

std::string ParentFolder(const std::string& folder)
{
    return ExtractFilePath(ExcludeBackslash(folder));
}

// The root named by the product's Ident.Cache value, used only when its last folder is the
// setup's own cache folder (an exact match: the value may belong to another revision).
std::string RegisteredCacheRoot(ICacheSystem& system, const SetupScript& script)
{
    const std::string folder = ExcludeBackslash(system.ReadIdentCache(script.ProductCode));
    if (folder.empty() || script.CacheId.empty() || ExtractFileName(folder) != script.CacheId)
        return {};
    return ExtractFilePath(folder);
}

std::string PackageBaseName(const CacheContext& context)
{
    return ExtractFileBaseName(context.packagePath);
}

// Loads a state file and its property list the way maintenance and patch runs take them over.
void LoadRecordedState(const CacheContext& context, const std::string& folder)
{
    const std::string base = folder + PackageBaseName(context);
    LoadComponentState(context.stateFiles, context.components, context.engine.Variables,
                       base + ".dat", ComponentStateLoad{false, false},
                       context.engine.TargetPlatform);
    context.components.InstalledComponentSize = context.components.SelectedComponentSize();
    const std::string propertyFile = base + ".par";
    if (!context.stateFiles.Exists(propertyFile))
        return;
    rtl::TStringList& properties = context.engine.PackagePropertyList;
    properties.Clear();
    const std::string text = context.stateFiles.ReadText(propertyFile);
    TextLineReader reader(text);
    while (!reader.AtEnd())
        properties.Add(reader.Next());
}

std::string StateFolderFor(const CacheContext& context, const std::string& cacheName)
{
    return GetCacheRoot(context.system, context.script, context.engine.Variables,
                        UseCommonCacheRoot(context)) +
           cacheName + "\\";
}

// An upgrade that keeps the old selections reads the one state file the installed product's
// cache holds (or the one with a complete set of setup files beside it).
void LoadOldStateFile(const CacheContext& context)
{
    const std::string folder =
        WithBackslash(context.system.ReadIdentCache(context.script.ProductCode));
    if (folder.empty() || !context.system.FolderExists(folder))
        return;
    std::vector<std::string> candidates;
    for (const std::string& name : context.system.FileNames(folder, "*.dat")) {
        if (!rtl::AnsiSameText(name, kInstanceFileName))
            candidates.push_back(name);
    }
    std::string chosen;
    if (candidates.size() == 1) {
        chosen = candidates.front();
    } else {
        for (const std::string& name : candidates) {
            const std::string base = folder + ExtractFileBaseName(name);
            bool complete = true;
            for (const char* extension : {".exe", ".res", ".msi", ".par"})
                complete = complete && context.system.FileExists(base + extension);
            if (complete) {
                chosen = name;
                break;
            }
        }
    }
    if (chosen.empty())
        return;
    LoadComponentState(context.stateFiles, context.components, context.engine.Variables,
                       folder + chosen, ComponentStateLoad{false, true},
                       context.engine.TargetPlatform);
}

}  // namespace

bool IsBracedGuid(std::string_view text)
{
    constexpr std::string_view kShape = "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}";
    if (text.size() != kShape.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (kShape[i] == 'x' ? !hex : c != kShape[i])
            return false;
    }
    return true;
}

void RequireIdentity(EngineState& engine, const std::string& productCode,
                     const std::string& cacheId, const std::string& source)
{
    for (const auto& [what, value] :
         {std::pair{"product code", &productCode}, std::pair{"revision code", &cacheId}}) {
        if (!IsBracedGuid(*value)) {
            engine.StateFileSuppressed = true;
            throw rtl::Exception(std::string("The ") + what + " of " + source +
                                 " is not a GUID in braces: \"" + *value + "\"");
        }
    }
}

std::string CacheFolderUnder(const std::string& root, const std::string& cacheName)
{
    if (!IsBracedGuid(cacheName))
        throw rtl::Exception("The installer cache folder name is not a GUID in braces: \"" +
                             cacheName + "\"");
    return root + cacheName + "\\";
}

std::string GetCacheRoot(ICacheSystem& system, const SetupScript& script,
                         const ScriptVariables& variables, bool allUsers)
{
    const std::string overridden = variables.Get("OVERRIDECACHE");
    if (!overridden.empty())
        return overridden;
    const std::string registered = RegisteredCacheRoot(system, script);
    if (!registered.empty())
        return registered;
    if (!system.IsWindowsNT())
        return WithBackslash(system.SpecialFolder(kFolderCommonFiles));
    std::string root;
    if (allUsers) {
        root = system.SpecialFolder(kFolderCommonAppData);
    } else {
        root = system.SpecialFolder(kFolderLocalAppData);
        if (root.empty())
            root = system.SpecialFolder(kFolderAppData);
    }
    if (!root.empty())
        return IncludeBackslash(root);
    return ParentFolder(system.SpecialFolder(kFolderDesktop)) + "Application Data\\";
}

std::string CacheFolderName(const SetupScript& script, const InstallationState& state)
{
    return script.SetupMode == 3 ? state.SecondCacheId : script.CacheId;
}

bool UseCommonCacheRoot(const CacheContext& context)
{
    const std::string userState =
        GetCacheRoot(context.system, context.script, context.engine.Variables, false) +
        CacheFolderName(context.script, context.state) + "\\" + PackageBaseName(context) + ".dat";
    return !context.system.FileExists(userState);
}

std::string GetDefaultInstallRoot(ICacheSystem& system)
{
    if (!system.IsWindowsNT() || system.HasAdminRights())
        return WithBackslash(system.SpecialFolder(kFolderProgramFiles));
    return ParentFolder(system.SpecialFolder(kFolderPersonal));
}

bool DefaultAllUsers(ICacheSystem& system)
{
    return system.IsWindowsNT() && system.HasAdminRights();
}

std::string StateFolder(const CacheContext& context)
{
    return StateFolderFor(context, CacheFolderName(context.script, context.state));
}

void DetectInstallation(const CacheContext& context)
{
    SetupScript& script = context.script;
    InstallationState& state = context.state;
    ICacheSystem& system = context.system;
    const std::string exeDir = ExtractFilePath(context.engine.process.exeFile);

    // The script's own product code also names the source marker in the cache folder.
    RequireIdentity(context.engine, script.ProductCode, script.CacheId, "the setup script");
    const std::string instanceFile = exeDir + std::string(kInstanceFileName);
    const bool instancePresent = system.FileExists(instanceFile);
    if (instancePresent) {
        std::vector<std::string> lines = system.ReadLines(instanceFile);
        lines.resize(std::max<size_t>(lines.size(), 3));
        RequireIdentity(context.engine, lines[0], lines[1], instanceFile);
        script.ProductCode = lines[0];
        script.CacheId = lines[1];
        script.ProductTitle = lines[2];
    }
    context.engine.Variables.Set("PRODUCTCODE", script.ProductCode, kBootstrapContext);
    context.engine.Variables.Set("REVISIONCODE", script.CacheId, kBootstrapContext);

    state.DefaultTargetDir = GetDefaultInstallRoot(system) + script.ProductTitle + "\\";
    const bool allUsers = DefaultAllUsers(system);
    const std::string cacheFolder = CacheFolderUnder(
        GetCacheRoot(system, script, context.engine.Variables, allUsers), script.CacheId);
    context.engine.Variables.Set("UNINSTALLLINK",
                                 cacheFolder + ExtractFileName(context.engine.process.exeFile),
                                 kBootstrapContext);
    context.engine.Variables.Set("ENGINECACHE", cacheFolder, kBootstrapContext);

    state.MediaDir = state.DataDir;
    if (script.SetupMode == 2) {
        state.OriginalDataDir = state.DataDir;
        state.DataDir = cacheFolder;
        state.MediaDir = state.DataDir;
    }
    context.engine.Variables.Set("DATADIR", state.DataDir, kBootstrapContext);

    const bool installed = system.QueryProductState(script.ProductCode) == kProductInstalled;
    const bool needsUpgrade =
        installed && !system.InstalledPackageCodeMatches(script.ProductCode, script.CacheId);
    context.engine.Variables.Set("NEEDSUPGRADE", BoolToText(needsUpgrade), kBootstrapContext);
    state.LoadOldData = false;
    bool maintenance = false;
    if (needsUpgrade)
        state.LoadOldData = ExpandCompilerVariables(script, "#LOADOLDDATA#") == "TRUE";
    else
        maintenance = installed;
    context.engine.Variables.Set("MAINTENANCE", BoolToText(maintenance), kBootstrapContext);

    ComponentModel& components = context.components;
    components.InstalledComponentSize = 0;
    if (!maintenance) {
        components.ClearComponents();
        DefinePredefinedComponent(components);
        context.engine.PackagePropertyList.Clear();
        context.engine.Variables.Set("TARGETDIR", state.DefaultTargetDir, kBootstrapContext);
        context.engine.Variables.Set("STARTMENU", script.ProductTitle, kBootstrapContext);
        context.engine.Variables.Set("ALLUSERS", BoolToText(allUsers), kBootstrapContext);
    }
    const std::string stateFolder = StateFolderFor(context, script.CacheId);
    try {
        LoadRecordedState(context, stateFolder);
    } catch (const std::exception&) {
        // An unreadable earlier state leaves the fresh defaults in place.
    }
    if (needsUpgrade && state.LoadOldData) {
        try {
            LoadOldStateFile(context);
        } catch (const std::exception&) {
        }
    }

    context.engine.Variables.Set("NEWINSTANCE", "FALSE", kInitializationContext);
    if (!instancePresent && (maintenance || needsUpgrade))
        context.engine.Variables.Set("NEWINSTANCE", "TRUE", kInitializationContext);
}

void TakeOverPatchState(const CacheContext& context)
{
    SetupScript& script = context.script;
    const std::string keptCacheId = script.CacheId;
    script.CacheId.clear();
    context.state.SecondCacheId.clear();
    std::string refused;
    try {
        const std::string title = context.engine.Variables.Get("TITLE");
        std::string command = context.system.ReadUninstallString(title, false);
        if (command.empty())
            command = context.system.ReadUninstallString(title, true);
        const std::string folder = ExcludeBackslash(ExtractFilePath(UninstallCommandPath(command)));
        const std::string name = ExtractFileName(folder);
        // The name becomes the folder the run's state is written into.
        if (!name.empty() && !IsBracedGuid(name)) {
            refused = command;
        } else {
            script.CacheId = name;
            context.state.SecondCacheId = name;
            if (!name.empty())
                LoadRecordedState(context, StateFolderFor(context, name));
        }
    } catch (const std::exception&) {
        // A patch without a readable earlier state starts from the script's own state.
    }
    script.CacheId = keptCacheId;
    if (!refused.empty()) {
        context.engine.StateFileSuppressed = true;
        throw rtl::Exception(
            "The installed product's uninstall entry names no installer cache folder (a GUID in "
            "braces): \"" +
            refused + "\"");
    }
}

void WriteRunStateFile(const CacheContext& context)
{
    if (context.engine.StateFileSuppressed)
        return;
    // A patch run that found no installed product has no cache folder of its own.
    const std::string name = CacheFolderName(context.script, context.state);
    if (name.empty())
        return;
    ICacheSystem& system = context.system;
    const std::string folder = CacheFolderUnder(
        GetCacheRoot(system, context.script, context.engine.Variables, UseCommonCacheRoot(context)),
        name);
    const bool compress = TextToBool(context.engine.Variables.Get("TARQ_COMPRESS_INSTALLER_CACHE"));
    if (system.FolderExists(folder)) {
        system.SetHidden(folder);
        system.SetCompression(folder, compress);
    }
    if (context.components.ComponentNames.Count() == 0)
        return;
    if (!system.CreateFolders(folder))
        return;
    system.SetCompression(folder, compress);
    ComponentStateSave options;
    options.fullWrite = context.engine.StateFileFullWrite;
    options.dataDir = context.state.DataDir;
    options.targetPlatform = context.engine.TargetPlatform;
    SaveComponentState(context.stateFiles, context.components, context.engine.Variables,
                       folder + PackageBaseName(context) + ".dat", options);
}

void RunScript(const ScriptRun& run, const CacheContext& context)
{
    try {
        ExecuteScript(run);
    } catch (...) {
        try {
            WriteRunStateFile(context);
        } catch (...) {
            // The script's own failure is the one the caller must see.
        }
        throw;
    }
    WriteRunStateFile(context);
}

}  // namespace setup::engine
