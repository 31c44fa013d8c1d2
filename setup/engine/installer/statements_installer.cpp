#include "setup/engine/installer/statements_installer.h"

#include <optional>

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/script_check.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

constexpr std::string_view kAdvertiseMark = "__ad";
constexpr std::string_view kIdentCacheKeyText = kIdentCacheKey;

struct Installer
{
    StatementContext& statement;
    const CacheContext& cache;
    IInstallerSystem& system;
    IPackageMedia* media;

    ScriptVariables& Vars() const { return statement.Vars(); }

    bool MachineHive() const { return TextToBool(Vars().Get("ALLUSERS")) || system.IsWindows9x(); }
    std::string ExeDir() const { return ExtractFilePath(cache.engine.process.exeFile); }
    std::string ExeName() const { return ExtractFileName(cache.engine.process.exeFile); }
    std::string ExeBase() const { return ExtractFileBaseName(cache.engine.process.exeFile); }
    std::string CacheRoot() const
    {
        return GetCacheRoot(cache.system, cache.script, Vars(), TextToBool(Vars().Get("ALLUSERS")));
    }
    std::string CacheFolder() const { return CacheFolderUnder(CacheRoot(), cache.script.CacheId); }
    std::string Marker() const { return cache.engine.SourceMarkerName; }
    std::string TargetDir() const { return Vars().NormalizePath(Vars().Expand("$TARGETDIR$")); }
    bool Compress() const { return TextToBool(Vars().Get("TARQ_COMPRESS_INSTALLER_CACHE")); }

    void FindPreviousInstallFolder()
    {
        InstallationState& state = cache.state;
        const std::string command =
            UninstallCommandPath(system.ReadUninstallString(Vars().Get("TITLE"), MachineHive()));
        state.PreviousInstallFolder = command.empty() ? std::string() : ExtractFilePath(command);
        if (!state.SourceSwitchFolder.empty())
            state.PreviousInstallFolder = IncludeBackslash(state.SourceSwitchFolder);
    }

    // False when the sources are missing and the user gave up (or could not be asked).
    bool LocateSources(bool needed)
    {
        InstallationState& state = cache.state;
        const int mode = cache.script.SetupMode;
        const std::string marker = Marker();
        if (mode == 3 && !system.FileExists(state.PreviousInstallFolder + marker) &&
            system.FileExists(state.DataDir + marker))
            state.PreviousInstallFolder = state.DataDir;
        const std::string& where = mode == 3 ? state.PreviousInstallFolder : state.DataDir;
        if (!needed || mode == 2 || system.FileExists(where + marker))
            return true;
        while (!Vars().SilentMode) {
            std::string folder;
            if (!system.BrowseForFolder(std::string(kMissingSourcesPrompt), folder))
                break;
            folder = IncludeBackslash(folder);
            for (const std::string& candidate : {folder, folder + "data\\"}) {
                if (system.FileExists(candidate + marker)) {
                    state.DataDir = candidate;
                    state.MediaDir = candidate;
                    return true;
                }
            }
        }
        Vars().Set("LASTERROR", kMissingSourcesError, statement.ResultContext());
        return false;
    }

    InstallRequest Request(bool patch) const
    {
        InstallRequest request;
        request.patchMode = patch;
        ScriptVariables& variables = Vars();
        request.variablesText = variables.AsCommaText();
        request.script.silent = TextToBool(variables.Get("SILENT"));
        request.script.title = variables.Get("TITLE");
        request.script.allUsers = variables.Get("ALLUSERS");
        request.script.disableRollback = variables.Get("TARQ_DISABLE_ROLLBACK");
        request.script.disableRestartManager = variables.Get("TARQ_DISABLE_VISTA_RESTART_MANAGER");
        request.script.expand = [&variables](std::string_view text) {
            return variables.Expand(text);
        };
        request.performedText = cache.engine.PerformedStatementList.CommaText();
        request.propertiesText = cache.engine.PackagePropertyList.CommaText();
        request.productCode = cache.script.ProductCode;
        request.targetDir = TargetDir();
        return request;
    }

    // Steps shared by install and patch up to the thread's answer; nothing when it never ran.
    std::optional<int> Run(bool patch, bool install, bool remove, const ResultVariable& result)
    {
        FindPreviousInstallFolder();
        const bool maintenance = TextToBool(Vars().Get("MAINTENANCE"));
        if (!LocateSources((maintenance || patch) && (patch || install))) {
            result.Assign("CANCEL");
            return std::nullopt;
        }
        if (cache.script.SetupMode == 2 && media != nullptr)
            media->AcquireMediaBlock("OFFLINE\\");
        QueuePackageProperty(statement, "MSINTEMP", system.TempFolder());

        InstallRequest request = Request(patch);
        std::string errorText;
        if (patch) {
            cache.state.PreviousInstallFolder = cache.state.DataDir;
            request.packagePath = ChangeExtension(cache.packagePath, ".msp");
        } else {
            const std::string& language = cache.engine.SelectedLanguage;
            if (!language.empty()) {
                QueuePackageProperty(statement, "ProductLanguage", LanguageLcidOfName(language));
                system.LocalizePackage(cache.packagePath,
                                       cache.engine.ShortcutTranslationList.Items(),
                                       cache.engine.ProgIdTranslationList.Items());
                request.propertiesText = cache.engine.PackagePropertyList.CommaText();
            }
            request.packagePath = cache.packagePath;
            request.dialogFilePath = DialogFilePath();
            request.install = install;
            request.advertise = !install && !remove;
        }
        const int outcome = system.RunInstall(request, errorText);
        if (!errorText.empty())
            Vars().Set("LASTERROR", errorText, statement.ResultContext());
        result.Assign(InstallResultWord(outcome));
        if (outcome == 2)
            Vars().Set("REBOOTCOMPUTER", "TRUE", statement.ResultContext());
        return outcome;
    }

