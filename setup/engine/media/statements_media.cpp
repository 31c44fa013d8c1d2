#include "setup/engine/media/statements_media.h"

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/media/media_block.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

std::vector<std::string> AddressLines(std::string text)
{
    for (std::size_t at; (at = text.find("$NEWLINE$")) != std::string::npos;)
        text.replace(at, 9, "\r\n");
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() || end < text.size())
            lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

void WebMediaBlock(StatementContext& statement)
{
    MediaBlockState& block = statement.Engine().Parts.Get<MediaBlockState>();
    block.name = statement.Param(1);
    block.urls = AddressLines(ExpandedParam(statement, 2));
    block.archivePath = statement.Engine().DataDir + block.name + ".7zip";
    block.password = BlockPassword(statement.Script().MediaPasswordList, block.name);
}

void Extract7ZipArchive(StatementContext& statement, const MediaStatementServices& services)
{
    const OptionalFsRedirectionScope redirection(services.wow64, statement.Engine().TargetPlatform);
    ArchiveExtraction extraction;
    extraction.archivePath = NormalizedParam(statement, 1);
    extraction.targetFolder = NormalizedParam(statement, 2);
    const ResultVariable result(statement, statement.Param(3));
    extraction.password = ExpandedParam(statement, 4);
    extraction.answerFlag = TextToBool(ExpandedParam(statement, 5));
    extraction.modeFlag = TextToBool(ExpandedParam(statement, 6));
    std::string error = "The archive file was not found";
    const bool done = services.extract && services.extract(statement, extraction, error);
    result.Assign(done ? "SUCCESS" : error);
}

}  // namespace

void RegisterMediaStatements(StatementHandlerTable& table, const MediaStatementServices& services)
{
    table.Register("Web Media Block", WebMediaBlock);
    table.Register("Extract 7Zip Archive", [services](StatementContext& statement) {
        Extract7ZipArchive(statement, services);
    });
}

}  // namespace setup::engine
