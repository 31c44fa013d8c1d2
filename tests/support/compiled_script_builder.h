// Writes compiled setup scripts for tests from a readable description, independently of the
// engine's reader, with options that damage the result the way broken builds and downloads do.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testsupport {

struct ScriptStatement
{
    std::string command;
    std::vector<std::string> params;
    bool commentedOut = false;
    std::string media;   // web media name, "OFFLINE\" or empty
    std::string key;     // generated from the position when empty
    std::string header;  // 8 hexadecimal digits; generated from the position when empty
};

struct ScriptProject
{
    std::string productCode = "{8A6B2C1D-0000-4000-8000-000000000001}";
    std::string productTitle = "Vontar Wipestation";
    std::vector<std::string> pluginCommands;
    std::string company = "Vontar Security";
    std::string contact = "support";
    std::string helpLink = "http://127.0.0.1/help";
    std::string updateLink = "http://127.0.0.1/update";
    std::string comments = "";
    std::string version = "6.0.1";
    std::vector<std::string> mediaPasswords;  // name, scrambled password, ...
    std::string setupMode = "1";
    std::vector<std::pair<std::string, std::string>> components = {{"TARQ-PREDEF-COMPONENT", "0"}};
    std::string cacheId = "{8A6B2C1D-0000-4000-8000-0000000000CA}";
    std::vector<std::string> files;  // media name, "XXXXXXXX\name", folder: three lines a file
    std::string askLanguage = "FALSE";
    std::string defaultLanguage = "English";
    std::vector<std::pair<std::string, std::string>> compilerVariables;
    // Off: only statements with an explicit header get one in the command-header map.
    bool generateHeaders = true;
};

struct ScriptDamage
{
    bool omitParameterRecords = false;  // statements keep their keys but have no parameters
    int keepSections = 23;              // write only the first N of the 23 sections
    bool bareLineFeeds = false;         // LF instead of CR LF
    std::string trailingJunk;           // bytes after the last section
};

// The statement's key as the builder generates it: a GUID numbered by position.
std::string GeneratedKey(size_t index);

std::string BuildCompiledScript(const std::vector<ScriptStatement>& statements,
                                const ScriptProject& project = {}, const ScriptDamage& damage = {});

// One statement per line: an optional "C " for commented out, an optional media name in brackets,
// the command, then parameters, separated by "|" (blanks around each field are dropped). Blank
// lines and lines starting with "#" are skipped.
//     Set Variable | RESULT | hello
//     C Label | Here
//     [Core\] Read from Text File | $DATADIR$Core\readme.txt | LINE | END
std::vector<ScriptStatement> ParseStatements(std::string_view description);

}  // namespace testsupport
