// The compiled setup script: the statement lists, the parameter pool and the project tables that
// travel as text behind the setup program's image, and the look-ups the engine makes in them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/rtl/string_list.h"
#include "setup/engine/script/hashed_string_list.h"

namespace setup::engine {

struct SetupScript
{
    // One line per statement; statement n (1-based) is line n - 1.
    THashedStringList CommandList;
    THashedStringList StatementKeyList;
    // Records of a key line followed by that statement's parameters; one pool in practice.
    std::vector<THashedStringList> ParameterPools;
    THashedStringList StatementFlagList;  // "C" marks a commented-out statement
    std::string ProductCode;
    std::string ProductTitle;
    std::string ProductTitleAsRead;  // kept as read even when the title changes later
    rtl::TStringList PluginCommandList;
    std::string CompanyName;
    std::string Contact;
    std::string HelpLink;
    std::string UpdateLink;
    std::string Comments;
    std::string ProductVersion;
    rtl::TStringList MediaPasswordList;
    THashedStringList StatementMediaList;
    int SetupMode = 0;
    rtl::TStringList ComponentTable;
    std::string CacheId;
    THashedStringList FileTable;
    bool AskLanguage = false;
    std::string DefaultLanguage;
    THashedStringList CommandHeaderMap;
    THashedStringList CompilerVariables;
};

// The translation tables a selected language loads: parallel line lists.
struct TranslationTables
{
    THashedStringList TitleTranslation;    // "<title>.mtx": statement keys
    rtl::TStringList TranslationTexts;     // "translations.<language>"
    rtl::TStringList TranslationOriginal;  // "translations.Original"
    rtl::TStringList TranslationMap;       // "translations.Map"
};

// Reads the script text (ANSI lines ending in CR LF). A truncated text leaves the remaining
// sections empty. Raises EInOutError when the setup mode is not a number.
SetupScript ReadSetupScript(std::string_view text);

// Parameter n of the statement with this key from the first pool that holds the key (n = 0 is
// the key line itself); the empty text when no pool does.
std::string GetStatementParam(const std::vector<THashedStringList>& pools, std::string_view key,
                              int n);

// Replaces "#NAME#" references to build-time variables, letter case ignored. A reference cycle
// ends after a bounded number of passes or once the text grows past any real parameter.
std::string ExpandCompilerVariables(const SetupScript& script, std::string_view text);

// The command header of a statement (0-based index). When none is recorded outside the start-up
// pre-scan, raises "Unable to obtain command headers. Please rebuild your project.".
std::string GetCommandHeader(const SetupScript& script, int statementIndex, bool preScan);

// The translated text of parameter n of the statement with this key, under the script's
// localization mode; the value unchanged when no translation applies.
std::string LocalizeParameter(const SetupScript& script, const TranslationTables& translations,
                              std::string_view value, std::string_view key, int n);

}  // namespace setup::engine
