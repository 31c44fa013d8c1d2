#include "setup/engine/statements/statements_text_files.h"

#include <optional>

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {
namespace {

constexpr std::string_view kNewlineMarker = "$NEWLINE$";

// The text file "Read from Text File" reads from: its path and its text, decoded when opened,
// with the position of the next line.
struct OpenText
{
    std::string path;
    std::string text;
    std::size_t position = 0;

    bool AtEnd() const { return position >= text.size(); }
    // A line ends at LF; a CR before it is dropped, so CR LF and bare LF files read alike.
    std::string NextLine()
    {
        const std::size_t lineEnd = text.find('\n', position);
        const std::size_t stop = lineEnd == std::string::npos ? text.size() : lineEnd;
        std::string line = text.substr(position, stop - position);
        position = lineEnd == std::string::npos ? text.size() : lineEnd + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }
};

// The run's one open text file.
struct OpenTextFile
{
    std::optional<OpenText> open;
};

std::optional<OpenText>& OpenTextOf(EngineState& engine)
{
    return engine.Parts.Get<OpenTextFile>().open;
}

bool HoldsOpen(EngineState& engine, const std::string& path)
{
    const std::optional<OpenText>& openText = OpenTextOf(engine);
    return openText && rtl::AnsiSameText(openText->path, path);
}

}  // namespace

std::string OpenTextFilePath(EngineState& engine)
{
    const std::optional<OpenText>& openText = OpenTextOf(engine);
    return openText ? openText->path : std::string();
}

void CloseOpenTextFile(EngineState& engine)
{
    OpenTextOf(engine).reset();
}

void GetIniFileSettingsStatement(StatementContext& statement,
                                 const TextFileStatementServices& services)
{
    const FsRedirectionScope redirection(*services.wow64, statement.Engine().TargetPlatform);
    const ResultVariable result(statement, RawParam(statement, 1));
    const std::string file = NormalizedParam(statement, 2);
    const std::string section = NormalizedParam(statement, 3);
    const std::string key = NormalizedParam(statement, 4);
    std::string value;
    if (!section.empty() && !key.empty())
        value = services.files->ReadIniValue(file, section, key);
    result.Assign(value);
}

void ReadFromTextFileStatement(StatementContext& statement,
                               const TextFileStatementServices& services)
{
    const FsRedirectionScope redirection(*services.wow64, statement.Engine().TargetPlatform);
    std::string path = ExpandedNormalizedParam(statement, 1);
    const ResultVariable line(statement, RawParam(statement, 2));
    const ResultVariable end(statement, RawParam(statement, 3));
    const bool readAll = path.starts_with(kReadAllPrefix);
    if (readAll)
        path.erase(0, kReadAllPrefix.size());

    EngineState& engine = statement.Engine();
    std::optional<OpenText>& openText = OpenTextOf(engine);
    if (!HoldsOpen(engine, path)) {
        CloseOpenTextFile(engine);
        const TextFileRead file = services.files->ReadFile(path);
        if (!file.read) {
            end.Assign("TRUE");
            return;
        }
        openText = OpenText{path, DecodeTextFile(file.bytes, services.files->Codec()), 0};
    }

    if (!openText->AtEnd()) {
        std::string text = openText->NextLine();
        while (readAll && !openText->AtEnd()) {
            text += kNewlineMarker;
            text += openText->NextLine();
        }
        line.Assign(text);
    }
    const bool atEnd = openText->AtEnd();
    if (atEnd)
        CloseOpenTextFile(engine);
    end.Assign(BoolToText(atEnd));
}

void WriteToTextFileStatement(StatementContext& statement,
                              const TextFileStatementServices& services)
{
    const FsRedirectionScope redirection(*services.wow64, statement.Engine().TargetPlatform);
    const std::string path = ExpandedNormalizedParam(statement, 1);
    const std::string text = ExpandedParam(statement, 2);
    const bool first = TextToBool(RawParam(statement, 3));
    if (HoldsOpen(statement.Engine(), path))
        CloseOpenTextFile(statement.Engine());
    const TextFileRead file = services.files->ReadFile(path);
    // A file that is there but cannot be read would be replaced by the one line: leave it.
    if (file.exists && !file.read)
        return;
    const std::string bytes = InsertTextLine(file.bytes, text, first, services.files->Codec());
    // A line added at the end goes after the bytes already there, so a failed write cannot take
    // the file's contents with it.
    if (file.exists && !file.bytes.empty() && bytes.starts_with(file.bytes))
        services.files->AppendFile(path, bytes.substr(file.bytes.size()));
    else
        services.files->WriteFile(path, bytes);
}

void RegisterTextFileStatements(StatementHandlerTable& table,
                                const TextFileStatementServices& services)
{
    table.Register("Get INI File Settings",
                   [services](StatementContext& s) { GetIniFileSettingsStatement(s, services); });
    table.Register("Read from Text File",
                   [services](StatementContext& s) { ReadFromTextFileStatement(s, services); });
    table.Register("Write to Text File",
                   [services](StatementContext& s) { WriteToTextFileStatement(s, services); });
}

}  // namespace setup::engine
