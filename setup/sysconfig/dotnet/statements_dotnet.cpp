#include "setup/sysconfig/dotnet/statements_dotnet.h"

#include <optional>

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/script/variables.h"

namespace setup::sysconfig::dotnet {

namespace {

using engine::StatementContext;

// The file-system redirection of a 64-bit target off while the statement runs.
engine::OptionalFsRedirectionScope NoRedirection(StatementContext& statement,
                                                 const DotNetStatementServices& services)
{
    return {services.wow64, statement.Engine().TargetPlatform};
}

// "path|flag" with the flag "TRUE" when no "|" follows the path.
std::pair<std::string, bool> PathAndFlag(const std::string& text)
{
    const std::size_t bar = text.find('|');
    if (bar == std::string::npos)
        return {text, true};
    return {text.substr(0, bar), engine::TextToBool(text.substr(bar + 1))};
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

const std::string& WindowsDir(StatementContext& statement)
{
    return statement.Engine().process.windowsDir;
}

void GenerateNativeImages(StatementContext& statement, const DotNetStatementServices& services)
{
    const auto redirection = NoRedirection(statement, services);
    const auto [path, install] = PathAndFlag(engine::ExpandedParam(statement, 1));
    RunWithFallback(*services.system, WindowsDir(statement), "ngen.exe",
                    (install ? "install " : "uninstall ") + Quoted(path),
                    (install ? " " : "/delete ") + Quoted(path), FolderOf(path));
}

void RunInstallerClass(StatementContext& statement, const DotNetStatementServices& services)
{
    const auto redirection = NoRedirection(statement, services);
    const std::string path = engine::ExpandedParam(statement, 1);
    const bool install = engine::TextToBool(engine::ExpandedParam(statement, 2));
    const std::string parameters = (install ? " " : "/u ") + Quoted(path);
    RunWithFallback(*services.system, WindowsDir(statement), "installutil.exe", parameters,
                    parameters, FolderOf(path));
}

void RegisterAssembly(StatementContext& statement, const DotNetStatementServices& services)
{
    const auto redirection = NoRedirection(statement, services);
    auto [path, registering] = PathAndFlag(engine::ExpandedParam(statement, 1));
    if (FolderOf(path).empty())  // a strong name
        path = ResolveStrongName(*services.system, WindowsDir(statement), path);
    const std::string parameters =
        std::string(registering ? "/tlb " : "/tlb /unregister ") + Quoted(path) + " /silent";
    RunWithFallback(*services.system, WindowsDir(statement), "regasm.exe", parameters, parameters,
                    FolderOf(path));
}

void RemoveAssembliesStatement(StatementContext& statement, const DotNetStatementServices& services)
{
    const auto redirection = NoRedirection(statement, services);
    std::string supportDir = statement.Vars().Get("SUPPORTDIR");
    if (supportDir.empty() || supportDir.back() != '\\')
        supportDir += '\\';
    const std::string package = statement.Vars().Get("MSIFILE");
    const std::string tool = services.system->WriteAssemblyCacheTool(supportDir);
    if (RemoveAssemblies(*services.system, package, tool) != 0)
        RemoveAssemblies(*services.system, package,
                         FrameworkTool(WindowsDir(statement), kFramework11, "gacutil.exe"));
}

}  // namespace

void RegisterDotNetStatements(engine::StatementHandlerTable& table,
                              const DotNetStatementServices& services)
{
    table.Register("Generate Native Images",
                   [services](StatementContext& s) { GenerateNativeImages(s, services); });
    table.Register("Run .NET Installer Class",
                   [services](StatementContext& s) { RunInstallerClass(s, services); });
    table.Register("Register Assembly",
                   [services](StatementContext& s) { RegisterAssembly(s, services); });
    table.Register("Remove Assemblies",
                   [services](StatementContext& s) { RemoveAssembliesStatement(s, services); });
}

}  // namespace setup::sysconfig::dotnet
