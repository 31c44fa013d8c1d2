#include "setup/engine/statements/statements_files.h"

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/workers/worker_protocol.h"

namespace setup::engine {
namespace {

constexpr const char* kTempFilePrefix = "qbr";

// Redirection switched off around a statement body, back on when it ends or fails.
template <typename Body>
void WithoutRedirection(StatementContext& statement, const FileStatementServices& services,
                        Body body)
{
    const FsRedirectionScope redirection(*services.wow64, statement.Engine().TargetPlatform);
    body();
}

}  // namespace

std::vector<std::string> InlineFindAllFilesWorker::Run(IFileSystemView& fs,
                                                       const FindAllFilesRequest& request,
                                                       const std::function<int()>& checkCancel)
{
    bool cancelled = false;
    return FindAllFiles(fs, request.folderAndMask, request.recurse, request.includeFolders,
                        *request.progress, *request.variables, [&] {
                            if (!cancelled && checkCancel && checkCancel() == -1)
                                cancelled = true;
                            return cancelled;
                        });
}

void DoesFileFolderExistStatement(StatementContext& statement,
                                  const FileStatementServices& services)
{
    WithoutRedirection(statement, services, [&] {
        const ResultVariable result(statement, RawParam(statement, 1));
        const std::string path = ExpandedNormalizedParam(statement, 2);
        const bool testFile = TextToBool(RawParam(statement, 3));
        const std::optional<std::uint32_t> attributes = services.facts->GetAttributes(path);
        const bool folder = attributes && (*attributes & kAttributeDirectory) != 0;
        result.Assign(BoolToText(attributes && (testFile ? !folder : folder)));
    });
}

void GetFileVersionStatement(StatementContext& statement, const FileStatementServices& services)
{
    WithoutRedirection(statement, services, [&] {
        const std::string path = ExpandedNormalizedParam(statement, 1);
        const ResultVariable result(statement, RawParam(statement, 2));
        result.Assign(FileVersionText(services.facts->GetFileVersionParts(path)));
    });
}

void CheckFileVersionStatement(StatementContext& statement, const FileStatementServices& services)
{
    WithoutRedirection(statement, services, [&] {
        const ResultVariable result(statement, RawParam(statement, 1));
        const FileVersion a =
            services.facts->GetFileVersionParts(ExpandedNormalizedParam(statement, 2));
        const FileVersion b =
            TextToBool(RawParam(statement, 3))
                ? services.facts->GetFileVersionParts(ExpandedNormalizedParam(statement, 4))
                : ParseFileVersionText(ExpandedParam(statement, 5));
        result.Assign(BoolToText(IsNewerVersion(a, b)));
    });
}

void GetTemporaryFileStatement(StatementContext& statement, const FileStatementServices& services)
{
    WithoutRedirection(statement, services, [&] {
        const ResultVariable result(statement, RawParam(statement, 1));
        result.Assign(
            services.facts->CreateTempFile(statement.Engine().process.tempDir, kTempFilePrefix));
    });
}

void FindAllFilesStatement(StatementContext& statement, const FileStatementServices& services)
{
    WithoutRedirection(statement, services, [&] {
        const std::string resultName = RawParam(statement, 4);
        const FindAllFilesRequest request{
            ExpandedNormalizedParam(statement, 1), TextToBool(RawParam(statement, 2)),
            TextToBool(RawParam(statement, 3)), &statement.Engine().Parts.Get<SearchProgress>(),
            &statement.Vars()};
        std::vector<std::string> found;
        {
            const WorkerBusyScope busy(statement.Engine().Parts.Get<WorkerFlags>());
            IUserInterface& ui = statement.Host().ui;
            found = services.worker->Run(*services.fs, request, [&ui] { return ui.CheckCancel(); });
        }
        ResultVariable(statement, resultName).Assign(JoinFoundPaths(found));
    });
}

void DeleteFilesRecursiveStatement(StatementContext& statement,
                                   const FileStatementServices& services)
{
    WithoutRedirection(statement, services,
                       [&] { DeleteFilesRecursive(*services.fs, NormalizedParam(statement, 1)); });
}

void RegisterFileStatements(StatementHandlerTable& table, const FileStatementServices& services)
{
    const auto bind = [&services](void (*body)(StatementContext&, const FileStatementServices&)) {
        return [services, body](StatementContext& statement) { body(statement, services); };
    };
    table.Register("Does File/Folder Exist", bind(DoesFileFolderExistStatement));
    table.Register("Get File Version", bind(GetFileVersionStatement));
    table.Register("Check File Version", bind(CheckFileVersionStatement));
    table.Register("Get Temporary File", bind(GetTemporaryFileStatement));
    table.Register("Find All Files", bind(FindAllFilesStatement));
    table.Register("Delete Files Recursive", bind(DeleteFilesRecursiveStatement));
}

}  // namespace setup::engine
