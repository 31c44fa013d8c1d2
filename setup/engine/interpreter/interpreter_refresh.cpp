#include <exception>
#include <string>
#include <vector>

#include "setup/engine/interpreter/interpreter_steps.h"
#include "setup/engine/script/command_line.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

// Reads a translation file; an unreadable one ends the language change.
template <typename List>
List LoadList(IInterpreterHost& host, const std::string& path)
{
    List list;
    for (std::string& line : host.ReadLines(path))
        list.Add(std::move(line));
    return list;
}

}  // namespace

void RefreshEngineSettings(EngineState& engine)
{
    engine.TraceLogPath = GetVariable("LOGGED");
    SilentMode = TextToBool(GetVariable("SILENT"));
    engine.CaptionTitle = GetVariable("TITLE");
    engine.CaptionSuffix = GetVariable("TARQLOGO") == "TRUE";
}

void ApplyCacheOverride(const ScriptRun& run, std::string& applied)
{
    const std::string requested = GetVariable("OVERRIDECACHE");
    if (requested.empty() || requested == applied)
        return;
    std::vector<std::string> created;
    if (run.host.ForceFoldersRecorded(requested, created)) {
        const std::string folder = IncludeBackslash(requested);
        SetVariable("OVERRIDECACHE", folder, kInjectOverrideContext);
        run.host.DetectInstallation();
        // Remembered as stored, so the next statement does not apply it again.
        applied = folder;
        run.host.RemoveRecordedFolders(created);
    } else {
        SetVariable("OVERRIDECACHE", "", "Failed Cache Override");
        applied.clear();
    }
}

void RefreshDateAndTime(IInterpreterHost& host)
{
    SetVariable("DATE", host.ShortDateText(), kInitializationContext);
    SetVariable("TIME", host.LongTimeText(), kInitializationContext);
}

void ApplyLanguageChange(const ScriptRun& run)
{
    EngineState& engine = run.engine;
    engine.SelectedLanguage = GetVariable("LANGUAGE");
    if (!engine.SelectedLanguage.empty() && engine.SelectedLanguage != engine.LoadedLanguage) {
        engine.LoadedLanguage = engine.SelectedLanguage;
        const std::string& supportDir = engine.process.supportDir;
        const std::string& language = engine.SelectedLanguage;
        try {
            TranslationTables& tables = engine.Translations;
            tables.TranslationMap =
                LoadList<rtl::TStringList>(run.host, supportDir + "translations.Map");
            tables.TranslationTexts =
                LoadList<rtl::TStringList>(run.host, supportDir + "translations." + language);
            tables.TranslationOriginal =
                LoadList<rtl::TStringList>(run.host, supportDir + "translations.Original");
            tables.TitleTranslation = LoadList<THashedStringList>(
                run.host, supportDir + run.script.ProductTitleAsRead + ".mtx");
            const std::string shared = supportDir + "shared.translations." + language;
            if (run.host.FileExists(shared))
                run.host.LoadLanguageStrings(shared);
        } catch (const std::exception&) {
            engine.SelectedLanguage.clear();
        }
    }
    SetVariable("LANGUAGE", engine.SelectedLanguage, kInitializationContext);
}

void RefreshUninstallLink(const ScriptRun& run)
{
    IInterpreterHost& host = run.host;
    const bool allUsers = TextToBool(GetVariable("ALLUSERS"));
    if (run.script.SetupMode != 3) {
        const std::string cacheFolder = host.GetCacheRoot(allUsers) + run.script.CacheId + "\\";
        SetVariable("UNINSTALLLINK", cacheFolder + ExtractFileName(run.engine.process.exeFile),
                    kInitializationContext);
        SetVariable("ENGINECACHE", cacheFolder, kInitializationContext);
        return;
    }
    const bool machineHive = allUsers || !host.IsWindowsNT();
    const std::string link =
        UninstallCommandPath(host.ReadUninstallString(GetVariable("TITLE"), machineHive));
    SetVariable("UNINSTALLLINK", link, kInitializationContext);
    SetVariable("ENGINECACHE", ExtractFilePath(link), kInitializationContext);
}

}  // namespace setup::engine
