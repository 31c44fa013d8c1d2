// The unit-level state that the install thread shares with the message handler: one install
// runs at a time, so there is one of each.
#pragma once

#include <string>

#include "setup/sysconfig/installer/progress_handler.h"

namespace setup::sysconfig::installer {

ProgressState& HandlerProgress();
HandlerSession& HandlerSessionState();
// The dots after "Windows Installer" while another install blocks; empty at each run's start.
std::string& BusyDots();
IInstallerPrompt& SystemPrompt();

}  // namespace setup::sysconfig::installer
