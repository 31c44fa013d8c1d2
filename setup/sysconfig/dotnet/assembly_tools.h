// The .NET Framework's own tools as the script runs them: their paths and command lines, the
// assembly-cache folders a strong name is looked up in, and the removal of a package's assemblies
// from the global assembly cache. The tools and the package are reached through one interface.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace setup::sysconfig::dotnet {

inline constexpr char kFramework2[] = "v2.0.50727";
inline constexpr char kFramework11[] = "v1.1.4322";

// The names and versions a package lists for its assemblies, in the package's order.
struct PackageAssemblies
{
    std::vector<std::string> names;
    std::vector<std::string> versions;
};

class IDotNetSystem
{
public:
    virtual ~IDotNetSystem() = default;
    // Hidden, waited for; the exit code, -1 when the program cannot be started.
    virtual int RunProgram(const std::string& program, const std::string& parameters,
                           const std::string& folder) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // The carried assembly-cache tool and its configuration written into the folder (with its
    // trailing backslash); the tool's path. Raises when they cannot be written.
    virtual std::string WriteAssemblyCacheTool(const std::string& folder) = 0;
    // None when the package or one of its queries cannot be opened.
    virtual std::optional<PackageAssemblies> ReadPackageAssemblies(const std::string& package) = 0;
};

// The Windows folder (with its trailing backslash) + "Microsoft.NET\Framework\" + version + "\" +
// the tool's file name.
std::string FrameworkTool(const std::string& windowsDir, const std::string& version,
                          const std::string& tool);

// The file of a strong name ("Name, Version=1.0.0.0, Culture=neutral, PublicKeyToken=abc") in the
// first cache folder that holds it; the strong name itself when none does.
std::string ResolveStrongName(IDotNetSystem& system, const std::string& windowsDir,
                              const std::string& strongName);
// The cache-relative path of a strong name: name\version__token\name.dll.
std::string StrongNameCachePath(const std::string& strongName);

// Each assembly removed with "/u name,Version=version"; the last exit code, 0 when nothing ran.
int RemoveAssemblies(IDotNetSystem& system, const std::string& package, const std::string& tool);

// The tool of version 2.0 with the parameters, and when it answers anything but 0 the tool of
// version 1.1 with its own; the working folder is the assembly's.
int RunWithFallback(IDotNetSystem& system, const std::string& windowsDir, const std::string& tool,
                    const std::string& parameters, const std::string& fallbackParameters,
                    const std::string& folder);

}  // namespace setup::sysconfig::dotnet
