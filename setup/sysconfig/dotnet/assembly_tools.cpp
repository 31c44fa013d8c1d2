#include "setup/sysconfig/dotnet/assembly_tools.h"

namespace setup::sysconfig::dotnet {

namespace {

// The text after the key up to the next comma, blanks around it dropped.
std::string FieldAfter(const std::string& text, const std::string& key, bool toNextComma)
{
    const std::size_t at = text.find(key);
    if (at == std::string::npos)
        return {};
    std::string value = text.substr(at + key.size());
    if (toNextComma)
        value = value.substr(0, value.find(','));
    const std::size_t first = value.find_first_not_of(' ');
    const std::size_t last = value.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
}

}  // namespace

std::string FrameworkTool(const std::string& windowsDir, const std::string& version,
                          const std::string& tool)
{
    return windowsDir + "Microsoft.NET\\Framework\\" + version + "\\" + tool;
}

std::string StrongNameCachePath(const std::string& strongName)
{
    std::string name = strongName.substr(0, strongName.find(','));
    const std::size_t last = name.find_last_not_of(' ');
    name.erase(last == std::string::npos ? 0 : last + 1);
    const std::string version = FieldAfter(strongName, "Version=", true);
    const std::string token = FieldAfter(strongName, "PublicKeyToken=", false);
    return name + "\\" + version + "__" + token + "\\" + name + ".dll";
}

std::string ResolveStrongName(IDotNetSystem& system, const std::string& windowsDir,
                              const std::string& strongName)
{
    const std::string relative = StrongNameCachePath(strongName);
    for (const char* cache : {"GAC_MSIL\\", "GAC_32\\", "GAC_64\\", "GAC\\"}) {
        const std::string candidate = windowsDir + "assembly\\" + cache + relative;
        if (system.FileExists(candidate))
            return candidate;
    }
    return strongName;
}

int RemoveAssemblies(IDotNetSystem& system, const std::string& package, const std::string& tool)
{
    const std::optional<PackageAssemblies> assemblies = system.ReadPackageAssemblies(package);
    if (!assemblies || assemblies->names.size() != assemblies->versions.size())
        return 0;
    const std::string folder = tool.substr(0, tool.find_last_of('\\') + 1);
    int exitCode = 0;
    for (std::size_t i = 0; i < assemblies->names.size(); ++i)
        exitCode = system.RunProgram(
            tool, "/u " + assemblies->names[i] + ",Version=" + assemblies->versions[i], folder);
    return exitCode;
}

int RunWithFallback(IDotNetSystem& system, const std::string& windowsDir, const std::string& tool,
                    const std::string& parameters, const std::string& fallbackParameters,
                    const std::string& folder)
{
    const int exitCode =
        system.RunProgram(FrameworkTool(windowsDir, kFramework2, tool), parameters, folder);
    if (exitCode == 0)
        return 0;
    return system.RunProgram(FrameworkTool(windowsDir, kFramework11, tool), fallbackParameters,
                             folder);
}

}  // namespace setup::sysconfig::dotnet
