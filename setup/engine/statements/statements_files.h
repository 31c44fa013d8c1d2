// The file and folder statements that act at once: existence tests, file versions, temporary
// files, the folder search on its worker thread and the recursive delete, over narrow file
// interfaces so the statements run with fakes in tests.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/engine/statements/file_search.h"
#include "setup/engine/statements/file_version.h"
#include "setup/engine/system/file_system_view.h"

namespace setup::engine {

// The single file facts the statements ask of the system.
class IFileFacts
{
public:
    virtual ~IFileFacts() = default;
    // The entry's attributes; none when it cannot be found.
    virtual std::optional<std::uint32_t> GetAttributes(const std::string& path) = 0;
    // Not found (all four numbers 0) for a missing file or one without a version resource.
    virtual FileVersion GetFileVersionParts(const std::string& path) = 0;
    // A new empty file "<prefix>XXXX.tmp" in the folder; empty when none could be made.
    virtual std::string CreateTempFile(const std::string& folder, const std::string& prefix) = 0;
};

struct FindAllFilesRequest
{
    std::string folderAndMask;
    bool recurse = false;
    bool includeFolders = false;
    SearchProgress* progress = nullptr;  // the run's
    // The run's: the search publishes its progress there; the wait follows its silent mode.
    ScriptVariables* variables = nullptr;
};

// Runs the search of "Find All Files" and waits for it; the wait asks checkCancel after every
// step and has the search stop once it returns -1. What was found so far is the result.
class IFindAllFilesWorker
{
public:
    virtual ~IFindAllFilesWorker() = default;
    virtual std::vector<std::string> Run(IFileSystemView& fs, const FindAllFilesRequest& request,
                                         const std::function<int()>& checkCancel) = 0;
};

// The search on the calling thread, cancel asked after every folder and file.
class InlineFindAllFilesWorker final : public IFindAllFilesWorker
{
public:
    std::vector<std::string> Run(IFileSystemView& fs, const FindAllFilesRequest& request,
                                 const std::function<int()>& checkCancel) override;
};

struct FileStatementServices
{
    IWow64Services* wow64 = nullptr;
    IFileSystemView* fs = nullptr;
    IFileFacts* facts = nullptr;
    IFindAllFilesWorker* worker = nullptr;
};

void RegisterFileStatements(StatementHandlerTable& table, const FileStatementServices& services);

// Statement bodies.
void DoesFileFolderExistStatement(StatementContext& statement,
                                  const FileStatementServices& services);
void GetFileVersionStatement(StatementContext& statement, const FileStatementServices& services);
void CheckFileVersionStatement(StatementContext& statement, const FileStatementServices& services);
void GetTemporaryFileStatement(StatementContext& statement, const FileStatementServices& services);
void FindAllFilesStatement(StatementContext& statement, const FileStatementServices& services);
void DeleteFilesRecursiveStatement(StatementContext& statement,
                                   const FileStatementServices& services);

}  // namespace setup::engine
