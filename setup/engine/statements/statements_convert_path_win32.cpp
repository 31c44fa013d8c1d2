#include "setup/engine/statements/statements_convert_path_win32.h"

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/system/file_utils_win32.h"

namespace setup::engine {

void ConvertPathStatement(StatementContext& statement, IWow64Services& wow64)
{
    const FsRedirectionScope redirection(wow64, statement.Engine().TargetPlatform);
    const ResultVariable result(statement, RawParam(statement, 1));
    const std::string value = statement.Vars().NormalizePath(statement.Vars().Get(result.Name()));
    result.Assign(TextToBool(RawParam(statement, 2)) ? GetShortPath(value) : GetLongPath(value));
}

void RegisterConvertPathStatement(StatementHandlerTable& table, IWow64Services& wow64)
{
    table.Register("Convert Path",
                   [&wow64](StatementContext& s) { ConvertPathStatement(s, wow64); });
}

}  // namespace setup::engine
