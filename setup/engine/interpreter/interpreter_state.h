// The engine values the interpreter keeps for one run and hands to every statement: the process
// facts start-up learned, the settings refreshed from variables, the language tables, the queued
// installer properties, the exit code and the run state of the layers above.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "setup/engine/rtl/string_list.h"
#include "setup/engine/script/run_parts.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/engine/script/setup_script.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

// What start-up learned about the process before the script runs.
struct ProcessFacts
{
    std::string exeFile;      // full path of the setup program
    std::string commandTail;  // the command line after the program
    std::string sfxArgument;  // value of "/m=", empty when not given
    std::string gpoArgument;  // value of "/g=", empty when not given
    std::string tempDir;      // with a trailing '\'
    std::string windowsDir;   // with a trailing '\'
    std::string supportDir;   // with a trailing '\'
    std::string traceLogPath;
};

struct EngineState
{
    ProcessFacts process;
    // The run's variables, with the silent switch and the command-line values.
    ScriptVariables Variables;
    std::string TargetPlatform = "Win32";
    // 0, KEY_WOW64_64KEY or KEY_WOW64_32KEY: ORed into every registry open of the statements;
    // a statement sets it for the target platform while it runs.
    std::uint32_t RegistryViewFlag = 0;
    bool StateFileSuppressed = false;
    bool StateFileFullWrite = false;
    // Installer property names and values queued by package-backed statements, in pairs.
    rtl::TStringList PackagePropertyList;
    // "SKIP", "FALSE" (package-backed, not run) or "TRUE" (run) per statement, as the check
    // prepares it and the statements mark it; the installer bridge reads it.
    rtl::TStringList PerformedStatementList;
    std::string SourceMarkerName;  // the product code copy the plug-in calls mark sources with
    std::string SelectedLanguage;
    std::string LoadedLanguage;
    // The message texts; start-up's table when it runs the script, which the language strings
    // the script loads replace.
    std::shared_ptr<SetupMessages> Messages = std::make_shared<SetupMessages>();
    TranslationTables Translations;
    // Triples (directory property name, shortcut name in short|long form, description) that the
    // installer bridge applies to the package's shortcuts under a translation language.
    rtl::TStringList ShortcutTranslationList;
    // Triples (ProgID as written, translated ProgID, translated description) for the package's
    // ProgIDs.
    rtl::TStringList ProgIdTranslationList;
    // The non-modal page on screen (owner of message boxes); 0 when none.
    std::uintptr_t ForegroundDialogWindow = 0;
    // The modal page shown last, released when the next page is shown; empty when none.
    std::string PendingDialogKey;
    // Refreshed before every statement from LOGGED, TITLE and TARQLOGO.
    std::string TraceLogPath;
    std::string CaptionTitle;
    bool CaptionSuffix = false;
    // The process's exit code as statements set it.
    int ExitCode = 0;
    // Media folders, each with a trailing '\': the data folder beside the program (as start-up
    // first set it, and as statements move it), the folder media is taken from, the "/p="
    // source folder and the installed product's folder a patch run takes plug-ins from.
    std::string DataDir;
    std::string OriginalDataDir;
    std::string MediaDir;
    std::string SourceOverride;
    std::string PreviousInstallFolder;
    // What the layers above keep for this run.
    RunParts Parts;
};

}  // namespace setup::engine
