// The interpreter's set-up steps and per-statement refreshes that need no flow state, one
// function each, in the order ExecuteScript calls them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "setup/engine/interpreter/interpreter.h"

namespace setup::engine {

inline constexpr std::string_view kInitializationContext = "Initialization";
inline constexpr std::string_view kPreInitializationContext = "Pre-Initialization";

// Set-up.
void StoreThreadProgressDefaults(ScriptVariables& variables);
void StorePreInitializationVariables(const ScriptRun& run);
// Upper-cased label name -> 0-based index of its "Label" statement; the first definition wins.
std::unordered_map<std::string, int> BuildLabelTable(const SetupScript& script);
bool PackagePresent(const ScriptRun& run);
bool PatchBesidePackage(const ScriptRun& run);
void StorePredefinedVariables(const ScriptRun& run);
void PreScanCommandHeaders(const ScriptRun& run);
// False when the user cancelled the language form.
bool ChooseLanguage(const ScriptRun& run);
void ApplyCommandLineOverrides(ScriptVariables& variables);

// Before every statement.
void RefreshEngineSettings(EngineState& engine);
// `applied` is the cache override last applied; empty when none.
void ApplyCacheOverride(const ScriptRun& run, std::string& applied);
void RefreshDateAndTime(ScriptVariables& variables, IUserEnvironment& environment);
void ApplyLanguageChange(const ScriptRun& run);
// The uninstall link asks the registry and the shell for the cache root, which takes longer
// than a simple statement: the answer is kept until one of its inputs changes or, for what the
// system may change on its own, until kSystemPollInterval has passed.
inline constexpr std::uint64_t kSystemPollInterval = 100;  // milliseconds
struct UninstallLinkPoll
{
    std::string inputs;
    std::uint64_t askedAt = 0;
    bool asked = false;
    std::string link;
    std::string cacheFolder;
};
void RefreshUninstallLink(const ScriptRun& run, UninstallLinkPoll& poll);

}  // namespace setup::engine
