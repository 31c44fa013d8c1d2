#include <exception>
#include <string>
#include <vector>

#include "setup/engine/interpreter/interpreter_steps.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

// Reads a translation file; an unreadable one ends the language change.
template <typename List>
List LoadList(IFileQueries& files, const std::string& path)
{
    List list;
    for (std::string& line : files.ReadLines(path))
        list.Add(std::move(line));
    return list;
}

}  // namespace

void RefreshEngineSettings(EngineState& engine)
{
    ScriptVariables& variables = engine.Variables;
    engine.TraceLogPath = variables.Get("LOGGED");
    variables.SilentMode = TextToBool(variables.Get("SILENT"));
    engine.CaptionTitle = variables.Get("TITLE");
    engine.CaptionSuffix = variables.Get("TARQLOGO") == "TRUE";
}

void ApplyCacheOverride(const ScriptRun& run, std::string& applied)
{
    ScriptVariables& variables = run.engine.Variables;
    const std::string requested = variables.Get("OVERRIDECACHE");
    if (requested.empty() || requested == applied)
        return;
    std::vector<std::string> created;
    if (run.host.cache.ForceFoldersRecorded(requested, created)) {
        const std::string folder = IncludeBackslash(requested);
        variables.Set("OVERRIDECACHE", folder, kInjectOverrideContext);
        run.host.detection.DetectInstallation();
        // Remembered as stored, so the next statement does not apply it again.
        applied = folder;
        run.host.cache.RemoveRecordedFolders(created);
    } else {
        variables.Set("OVERRIDECACHE", "", "Failed Cache Override");
        applied.clear();
    }
}

void RefreshDateAndTime(ScriptVariables& variables, IUserEnvironment& environment)
{
    variables.Set("DATE", environment.ShortDateText(), kInitializationContext);
    variables.Set("TIME", environment.LongTimeText(), kInitializationContext);
}

void ApplyLanguageChange(const ScriptRun& run)
{
    EngineState& engine = run.engine;
    ScriptVariables& variables = engine.Variables;
    engine.SelectedLanguage = variables.Get("LANGUAGE");
    if (!engine.SelectedLanguage.empty() && engine.SelectedLanguage != engine.LoadedLanguage) {
        engine.LoadedLanguage = engine.SelectedLanguage;
        const std::string& supportDir = engine.process.supportDir;
        const std::string& language = engine.SelectedLanguage;
        try {
            TranslationTables& tables = engine.Translations;
            tables.TranslationMap =
                LoadList<rtl::TStringList>(run.host.files, supportDir + "translations.Map");
            tables.TranslationTexts =
                LoadList<rtl::TStringList>(run.host.files, supportDir + "translations." + language);
            tables.TranslationOriginal =
                LoadList<rtl::TStringList>(run.host.files, supportDir + "translations.Original");
            tables.TitleTranslation = LoadList<THashedStringList>(
                run.host.files, supportDir + run.script.ProductTitleAsRead + ".mtx");
            const std::string shared = supportDir + "shared.translations." + language;
            if (run.host.files.FileExists(shared))
                run.host.ui.LoadLanguageStrings(shared);
        } catch (const std::exception&) {
            engine.SelectedLanguage.clear();
        }
    }
    variables.Set("LANGUAGE", engine.SelectedLanguage, kInitializationContext);
}

void RefreshUninstallLink(const ScriptRun& run, UninstallLinkPoll& poll)
{
    const InterpreterHost& host = run.host;
    ScriptVariables& variables = run.engine.Variables;
    const bool allUsers = TextToBool(variables.Get("ALLUSERS"));
    const bool instance = run.script.SetupMode == 3;
    const std::string title = instance ? variables.Get("TITLE") : std::string();
    // Everything the answer depends on that the engine itself changes.
    const std::string inputs = std::string(allUsers ? "1|" : "0|") + (instance ? "3|" : "|") +
                               run.script.CacheId + "|" + variables.Get("OVERRIDECACHE") + "|" +
                               title + "|" + run.engine.process.exeFile;
    const std::uint64_t now = host.environment.Milliseconds();
    if (!poll.asked || inputs != poll.inputs || now - poll.askedAt >= kSystemPollInterval) {
        if (!instance) {
            poll.cacheFolder = host.cache.GetCacheRoot(allUsers) + run.script.CacheId + "\\";
            poll.link = poll.cacheFolder + ExtractFileName(run.engine.process.exeFile);
        } else {
            const bool machineHive = allUsers || !GetOsVersionInfo(host.system).nt;
            poll.link = UninstallCommandPath(host.cache.ReadUninstallString(title, machineHive));
            poll.cacheFolder = ExtractFilePath(poll.link);
        }
        poll.inputs = inputs;
        poll.askedAt = now;
        poll.asked = true;
    }
    variables.Set("UNINSTALLLINK", poll.link, kInitializationContext);
    variables.Set("ENGINECACHE", poll.cacheFolder, kInitializationContext);
}

}  // namespace setup::engine
