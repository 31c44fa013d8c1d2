#include "setup/engine/interpreter/statements_package.h"

#include <optional>
#include <vector>

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/script/fast_strings.h"
#include "setup/engine/script/script_check.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

// A parameter whose translation the language tables may hold, and under which index.
struct Translated
{
    int param;
    int index;
};

enum class Extra
{
    None,
    Shortcut,         // name rewritten, triple into ShortcutTranslationList
    ProgId,           // triple into ProgIdTranslationList
    DollarOnly,       // a parameter written without "$" is a constant the package holds
    ServiceArguments  // "~" in the arguments stands for the package's null marker
};

struct PackageStatement
{
    const char* command;
    // Parameter property n takes the parameter at position n-1.
    std::vector<int> properties;
    std::vector<Translated> translated;
    Extra extra = Extra::None;
    bool media = false;
    bool noRedirection = false;
};

const std::vector<PackageStatement>& PackageStatements()
{
    // Columns: command, parameter properties, translated parameters, extra, media, redirection.
    static const std::vector<PackageStatement> statements = {
        {"Install Files", {3}, {}, Extra::None, true, false},
        {"Copy/Move Local Files", {1, 3}, {}, Extra::None, false, false},
        {"Delete Files", {1}, {}, Extra::None, false, false},
        {"Create Folder", {1}, {}, Extra::None, false, false},
        {"Write Registry", {3, 4, 5}, {}, Extra::DollarOnly, false, false},
        {"Set Environment", {2}, {}, Extra::None, false, true},
        {"Edit INI File", {1, 4, 5, 6}, {}, Extra::None, false, false},
        {"Create Shortcut", {3, 1, 5, 6}, {{2, 1}, {4, 2}}, Extra::Shortcut, false, false},
        {"Advertised Shortcut", {3, 1, 5, 6}, {{2, 1}, {4, 2}}, Extra::Shortcut, false, false},
        {"Create File Type", {1, 2, 3, 4, 5}, {{1, 1}, {3, 2}}, Extra::None, false, false},
        {"Advertised File Type", {}, {{1, 1}, {3, 2}}, Extra::ProgId, false, false},
        {"Control Service", {1, 2}, {{1, 1}}, Extra::None, false, false},
        {"Install Service",
         {2, 4, 5, 9, 10, 13, 14, 15, 6},
         {{4, 1}, {5, 2}, {6, 3}, {9, 4}, {10, 5}},
         Extra::ServiceArguments,
         true,
         false},
        {"Install Assembly", {3}, {}, Extra::None, true, false},
        {"Create ODBC DSN", {}, {}, Extra::None, false, false},
        {"Install ODBC Driver", {4}, {}, Extra::None, true, false},
    };
    return statements;
}

constexpr int kServiceArgumentsParam = 10;

std::optional<int> TranslationIndex(const PackageStatement& row, int param)
{
    for (const Translated& t : row.translated)
        if (t.param == param)
            return t.index;
    return std::nullopt;
}

// Expanded and, under a translation language, translated and expanded again.
std::string ReadParam(StatementContext& statement, const PackageStatement& row, int param)
{
    std::string value = ExpandedParam(statement, param);
    if (const auto index = TranslationIndex(row, param))
        value = LocalizeExpanded(statement, value, statement.Key(), *index);
    if (row.extra == Extra::ServiceArguments && param == kServiceArgumentsParam)
        value = StrReplace(value, "~", "$NULL$", kReplaceAll | kReplaceIgnoreCase);
    return value;
}

void MarkPerformed(rtl::TStringList& performed, int index)
{
    const auto at = static_cast<std::size_t>(index);
    // The check prepares one line per statement; a list it did not prepare still gets the mark.
    while (performed.Count() <= at)
        performed.Add("SKIP");
    performed[at] = "TRUE";
}

std::string TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

void RunPackageStatement(StatementContext& statement, const PackageStatement& row,
                         const PackageStatementServices& services)
{
    std::optional<FsRedirectionScope> redirection;
    if (row.noRedirection && services.wow64 != nullptr)
        redirection.emplace(*services.wow64, statement.Engine().TargetPlatform);

    // Every parameter is read before the header, so a failing header leaves nothing queued.
    std::vector<std::string> values;
    for (const int param : row.properties) {
        if (row.extra == Extra::DollarOnly &&
            RawParam(statement, param).find('$') == std::string::npos)
            values.emplace_back();
        else
            values.push_back(ReadParam(statement, row, param));
    }
    std::string name;
    std::string description;
    if (row.extra == Extra::Shortcut) {
        name = ReadParam(statement, row, 2);
        description = ReadParam(statement, row, 4);
    } else if (row.extra == Extra::ProgId) {
        name = ReadParam(statement, row, 1);
        description = ReadParam(statement, row, 3);
    }

    const std::string header = GetCommandHeader(statement.Script(), statement.Index(), false);

    EngineState& engine = statement.Engine();
    if (row.extra == Extra::Shortcut) {
        engine.ShortcutTranslationList.Add("P" + header + "_1");
        engine.ShortcutTranslationList.Add(ShortcutPackageName(name));
        engine.ShortcutTranslationList.Add(description);
    } else if (row.extra == Extra::ProgId) {
        engine.ProgIdTranslationList.Add(RawParam(statement, 1));
        engine.ProgIdTranslationList.Add(name);
        engine.ProgIdTranslationList.Add(description);
    }

    MarkPerformed(statement.Engine().PerformedStatementList, statement.Index());
    QueuePackageProperty(statement, "A" + header, "TRUE");

    if (row.media && services.media != nullptr && statement.Script().SetupMode == 2) {
        const std::string block =
            statement.Script().StatementMediaList.ItemOrEmpty(statement.Index());
        if (!block.empty())
            services.media->AcquireMediaBlock(block);
    }

    for (std::size_t n = 0; n < row.properties.size(); ++n) {
        if (row.extra == Extra::DollarOnly &&
            RawParam(statement, row.properties[n]).find('$') == std::string::npos)
            continue;
        QueuePackageProperty(statement, "P" + header + "_" + std::to_string(n + 1),
                             statement.Vars().NormalizePath(values[n]));
    }
}

}  // namespace

std::string ShortcutPackageName(std::string_view name)
{
    return TrimBlanks(name).substr(0, 6) + "~1|" + std::string(name);
}

void QueuePackageProperty(StatementContext& statement, const std::string& name,
                          const std::string& value)
{
    statement.Host().records.AddMSIProperty(name, value);
    rtl::TStringList& record = statement.Engine().PackagePropertyList;
    record.Add(EncodeNewlines(name));
    record.Add(EncodeNewlines(value));
}

void RegisterPackageStatements(StatementHandlerTable& table,
                               const PackageStatementServices& services)
{
    for (const PackageStatement& row : PackageStatements())
        table.Register(row.command, [&row, services](StatementContext& statement) {
            RunPackageStatement(statement, row, services);
        });
}

}  // namespace setup::engine
