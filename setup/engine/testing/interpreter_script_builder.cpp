#include "setup/engine/testing/interpreter_script_builder.h"

#include "tests/support/compiled_script_builder.h"

namespace setup::engine::testing {

namespace {
constexpr size_t kRecordParameters = 8;
}  // namespace

ScriptBuilder& ScriptBuilder::Add(const std::string& line)
{
    Statement statement;
    std::string text = line;
    if (!text.empty() && text.front() == '#') {
        statement.commentedOut = true;
        text.erase(0, 1);
    }
    size_t start = 0;
    bool first = true;
    while (true) {
        const size_t bar = text.find('|', start);
        const std::string field = text.substr(start, bar == std::string::npos ? bar : bar - start);
        if (first)
            statement.command = field;
        else
            statement.params.push_back(field);
        first = false;
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    m_statements.push_back(std::move(statement));
    return *this;
}

ScriptBuilder& ScriptBuilder::Lines(std::initializer_list<std::string> lines)
{
    for (const std::string& line : lines)
        Add(line);
    return *this;
}

ScriptBuilder& ScriptBuilder::Plugin(std::string command)
{
    m_plugins.push_back(std::move(command));
    return *this;
}

ScriptBuilder& ScriptBuilder::Header(int index, std::string header)
{
    m_headers.emplace_back(index, std::move(header));
    return *this;
}

ScriptBuilder& ScriptBuilder::Title(std::string title)
{
    m_title = std::move(title);
    return *this;
}

ScriptBuilder& ScriptBuilder::ProductCode(std::string code)
{
    m_productCode = std::move(code);
    return *this;
}

std::string ScriptBuilder::KeyOf(int index)
{
    return testsupport::GeneratedKey(static_cast<size_t>(index));
}

// Written as script text by the shared builder and read back by the engine's reader, so every
// interpreter test also goes through the reader.
SetupScript ScriptBuilder::Build() const
{
    std::vector<testsupport::ScriptStatement> statements;
    for (const Statement& statement : m_statements) {
        testsupport::ScriptStatement written;
        written.command = statement.command;
        written.commentedOut = statement.commentedOut;
        written.params = statement.params;
        // The build tool writes every parameter a command has; padding keeps a read of an
        // omitted trailing parameter inside the record.
        if (!written.params.empty() && written.params.size() < kRecordParameters)
            written.params.resize(kRecordParameters);
        statements.push_back(std::move(written));
    }
    for (const auto& [index, header] : m_headers)
        statements.at(static_cast<size_t>(index)).header = header;

    testsupport::ScriptProject project;
    project.productCode = m_productCode;
    project.productTitle = m_title;
    project.pluginCommands = m_plugins;
    project.company = "Test Company";
    project.version = "1.2.3";
    project.setupMode = "1";
    project.cacheId = "{CACHE000-0000-0000-0000-000000000000}";
    project.defaultLanguage = "English";
    project.generateHeaders = false;
    return ReadSetupScript(testsupport::BuildCompiledScript(statements, project));
}

SetupScript BuildScript(std::initializer_list<std::string> lines)
{
    return ScriptBuilder().Lines(lines).Build();
}

}  // namespace setup::engine::testing
