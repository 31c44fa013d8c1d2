// Windows' own restart: the Run key of the resume entry and ExitWindowsEx with the shutdown
// privilege. Only the setup program wires it in; tests record the calls instead.
#pragma once

#include "setup/engine/statements/statements_termination.h"

namespace setup::engine {

class Win32RestartServices : public IRestartServices
{
public:
    void WriteRunValue(bool machineHive, const std::string& name, const std::string& data) override;
    bool ShutdownWithPrivilege(std::uint32_t flags) override;
};

IRestartServices& ProcessRestartServices();

}  // namespace setup::engine