    std::string DialogFilePath() const
    {
        const std::string name = ExpandedParam(statement, 1);
        return name.empty() ? name : cache.engine.process.supportDir + name;
    }

    static std::string ChangeExtension(const std::string& path, const std::string& extension)
    {
        return ExtractFilePath(path) + ExtractFileBaseName(path) + extension;
    }

    void MarkAdvertised(const std::string& folder, bool advertise)
    {
        const std::string mark = folder + std::string(kAdvertiseMark);
        if (advertise)
            system.CreateFolders(mark, Compress());
        else
            system.RemoveFolder(mark);
    }

    void Remove(const std::string& folder, const ResultVariable& result)
    {
        if (cache.script.SetupMode == 2)
            system.RemoveFile(folder + Marker());
        system.DeleteTree(folder);
        if (system.FolderExists(folder)) {
            const std::string root = ExtractFilePath(ExcludeBackslash(folder));
            std::string moved;
            for (int n = 0; n < 1000 && moved.empty(); ++n) {
                const std::string candidate = root + "~" + std::to_string(n);
                if (!system.FolderExists(candidate) && system.MoveFolder(folder, candidate))
                    moved = candidate;
            }
            // Files in use go at the next restart; a folder that could not even be moved is
            // reported, since the product's files would otherwise stay behind unnoticed.
            const std::string left = moved.empty() ? ExcludeBackslash(folder) : moved;
            system.DeleteOnReboot(left + "\\" + ExeName());
            system.DeleteOnReboot(left + "\\qbr.lib");
            system.DeleteOnReboot(left);
            if (moved.empty()) {
                Vars().Set("LASTERROR", "Installer cache could not be removed: " + left,
                           statement.ResultContext());
                result.Assign("ERROR");
            }
        }
        cache.engine.StateFileSuppressed = true;
        const std::string title = Vars().Get("TITLE");
        for (const bool machine : {true, false}) {
            system.DeleteKey(machine, std::string(kUninstallKey) + title);
            system.DeleteKey(machine, std::string(kIdentCacheKeyText) + cache.script.ProductCode);
        }
    }

    void WriteCache(const std::string& folder)
    {
        const SetupScript& script = cache.script;
        system.CreateFolders(folder, Compress());
        if (script.SetupMode == 2)
            system.WriteLines(folder + Marker(), {});
        const std::string exeDir = ExeDir();
        const std::string base = ExeBase();
        system.CopyOver(cache.engine.process.exeFile, folder + ExeName());
        std::string package = system.PreparedInstancePackage();
        if (package.empty())
            package = exeDir + base + ".msi";
        system.CopyOver(package, folder + base + ".msi");
        system.CopyOver(exeDir + base + ".res", folder + base + ".res");
        system.CopyOver(exeDir + "qbr.lib", folder + "qbr.lib");
        system.CopyOver(exeDir + "setup.bmp", folder + "setup.bmp");

        ComponentStateSave options;
        options.dataDir = cache.state.DataDir;
        options.targetPlatform = cache.engine.TargetPlatform;
        SaveComponentState(cache.stateFiles, cache.components, Vars(), folder + base + ".dat",
                           options);
        system.WriteLines(folder + base + ".par", cache.engine.PackagePropertyList.Items());
        const std::string& language = cache.engine.SelectedLanguage;
        if (language.empty())
            system.RemoveFile(folder + base + ".lan");
        else
            system.WriteLines(folder + base + ".lan", {language});
        cache.engine.StateFileFullWrite = true;
        cache.engine.StateFileSuppressed = false;

        WriteEntries(folder);
        system.WriteLines(folder + std::string(kInstanceFileName),
                          {script.ProductCode, script.CacheId, Vars().Get("TITLE")});
    }

