// The media statements: "Web Media Block" names the block later acquisitions fetch, and
// "Extract 7Zip Archive" unpacks an archive on a worker thread.
#pragma once

#include <functional>
#include <string>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"

namespace setup::engine {

struct ArchiveExtraction
{
    std::string archivePath, targetFolder, password;
    bool modeFlag = true, answerFlag = true;
};

// Null members switch a service off: no redirection change; without an extractor the statement
// reports the archive as not found.
struct MediaStatementServices
{
    IWow64Services* wow64 = nullptr;
    // Runs the extraction worker and waits for it; false with the error text on failure.
    std::function<bool(StatementContext&, const ArchiveExtraction&, std::string& errorText)>
        extract;
};

void RegisterMediaStatements(StatementHandlerTable& table, const MediaStatementServices& services);

}  // namespace setup::engine
