#include "setup/wizard/progress/bridge_install_thread_win32.h"

#include "setup/engine/workers/worker_wait_win32.h"
#include "setup/sysconfig/installer/msi_thread_win32.h"

namespace setup::wizard {

void BridgeInstallThread::SetProgressWindow(std::uintptr_t window)
{
    m_bridge.parameters.ownerWindow = window;
}

void BridgeInstallThread::Start()
{
    sysconfig::installer::StartMSIThread(m_bridge);
}

void BridgeInstallThread::RunToEnd()
{
    sysconfig::installer::StartMSIThread(m_bridge);
    // The silent wait serves what the thread hands to the GUI thread until it has ended.
    engine::WaitForWorker(m_bridge.thread.get(), true);
}

}  // namespace setup::wizard