    void WriteEntries(const std::string& folder)
    {
        const SetupScript& script = cache.script;
        const bool machine = MachineHive();
        const std::string title = Vars().Get("TITLE");
        const std::string key = std::string(kUninstallKey) + title;
        const std::string program = folder + ExeName();
        system.WriteString(machine, key, "DisplayIcon", program);
        system.WriteString(machine, key, "DisplayName", title);
        system.WriteString(machine, key, "UninstallString",
                           "\"" + program + "\" REMOVE=TRUE MODIFY=FALSE");
        system.WriteString(machine, key, "ModifyPath", QuotedWhenBlank(program));
        const std::pair<const char*, const std::string*> publisher[] = {
            {"Publisher", &script.CompanyName},
            {"Contact", &script.Contact},
            {"HelpLink", &script.HelpLink},
            {"URLUpdateInfo", &script.UpdateLink},
            {"Comments", &script.Comments}};
        for (const auto& [name, value] : publisher)
            system.WriteString(machine, key, name, *value);
        system.WriteString(machine, key, "InstallLocation", TargetDir());
        if (system.IsWindows2000OrLater())
            system.WriteString(machine, std::string(kUninstallKey) + script.ProductCode,
                               "UninstallString", QuotedWhenBlank(folder + ExeBase() + ".exe"));
        system.WriteString(machine, std::string(kIdentCacheKeyText) + script.ProductCode, "",
                           folder);
    }
};

Installer MakeInstaller(StatementContext& statement, const InstallerStatementServices& services)
{
    return Installer{statement, *services.cache, *services.system, services.media};
}

void ApplyChanges(StatementContext& statement, const InstallerStatementServices& services)
{
    Installer installer = MakeInstaller(statement, services);
    const ResultVariable result(statement, RawParam(statement, 2));
    const bool install = IsExactlyTrue(ExpandedParam(statement, 3));
    const bool remove = !install && IsExactlyTrue(ExpandedParam(statement, 4));
    // Refused before the package is touched: the codes name what a removal deletes.
    RequireIdentity(services.cache->engine, services.cache->script.ProductCode,
                    services.cache->script.CacheId, "this setup");
    const std::optional<int> outcome = installer.Run(false, install, remove, result);
    if (!outcome || (*outcome != 1 && *outcome != 2))
        return;
    const std::string folder = installer.CacheFolder();
    if (remove) {
        installer.Remove(folder, result);
        return;
    }
    installer.WriteCache(folder);
    installer.MarkAdvertised(folder, !install);
}

void ApplyPatch(StatementContext& statement, const InstallerStatementServices& services)
{
    Installer installer = MakeInstaller(statement, services);
    const ResultVariable result(statement, RawParam(statement, 1));
    installer.Run(true, false, false, result);
}

void IsMsiSetupInstalled(StatementContext& statement, const InstallerStatementServices& services)
{
    const ResultVariable result(statement, RawParam(statement, 2));
    const std::string product = ExpandedNormalizedParam(statement, 1);
    result.Assign(BoolToText(services.system->QueryProductState(product) == kProductInstalled));
}

void TransformInstance(StatementContext& statement, const InstallerStatementServices& services)
{
    const CacheContext& cache = *services.cache;
    IInstallerSystem& system = *services.system;
    if (!TextToBool(statement.Vars().Get("NEWINSTANCE")))
        return;
    const std::string patch =
        ExtractFilePath(cache.packagePath) + ExtractFileBaseName(cache.packagePath) + ".msp";
    if (system.FileExists(patch))
        return;
    cache.script.ProductCode = rtl::AnsiUpperCase(system.NewGuid());
    cache.script.CacheId = rtl::AnsiUpperCase(system.NewGuid());
    system.MarkNewInstance(cache.script.ProductCode, cache.script.CacheId);
    DetectInstallation(cache);
    (void)statement;
}

void SetSixtyFourBitMode(StatementContext& statement)
{
    const std::pair<int, const char*> choices[] = {{1, "Win32"}, {2, "ia64"}, {3, "x64"}};
    for (const auto& [param, platform] : choices) {
        if (IsExactlyTrue(ExpandedParam(statement, param)))
            statement.Engine().TargetPlatform = platform;
    }
}

}  // namespace

std::string InstallResultWord(int result)
{
    switch (result) {
        case 0:
            return "CANCEL";
        case 1:
            return "COMPLETE";
        case 2:
            return "REBOOT";
        default:
            return "ERROR";
    }
}

std::string QuotedWhenBlank(const std::string& path)
{
    if (path.find(' ') == std::string::npos || (path.size() >= 2 && path.front() == '"'))
        return path;
    return "\"" + path + "\"";
}

void RegisterInstallerStatements(StatementHandlerTable& table,
                                 const InstallerStatementServices& services)
{
    table.Register("Apply Changes",
                   [services](StatementContext& statement) { ApplyChanges(statement, services); });
    table.Register("Apply Patch",
                   [services](StatementContext& statement) { ApplyPatch(statement, services); });
    table.Register("Is MSI Setup Installed", [services](StatementContext& statement) {
        IsMsiSetupInstalled(statement, services);
    });
    table.Register("Transform Instance", [services](StatementContext& statement) {
        TransformInstance(statement, services);
    });
    table.Register("Set 64 Bit Mode", SetSixtyFourBitMode);
}

}  // namespace setup::engine
