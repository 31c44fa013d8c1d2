// Windows' side of the .NET statements: the tools started through the given runner, the carried
// assembly-cache tool written from the program's resources "MGAC" and "MGACEX", and the package's
// assembly tables read through Windows Installer.
#pragma once

#include <windows.h>

#include <functional>

#include "setup/sysconfig/dotnet/assembly_tools.h"

namespace setup::sysconfig::dotnet {

using ProgramRunner = std::function<int(const std::string& program, const std::string& parameters,
                                        const std::string& folder)>;

class Win32DotNetSystem : public IDotNetSystem
{
public:
    // The module whose resources carry the tool; null is the program itself.
    explicit Win32DotNetSystem(ProgramRunner runner, HMODULE resources = nullptr)
        : m_runner(std::move(runner)), m_resources(resources)
    {}

    int RunProgram(const std::string& program, const std::string& parameters,
                   const std::string& folder) override;
    bool FileExists(const std::string& path) override;
    std::string WriteAssemblyCacheTool(const std::string& folder) override;
    std::optional<PackageAssemblies> ReadPackageAssemblies(const std::string& package) override;

private:
    ProgramRunner m_runner;
    HMODULE m_resources;
};

}  // namespace setup::sysconfig::dotnet
