// "Get System Settings", "Get OS or SP Level", "Get Folder Location" and "Check Disk Space": the
// numbered questions about the target machine, answered from the system facts, the registry and
// a narrow set of machine queries.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/statements/statements_registry.h"
#include "setup/engine/system/system_facts.h"

namespace setup::engine {

using FileVersionFields = std::array<std::uint32_t, 4>;  // major.minor.release.build

struct SystemLanguage
{
    std::uint32_t id = 0;
    std::string name;
};

struct DiskSpace
{
    std::uint64_t freeToCaller = 0;
    std::uint64_t total = 0;
};

// Everything else the statements ask Windows, one call each.
class IMachineQueries
{
public:
    virtual ~IMachineQueries() = default;
    // Without a trailing '\'.
    virtual std::string SystemFolder() = 0;
    // The empty text unless Windows gives a path of 1 to 260 characters.
    virtual std::string Wow64SystemFolder() = 0;
    virtual std::string WindowsFolder() = 0;
    // None when the file has no version resource (or does not exist).
    virtual std::optional<FileVersionFields> FileVersion(const std::string& path) = 0;
    // The first translation of the system's "winver.exe"; none when it cannot be read.
    virtual std::optional<SystemLanguage> GetSystemLanguage() = 0;
    virtual std::string ComputerName() = 0;
    // The account name (user flag set) or its domain; empty on any failure.
    virtual std::string LogonUserOrDomain(bool user) = 0;
    virtual int SystemMetric(int index) = 0;
    virtual bool IsVmware() = 0;
    virtual bool IsVirtualPc() = 0;
    virtual std::string IISAnonymousUser() = 0;
    // The path of a special folder through its item list; empty when the shell has none.
    virtual std::string ShellFolder(int csidl) = 0;
    // The same through the older folder library; empty when it fails.
    virtual std::string ShellFolderFallback(int csidl) = 0;
    // The drive type of "X:\".
    virtual std::uint32_t DriveType(char letter) = 0;
    virtual std::optional<DiskSpace> GetDiskSpace(const std::string& path) = 0;
};

struct SystemInfoServices
{
    ISystemFacts* facts = nullptr;
    IMachineQueries* machine = nullptr;
    IRegistry* registry = nullptr;
    IWow64Services* wow64 = nullptr;
    IProcessEnvironment* environment = nullptr;
    // The registry view the answers read with: the run's, as the statement set it.
    std::uint32_t registryView = 0;
};

inline constexpr std::uint32_t kDriveCdrom = 5;
inline constexpr int kSmTabletPc = 86;
inline constexpr int kSmMediaCenter = 87;

// A text value of the registry; a missing key or value or a value that is not text reads empty.
std::string ReadRegistryText(IRegistry& registry, int root, const std::string& keyPath,
                             const std::string& valueName, std::uint32_t view);

// The answer to setting 0-77; none for any other number. Reads the registry in the current view.
std::optional<std::string> SystemSetting(int number, const SystemInfoServices& services);
// Folder 0-27 with a trailing '\' (or empty); none for any other number.
std::optional<std::string> FolderLocation(int number, bool allUsers,
                                          const SystemInfoServices& services,
                                          const std::string& targetPlatform);
// A special folder by its number, with a trailing '\' (or empty).
std::string GetFolderPath(int csidl, const SystemInfoServices& services);
std::string GetFirstCdromDrive(IMachineQueries& machine);

void RegisterSystemInfoStatements(StatementHandlerTable& table, const SystemInfoServices& services);

}  // namespace setup::engine
