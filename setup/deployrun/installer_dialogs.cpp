#include "setup/deployrun/installer_dialogs.h"

#include "setup/engine/workers/worker_protocol.h"
#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/pool_template.h"

namespace setup::deployrun {

int WizardInstallerDialogs::CheckCancel()
{
    return m_runtime.CancelFlag() ? -1 : 1;
}

std::uintptr_t WizardInstallerDialogs::FindDialogWindow(const std::string& key)
{
    const wizard::TPoolTemplate* page = wizard::FindDialog(m_runtime, key);
    return page && page->Peer() ? page->Peer()->Handle() : 0;
}

void WizardInstallerDialogs::SetWorkerBusy(bool busy)
{
    m_runtime.engine.Parts.Get<engine::WorkerFlags>().busy = busy;
}

}  // namespace setup::deployrun
