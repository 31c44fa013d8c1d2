#include "setup/sysconfig/security/statements_shares.h"

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/script/path_text.h"
#include "setup/sysconfig/security/share.h"

namespace setup::sysconfig::security {

namespace {

using engine::StatementContext;

// Expanded, translated under the index when a language is chosen, then normalised as a path.
std::string ReadParam(StatementContext& statement, int n, int translationIndex)
{
    std::string value = engine::ExpandedParam(statement, n);
    if (translationIndex > 0)
        value = engine::LocalizeExpanded(statement, value, statement.Key(), translationIndex);
    return statement.Vars().NormalizePath(value);
}

void CreateShare(StatementContext& statement, const ShareStatementServices& services)
{
    const engine::FsRedirectionScope redirection(*services.wow64,
                                                 statement.Engine().TargetPlatform);
    const auto [path, server] = engine::SplitAtFirst(ReadParam(statement, 1, 0), "|");
    const std::string netName = ReadParam(statement, 2, 1);
    const std::string remark = ReadParam(statement, 3, 2);
    SecurityContext context(*services.security);
    NewShareObject(context, *services.shares, services.widen(path), services.widen(netName),
                   services.widen(remark), 0xFF, std::wstring(), -1, services.widen(server));
}

void DeleteShare(StatementContext& statement, const ShareStatementServices& services)
{
    const engine::FsRedirectionScope redirection(*services.wow64,
                                                 statement.Engine().TargetPlatform);
    const auto [name, server] = engine::SplitAtFirst(ReadParam(statement, 1, 1), "|");
    SecurityContext context(*services.security);
    OpenShareObject(context, *services.shares, services.widen(name), services.widen(server))
        ->Delete();
}

}  // namespace

void RegisterShareStatements(engine::StatementHandlerTable& table,
                             const ShareStatementServices& services)
{
    table.Register("Create Share",
                   [services](StatementContext& statement) { CreateShare(statement, services); });
    table.Register("Delete Share",
                   [services](StatementContext& statement) { DeleteShare(statement, services); });
}

}  // namespace setup::sysconfig::security
