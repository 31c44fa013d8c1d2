#include "setup/engine/interpreter/statements_support.h"

#include <array>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

std::string RawParam(const StatementContext& statement, int n)
{
    return statement.Param(n);
}

std::string ExpandedParam(const StatementContext& statement, int n)
{
    return statement.Vars().Expand(statement.Param(n));
}

std::string NormalizedParam(const StatementContext& statement, int n)
{
    return statement.Vars().NormalizePath(statement.Param(n));
}

std::string ExpandedNormalizedParam(const StatementContext& statement, int n)
{
    return statement.Vars().NormalizePath(statement.Vars().Expand(statement.Param(n)));
}

std::string LocalizeExpanded(StatementContext& statement, std::string_view expandedValue,
                             std::string_view key, int translationIndex)
{
    EngineState& engine = statement.Engine();
    if (engine.SelectedLanguage.empty())
        return std::string(expandedValue);
    return statement.Vars().Expand(LocalizeParameter(statement.Script(), engine.Translations,
                                                     expandedValue, key, translationIndex));
}

std::string NamedVariable(std::string_view parameter)
{
    std::string stripped = StripDollars(parameter);
    return stripped.empty() ? std::string(parameter) : stripped;
}

ResultVariable::ResultVariable(const StatementContext& statement, std::string_view parameter)
    : m_variables(statement.Vars()),
      m_name(rtl::AnsiUpperCase(NamedVariable(parameter))),
      m_context(statement.ResultContext())
{
    if (!m_name.empty() && !m_variables.Exists(m_name))
        m_variables.Set(m_name, "", m_context);
}

void ResultVariable::Assign(std::string_view value) const
{
    if (!m_name.empty())
        m_variables.Assign(m_name, value, m_context);
}

std::optional<std::int64_t> TryTextToInt64(std::string_view text)
{
    return rtl::TryStrToInt64(text);
}

std::int32_t TextToInt32(std::string_view text)
{
    return rtl::StrToInt(text);
}

std::int64_t TextToInt64(std::string_view text)
{
    if (const auto value = TryTextToInt64(text))
        return *value;
    throw rtl::EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

std::string UpperCaseWith(const rtl::CodePageFacts& codePage, std::string_view text)
{
    return codePage.UpperCase(text);
}

std::string LowerCaseWith(const rtl::CodePageFacts& codePage, std::string_view text)
{
    std::array<std::uint8_t, 256> lower{};
    for (int b = 0; b < 256; ++b)
        lower[b] = static_cast<std::uint8_t>(b);
    // The upper-case table names each letter pair once; the first small letter of a pair wins.
    for (int b = 255; b >= 0; --b) {
        const std::uint8_t big = codePage.upper[b];
        if (big != b)
            lower[big] = static_cast<std::uint8_t>(b);
    }
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(result[i]);
        if (codePage.leadByte[byte]) {
            ++i;
            continue;
        }
        result[i] = static_cast<char>(lower[byte]);
    }
    return result;
}

std::string TrimText(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return std::string(text.substr(first, last - first));
}

}  // namespace setup::engine
