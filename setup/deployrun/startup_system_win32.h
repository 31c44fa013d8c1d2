// The Windows side of start-up: process facts, the data appended to images, the support folder,
// package copies and the trace log.
#pragma once

#include "setup/deployrun/startup_services.h"

namespace setup::deployrun {

class Win32StartupSystem final : public IStartupSystem
{
public:
    void SetProcessAffinity() override;
    std::string ProgramFile() override;
    std::string TempDir() override;
    std::string WindowsDir() override;
    std::vector<std::string> Arguments() override;
    std::string RawCommandLine() override;
    std::optional<std::string> LibraryOverlay(const std::string& libraryPath) override;
    std::string UserLanguageName() override;
    std::optional<std::string> ProgramOverlay() override;
    std::optional<std::string> ClaimSupportDir(const std::string& tempDir) override;
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    void CopyPackage(const std::string& source, const std::string& target) override;
    void RemoveSupportDir(const std::string& folder) override;
    void Trace(const std::string& path, const std::string& line) override;
};

}  // namespace setup::deployrun
