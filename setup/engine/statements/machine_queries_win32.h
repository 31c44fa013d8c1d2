// The machine queries of the system-information statements as Windows answers them.
#pragma once

#include "setup/engine/statements/statements_system_info.h"

namespace setup::engine {

class Win32MachineQueries final : public IMachineQueries
{
public:
    std::string SystemFolder() override;
    std::string Wow64SystemFolder() override;
    std::string WindowsFolder() override;
    std::optional<FileVersionFields> FileVersion(const std::string& path) override;
    std::optional<SystemLanguage> GetSystemLanguage() override;
    std::string ComputerName() override;
    std::string LogonUserOrDomain(bool user) override;
    int SystemMetric(int index) override;
    bool IsVmware() override;
    bool IsVirtualPc() override;
    std::string IISAnonymousUser() override;
    std::string ShellFolder(int csidl) override;
    std::string ShellFolderFallback(int csidl) override;
    std::uint32_t DriveType(char letter) override;
    std::optional<DiskSpace> GetDiskSpace(const std::string& path) override;
};

// The process's own services for the system-information statements.
SystemInfoServices Win32SystemInfoServices();

}  // namespace setup::engine
