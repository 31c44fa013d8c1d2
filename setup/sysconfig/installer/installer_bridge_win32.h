// One run's Windows Installer bridge: what the engine tells it, the properties statements queue,
// the package's new-instance data and the install under way (its parameter block, thread,
// outcome and what the message handler keeps). The run's owner makes it and hands it on.
#pragma once

#include <memory>
#include <string>

#include "setup/sysconfig/installer/install_outcome.h"
#include "setup/sysconfig/installer/msi_thread_win32.h"
#include "setup/sysconfig/installer/package_edits_win32.h"
#include "setup/sysconfig/installer/progress_handler.h"
#include "setup/sysconfig/installer/thread_progress.h"
#include "setup/sysconfig/property_queue.h"

namespace setup::sysconfig::installer {

// What Windows Installer's external handler works with: its context pointer points here.
struct InstallerMessageContext
{
    ProgressState progress;  // kept from install to install until the next reset record
    HandlerSession session;
    ProgressCallback publish;  // into the run's report; set when an install starts
};

struct InstallerBridge
{
    InstallerSettings settings;
    MsiPropertyQueue properties;
    PackageInstanceState instance;
    // The install under way: the starter fills the block, the thread reads it and writes the
    // outcome, which is complete once TARQ_thFinished reads "TRUE".
    MsiRunParameters parameters;
    InstallOutcome outcome;
    InstallerMessageContext handler;
    // The dots after "Windows Installer" while another install blocks; empty at each start.
    std::string busyDots;
    // Last, so that it ends before the state it uses goes.
    std::unique_ptr<TMSIThread> thread;
};

}  // namespace setup::sysconfig::installer
