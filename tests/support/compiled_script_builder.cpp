#include "tests/support/compiled_script_builder.h"

#include <cstdio>

namespace testsupport {
namespace {

class ScriptWriter
{
public:
    ScriptWriter(const ScriptDamage& damage) : m_damage(damage) {}

    bool Open() const { return m_sections < m_damage.keepSections; }

    void Line(std::string_view line)
    {
        m_text.append(line);
        m_text.append(m_damage.bareLineFeeds ? "\n" : "\r\n");
    }

    // A section of exactly one line.
    void Scalar(std::string_view line)
    {
        if (!Open())
            return;
        Line(line);
        ++m_sections;
    }

    // A list section ends with a line of "$"; a value that is itself "$" is stored as a stand-in.
    template <typename Lines>
    void List(const Lines& lines)
    {
        if (!Open())
            return;
        for (const auto& line : lines)
            Line(line == "$" ? "$DOLLAR$" : std::string_view(line));
        Line("$");
        ++m_sections;
    }

    std::string Finish() { return m_text + m_damage.trailingJunk; }

private:
    const ScriptDamage& m_damage;
    std::string m_text;
    int m_sections = 0;
};

std::string Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

template <typename Pairs>
std::vector<std::string> Flatten(const Pairs& pairs)
{
    std::vector<std::string> lines;
    for (const auto& [first, second] : pairs) {
        lines.push_back(first);
        lines.push_back(second);
    }
    return lines;
}

}  // namespace

std::string GeneratedKey(size_t index)
{
    char key[40];
    std::snprintf(key, sizeof(key), "{5EED0000-0000-4000-8000-%012zX}", index);
    return key;
}

std::string BuildCompiledScript(const std::vector<ScriptStatement>& statements,
                                const ScriptProject& project, const ScriptDamage& damage)
{
    std::vector<std::string> commands, keys, pool, flags, media, headers;
    for (size_t i = 0; i < statements.size(); ++i) {
        const ScriptStatement& statement = statements[i];
        const std::string key = statement.key.empty() ? GeneratedKey(i) : statement.key;
        commands.push_back(statement.command);
        keys.push_back(key);
        flags.push_back(statement.commentedOut ? "C" : "");
        media.push_back(statement.media);
        if (!damage.omitParameterRecords && !statement.params.empty()) {
            pool.push_back(key);
            pool.insert(pool.end(), statement.params.begin(), statement.params.end());
        }
        if (statement.header.empty() && !project.generateHeaders)
            continue;
        char header[9];
        std::snprintf(header, sizeof(header), "%08zX", 0xC0DE0000 + i);
        headers.push_back(statement.header.empty() ? header : statement.header);
        headers.push_back(std::to_string(i));
    }
    std::vector<std::string> components = Flatten(project.components);

    ScriptWriter writer(damage);
    writer.List(commands);
    writer.List(keys);
    writer.List(pool);
    writer.List(flags);
    writer.Scalar(project.productCode);
    writer.Scalar(project.productTitle);
    writer.List(project.pluginCommands);
    writer.Scalar(project.company);
    writer.Scalar(project.contact);
    writer.Scalar(project.helpLink);
    writer.Scalar(project.updateLink);
    writer.Scalar(project.comments);
    writer.Scalar(project.version);
    writer.List(project.mediaPasswords);
    writer.List(media);
    writer.Scalar(project.setupMode);
    writer.List(components);
    writer.Scalar(project.cacheId);
    writer.List(project.files);
    writer.Scalar(project.askLanguage);
    writer.Scalar(project.defaultLanguage);
    writer.List(headers);
    writer.List(Flatten(project.compilerVariables));
    return writer.Finish();
}

std::vector<ScriptStatement> ParseStatements(std::string_view description)
{
    std::vector<ScriptStatement> statements;
    while (!description.empty()) {
        const size_t end = description.find('\n');
        std::string_view line = description.substr(0, end);
        description.remove_prefix(end == std::string_view::npos ? description.size() : end + 1);
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;

        ScriptStatement statement;
        std::string_view rest = trimmed;
        if (rest.size() > 2 && rest.substr(0, 2) == "C ") {
            statement.commentedOut = true;
            rest.remove_prefix(2);
        }
        std::string unbracketed(rest);
        if (const size_t close = rest.find(']');
            !rest.empty() && rest[0] == '[' && close != std::string_view::npos) {
            statement.media = std::string(rest.substr(1, close - 1));
            unbracketed = Trim(rest.substr(close + 1));
        }
        rest = unbracketed;
        std::vector<std::string> fields;
        for (;;) {
            const size_t bar = rest.find('|');
            fields.push_back(Trim(rest.substr(0, bar)));
            if (bar == std::string_view::npos)
                break;
            rest.remove_prefix(bar + 1);
        }
        statement.command = fields.front();
        statement.params.assign(fields.begin() + 1, fields.end());
        statements.push_back(std::move(statement));
    }
    return statements;
}

}  // namespace testsupport
