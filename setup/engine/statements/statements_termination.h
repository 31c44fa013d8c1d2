// "Terminate Install", "Terminate with Exit Code", "Reboot Computer" and "Reboot and Resume": each
// is the last statement of the script; the restart itself goes through a narrow interface so that
// nothing but Windows' own implementation can ever ask for one.
#pragma once

#include <cstdint>
#include <string>

#include "setup/engine/interpreter/interpreter_statements.h"

namespace setup::engine {

inline constexpr std::uint32_t kExitWindowsReboot = 2;  // EWX_REBOOT

class IRestartServices
{
public:
    virtual ~IRestartServices() = default;
    // Writes a string value of "SOFTWARE\Microsoft\Windows\CurrentVersion\Run\" under the machine
    // or the user hive, creating the key when missing; raises when it cannot.
    virtual void WriteRunValue(bool machineHive, const std::string& name,
                               const std::string& data) = 0;
    // Enables the shutdown privilege where the system has one, then asks Windows to end the
    // session with the flags; false when Windows refused.
    virtual bool ShutdownWithPrivilege(std::uint32_t flags) = 0;
};

// The command that runs the setup again after a restart: the self-extracting package when one
// started the setup, else the setup program, then a blank and the command line when there is one.
std::string ResumeCommand(const std::string& sfxPath, const std::string& exeFile,
                          const std::string& commandLine);

void RegisterTerminationStatements(StatementHandlerTable& table, IRestartServices& restart);

}  // namespace setup::engine
