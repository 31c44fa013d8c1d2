// What every built-in statement reads and writes the same way: its parameters (raw, expanded,
// normalised, translated), its result variables, its flags and the runtime's integer texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/rtl/code_page.h"

namespace setup::engine {

// Parameter n as stored in the script.
std::string RawParam(const StatementContext& statement, int n);
// With every reference to a defined variable replaced by its value.
std::string ExpandedParam(const StatementContext& statement, int n);
// Through the variables' NormalizePath (which expands as well).
std::string NormalizedParam(const StatementContext& statement, int n);
// Expanded, then through NormalizePath, which expands the inserted values once more.
std::string ExpandedNormalizedParam(const StatementContext& statement, int n);
// A value after its expansion: with a translation language active, the translation of the
// statement's parameter under the given translation index, expanded again.
std::string LocalizeExpanded(StatementContext& statement, std::string_view expandedValue,
                             std::string_view key, int translationIndex);

// A variable named in a parameter: "$NAME$" or NAME.
std::string NamedVariable(std::string_view parameter);

// The result-variable rule: the parameter names the variable bare or between dollar signs; when
// it does not exist it is created empty under its upper-cased name before the statement computes;
// the result is stored under "<command> Action"; an empty parameter stores nothing.
class ResultVariable
{
public:
    ResultVariable(const StatementContext& statement, std::string_view parameter);
    const std::string& Name() const { return m_name; }
    void Assign(std::string_view value) const;

private:
    ScriptVariables& m_variables;
    std::string m_name;
    std::string m_context;
};

// The flags some statements test exactly rather than through TextToBool.
inline bool IsExactlyTrue(std::string_view text)
{
    return text == "TRUE";
}

// The runtime's integer texts: leading blanks, an optional sign, decimal digits or '$' (or "0x")
// and hexadecimal digits naming the bit pattern. Out of range is not a number.
std::optional<std::int64_t> TryTextToInt64(std::string_view text);
// Raise EConvertError "'<text>' is not a valid integer value".
std::int32_t TextToInt32(std::string_view text);
std::int64_t TextToInt64(std::string_view text);

// Lower case through a code page's facts (the inverse of its upper-case table); the trail byte of
// a double-byte character is left alone, so the length never changes.
std::string LowerCaseWith(const rtl::CodePageFacts& codePage, std::string_view text);
std::string UpperCaseWith(const rtl::CodePageFacts& codePage, std::string_view text);

// Without leading and trailing blanks and control characters.
std::string TrimText(std::string_view text);

}  // namespace setup::engine
