#include "setup/sysconfig/dotnet/dotnet_system_win32.h"

#include "setup/engine/system/resource_file_win32.h"
#include "setup/sysconfig/installer/msi_api.h"

namespace setup::sysconfig::dotnet {

namespace {

using installer::MsiApi;
using installer::UniqueMsiHandle;

// Field 1 of every row; none when the query cannot be opened or run.
std::optional<std::vector<std::string>> FirstFields(MSIHANDLE database, const std::string& query)
{
    UniqueMsiHandle view;
    if (MsiApi().MsiDatabaseOpenViewA(database, query.c_str(), view.Put()) != ERROR_SUCCESS ||
        MsiApi().MsiViewExecute(view.Get(), 0) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<std::string> fields;
    UniqueMsiHandle row;
    while (MsiApi().MsiViewFetch(view.Get(), row.Put()) == ERROR_SUCCESS)
        fields.push_back(installer::RecordString(row.Get(), 1));
    MsiApi().MsiViewClose(view.Get());
    return fields;
}

}  // namespace

int Win32DotNetSystem::RunProgram(const std::string& program, const std::string& parameters,
                                  const std::string& folder)
{
    return m_runner(program, parameters, folder);
}

bool Win32DotNetSystem::FileExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string Win32DotNetSystem::WriteAssemblyCacheTool(const std::string& folder)
{
    const std::string tool = folder + "mgac.exe";
    engine::WriteResourceFile(m_resources, "MGAC", tool);
    engine::WriteResourceFile(m_resources, "MGACEX", tool + ".config");
    return tool;
}

std::optional<PackageAssemblies> Win32DotNetSystem::ReadPackageAssemblies(
    const std::string& package)
{
    UniqueMsiHandle database;
    if (MsiApi().MsiOpenDatabaseA(package.c_str(), nullptr /* read-only */, database.Put()) !=
        ERROR_SUCCESS)
        return std::nullopt;
    const auto components = FirstFields(database.Get(), "SELECT * FROM  `MsiAssembly`");
    if (!components)
        return std::nullopt;
    PackageAssemblies assemblies;
    for (const std::string& component : *components) {
        const std::string query = "SELECT `Value` FROM  `MsiAssemblyName` WHERE `Component_`='" +
                                  component + "' AND `Name`=";
        const auto names = FirstFields(database.Get(), query + "'Name'");
        const auto versions = FirstFields(database.Get(), query + "'Version'");
        if (!names || !versions)
            return std::nullopt;
        assemblies.names.insert(assemblies.names.end(), names->begin(), names->end());
        assemblies.versions.insert(assemblies.versions.end(), versions->begin(), versions->end());
    }
    return assemblies;
}

}  // namespace setup::sysconfig::dotnet
