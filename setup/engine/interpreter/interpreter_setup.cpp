#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "setup/engine/interpreter/interpreter_steps.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

void Define(ScriptVariables& variables, std::string_view name, std::string_view value)
{
    variables.Set(name, value, kInitializationContext);
}

// The package path with another extension (same folder and base name).
std::string WithExtension(const std::string& path, std::string_view extension)
{
    const std::string oldExtension = ExtractFileExt(path);
    return path.substr(0, path.size() - oldExtension.size()) + std::string(extension);
}

bool IsSharedOrAuxiliary(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    // Only the file's own name marks a shared translation: a support folder below a folder
    // whose name holds "shared" must not hide every translation.
    return rtl::AnsiSameText(name, "translations.Map") ||
           rtl::AnsiSameText(name, "translations.Original") ||
           name.find("shared") != std::string::npos;
}

int FindEntry(const std::vector<std::string>& entries, const std::string& name)
{
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!name.empty() && rtl::AnsiSameText(entries[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

void StoreThreadProgressDefaults(ScriptVariables& variables)
{
    // Stored directly: no command-line value may hold these back.
    TVariableManager& store = variables.Store();
    store.SetValue("TARQ_thProgress", "0");
    store.SetValue("TARQ_thMax", "100");
    store.SetValue("TARQ_thMin", "0");
    store.SetValue("TARQ_thProgressText", "");
    store.SetValue("TARQ_thFinished", "FALSE");
    store.SetValue("TARQ_thCancelled", "FALSE");
}

void StorePreInitializationVariables(const ScriptRun& run)
{
    const InterpreterHost& host = run.host;
    ScriptVariables& variables = run.engine.Variables;
    variables.Set("TARGETDIR", host.detection.DefaultTargetDir(), kPreInitializationContext);
    variables.Set("STARTMENU", run.script.ProductTitle, kPreInitializationContext);
    variables.Set("ALLUSERS",
                  BoolToText(GetOsVersionInfo(host.system).nt && HasAdminRights(host.system)),
                  kPreInitializationContext);
}

std::unordered_map<std::string, int> BuildLabelTable(const SetupScript& script)
{
    std::unordered_map<std::string, int> labels;
    for (size_t i = 0; i < script.CommandList.Count(); ++i) {
        if (script.CommandList[i] != "Label")
            continue;
        const std::string key = script.StatementKeyList.ItemOrEmpty(static_cast<long long>(i));
        const std::string name =
            rtl::AnsiUpperCase(GetStatementParam(script.ParameterPools, key, 1));
        labels.emplace(name, static_cast<int>(i));
    }
    return labels;
}

bool PatchBesidePackage(const ScriptRun& run)
{
    return run.host.files.FileExists(WithExtension(run.packagePath, ".msp"));
}

bool PackagePresent(const ScriptRun& run)
{
    return run.host.files.FileExists(run.packagePath) || PatchBesidePackage(run);
}

void StorePredefinedVariables(const ScriptRun& run)
{
    IUserEnvironment& environment = run.host.environment;
    const SetupScript& script = run.script;
    const ProcessFacts& process = run.engine.process;
    const std::string exeDir = ExtractFilePath(process.exeFile);
    ScriptVariables& variables = run.engine.Variables;
    const auto Define = [&variables](std::string_view name, std::string_view value) {
        ::setup::engine::Define(variables, name, value);
    };
    Define("TARQ_COMPRESS_INSTALLER_CACHE", "TRUE");
    Define("TARQ_DISABLE_ROLLBACK", "FALSE");
    Define("TARQ_DISABLE_VISTA_RESTART_MANAGER", "FALSE");
    Define("IISHOST", "localhost");
    if (!variables.Exists("OVERRIDECACHE"))
        Define("OVERRIDECACHE", "");
    Define("TARQLOGO", "");
    Define("SELECTED", "0");
    Define("WINDOWHANDLE", "0");
    Define("EXEFILE", process.exeFile);
    Define("EXEDIR", exeDir);
    Define("PROGRESSTEXT", "");
    Define("PROGRESSMODE", "");
    Define("ABORT", "FALSE");
    Define("PROGRESS", "0");
    Define("LASTERROR", "");
    Define("LICENSE", "FALSE");
    Define("USERNAME", environment.RegisteredOwner());
    Define("USERCOMPANY", environment.RegisteredOrganization());
    Define("COPYWEBLOCK", "");
    Define("REBOOTCOMPUTER", "FALSE");
    Define("RUNAPP", "TRUE");
    Define("WIZARD", "NEXT");
    Define("VERSION", script.ProductVersion);
    Define("SILENT", BoolToText(variables.SilentMode));
    Define("LOGGED", process.traceLogPath);
    Define("CMDLINE", process.commandTail);
    Define("REBOOTNOW", "OK");
    Define("SFXPATH", ExtractFilePath(process.sfxArgument));
    Define("SFXFILE", ExtractFileName(process.sfxArgument));
    Define("GPOPATH", ExtractFilePath(process.gpoArgument));
    Define("COMPLETE", "TRUE");
    Define("NEWLINE", "\r\n");
    Define("MINIMUM", "FALSE");
    Define("PERSONALIZED", "FALSE");
    Define("MODIFY", "TRUE");
    Define("REPAIR", "FALSE");
    Define("REMOVE", "FALSE");
    Define("ROOTDIR", exeDir);
    Define("TITLE", script.ProductTitle);
    Define("COMPANY", script.CompanyName);
    Define("ADVERTISE", "FALSE");
    Define("DATE", environment.ShortDateText());
    Define("TIME", environment.LongTimeText());
    Define("TEMPDIR", process.tempDir);
    Define("SUPPORTDIR", process.supportDir);
    Define("MSIFILE", run.packagePath);
}

void PreScanCommandHeaders(const ScriptRun& run)
{
    for (size_t i = 0; i < run.script.CommandList.Count(); ++i) {
        const std::string header = GetCommandHeader(run.script, static_cast<int>(i), true);
        if (header.empty())
            continue;
        run.host.records.AddMSIProperty("A" + header, "FALSE");
        run.engine.PackagePropertyList.Add("A" + header);
        run.engine.PackagePropertyList.Add("FALSE");
    }
}

bool ChooseLanguage(const ScriptRun& run)
{
    const InterpreterHost& host = run.host;
    EngineState& engine = run.engine;
    const SetupScript& script = run.script;
    const std::string& supportDir = engine.process.supportDir;
    engine.SelectedLanguage.clear();
    engine.LoadedLanguage = "ZILCH";
    ScriptVariables& variables = engine.Variables;
    Define(variables, "LANGUAGE", "");
    if (!host.files.FileExists(supportDir + script.ProductTitleAsRead + ".mtx"))
        return true;

    std::vector<std::string> translations = host.files.FindFiles(supportDir + "translations.*");
    std::erase_if(translations, IsSharedOrAuxiliary);
    for (const std::string& path : translations) {
        if (rtl::AnsiSameText(path, supportDir + "translations." + script.DefaultLanguage))
            engine.SelectedLanguage = script.DefaultLanguage;
    }
    if (translations.empty())
        return true;

    const bool maintenance = TextToBool(variables.Get("MAINTENANCE"));
    const bool patch = PatchBesidePackage(run);
    if (script.AskLanguage && !maintenance && !patch) {
        std::vector<std::string> entries;
        for (const std::string& path : translations)
            entries.push_back(ExtractFileExtNoDot(path));
        int preselected = FindEntry(entries, host.environment.UserLanguageName());
        if (preselected < 0)
            preselected = FindEntry(entries, script.DefaultLanguage);
        if (preselected < 0)
            preselected = 0;
        int chosen = preselected;
        if (!variables.SilentMode) {
            const LanguageChoice choice = host.ui.ShowLanguageForm(entries, preselected);
            if (choice.modalResult == 2)
                return false;
            chosen = choice.index;
        }
        if (chosen >= 0 && chosen < static_cast<int>(entries.size()))
            engine.SelectedLanguage = entries[chosen];
    } else if (maintenance || patch) {
        const std::string lanFile = host.cache.LanguageCacheFolder(run.packagePath) +
                                    ExtractFileBaseName(run.packagePath) + ".lan";
        if (host.files.FileExists(lanFile)) {
            const std::vector<std::string> lines = host.files.ReadLines(lanFile);
            engine.SelectedLanguage = lines.empty() ? std::string() : lines.front();
        }
    }
    Define(variables, "LANGUAGE", engine.SelectedLanguage);
    return true;
}

void ApplyCommandLineOverrides(ScriptVariables& variables)
{
    const rtl::TStringList& overrides = variables.CommandLineOverrides;
    for (size_t i = 0; i + 1 < overrides.Count(); i += 2) {
        const std::string name = rtl::AnsiUpperCase(overrides[i]);
        const std::string& value = overrides[i + 1];
        if (variables.Exists(name))
            variables.Assign(name, value, kInjectOverrideContext);
        else
            variables.Set(name, value, kInjectOverrideContext);
    }
}

}  // namespace setup::engine
