#include "setup/engine/script/setup_script.h"

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/fast_strings.h"
#include "setup/engine/script/text_lines.h"

namespace setup::engine {
namespace {

// Compiler variables may refer to each other; a cycle would otherwise expand forever.
constexpr int kMaxCompilerExpansionPasses = 32;
// A cycle through a value that holds its own name twice doubles the text each pass, so a length
// no real parameter comes near ends it too.
constexpr size_t kMaxExpandedLength = 64 * 1024;

// The compiled script's sections: a list runs up to a line of exactly "$" (consumed, not added)
// or the end of the text; a scalar is one line.
class LineReader
{
public:
    explicit LineReader(std::string_view text) : m_lines(text) {}

    bool AtEnd() const { return m_lines.AtEnd(); }
    std::string Line() { return m_lines.Next(); }

    template <typename List>
    void Section(List& list)
    {
        Section(list, [](std::string& line) { return std::move(line); });
    }

    // Each line goes into the list as the convert function gives it back.
    template <typename List, typename Convert>
    void Section(List& list, Convert convert)
    {
        while (!AtEnd()) {
            std::string line = Line();
            if (line == "$")
                return;
            list.Add(convert(line));
        }
    }

private:
    TextLineReader m_lines;
};

bool IsDollarStandIn(const std::string& line)
{
    // Most lines are far from either stand-in's length; upper-casing them all would copy each.
    if (line.size() != 8 && line.size() != 13)
        return false;
    const std::string upper = rtl::AnsiUpperCase(line);
    return upper == "$WILD_DOLLAR$" || upper == "$DOLLAR$";
}

int ReadSetupMode(const std::string& line)
{
    const auto value = rtl::TryStrToInt(line);
    if (!value)
        throw rtl::EInOutError("Invalid numeric input", 106);
    return *value;
}

}  // namespace

SetupScript ReadSetupScript(std::string_view text)
{
    SetupScript script;
    LineReader reader(text);
    reader.Section(script.CommandList);
    reader.Section(script.StatementKeyList);

    // A parameter whose value is a lone "$" is stored under a stand-in, since "$" ends a section.
    THashedStringList pool;
    reader.Section(pool, [](std::string& line) {
        return IsDollarStandIn(line) ? std::string("$") : std::move(line);
    });
    script.ParameterPools.push_back(std::move(pool));

    reader.Section(script.StatementFlagList);
    script.ProductCode = reader.Line();
    script.ProductTitle = reader.Line();
    script.ProductTitleAsRead = script.ProductTitle;
    reader.Section(script.PluginCommandList);
    script.CompanyName = reader.Line();
    script.Contact = reader.Line();
    script.HelpLink = reader.Line();
    script.UpdateLink = reader.Line();
    script.Comments = reader.Line();
    script.ProductVersion = reader.Line();
    reader.Section(script.MediaPasswordList);
    reader.Section(script.StatementMediaList);
    if (!reader.AtEnd())
        script.SetupMode = ReadSetupMode(reader.Line());
    reader.Section(script.ComponentTable);
    script.CacheId = reader.Line();
    reader.Section(script.FileTable);
    script.AskLanguage = reader.Line() == "TRUE";
    script.DefaultLanguage = reader.Line();
    reader.Section(script.CommandHeaderMap);
    reader.Section(script.CompilerVariables);
    return script;
}

std::string GetStatementParam(const std::vector<THashedStringList>& pools, std::string_view key,
                              int n)
{
    for (const THashedStringList& pool : pools) {
        const int index = pool.IndexOf(key);
        if (index >= 0)
            return pool.ItemOrEmpty(static_cast<long long>(index) + n);
    }
    return {};
}

std::string ExpandCompilerVariables(const SetupScript& script, std::string_view text)
{
    std::string start(text);
    for (int pass = 0; pass < kMaxCompilerExpansionPasses; ++pass) {
        if (start.find('#') == std::string::npos)
            return start;
        std::string result = start;
        const auto& pairs = script.CompilerVariables.Items();
        for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
            result = StrReplace(result, "#" + pairs[i] + "#", pairs[i + 1],
                                kReplaceAll | kReplaceIgnoreCase);
            if (result.size() > kMaxExpandedLength)
                return start;
        }
        // Values may hold further references; they are expanded while the text keeps changing.
        if (result.find('$') == std::string::npos || result == start)
            return result;
        start = std::move(result);
    }
    return start;
}

std::string GetCommandHeader(const SetupScript& script, int statementIndex, bool preScan)
{
    const int entry = script.CommandHeaderMap.IndexOf(std::to_string(statementIndex));
    if (entry > 0)
        return script.CommandHeaderMap[static_cast<size_t>(entry) - 1];
    if (!preScan)
        throw rtl::Exception("Unable to obtain command headers. Please rebuild your project.");
    return {};
}

std::string LocalizeParameter(const SetupScript& script, const TranslationTables& translations,
                              std::string_view value, std::string_view key, int n)
{
    const std::string mode = rtl::AnsiUpperCase(ExpandCompilerVariables(script, "#LOCMODE#"));
    if (mode == "VARSONLY" && (key.find("TOOLWORK$") == std::string_view::npos ||
                               key.find("$TOOLWORK") == std::string_view::npos))
        return std::string(value);

    const int first = translations.TitleTranslation.IndexOf(key);
    if (first < 0)
        return std::string(value);
    const long long line = static_cast<long long>(first) + n - 1;
    auto lineOf = [line](const rtl::TStringList& list) -> std::string {
        if (line < 0 || line >= static_cast<long long>(list.Count()))
            return {};
        return list[static_cast<size_t>(line)];
    };
    if (mode == "NEWONLY" && value != lineOf(translations.TranslationOriginal))
        return std::string(value);
    return ExpandCompilerVariables(script, lineOf(translations.TranslationTexts));
}

}  // namespace setup::engine
