// The Windows side of the process and service statements: the tool-help process snapshot, the
// service control manager and the top-level window walk.
#pragma once

#include "setup/engine/statements/statements_processes.h"

namespace setup::engine {

class Win32ProcessServices final : public IProcessServices
{
public:
    std::vector<std::string> RunningProcessNames() override;
    int GetServiceState(const std::string& computer, const std::string& service) override;
    std::vector<TopLevelWindow> TopLevelWindows() override;
    void PostCloseMessages(std::uintptr_t window) override;
};

// The process's own services.
IProcessServices& Win32Processes();

}  // namespace setup::engine
