// The installer bridge's view of the wizard: the page on screen owns the installer's windows, its
// cancel button stops the install thread, and the busy flag lets the page's timer show progress.
#pragma once

#include "setup/sysconfig/installer/dialog_runtime.h"
#include "setup/wizard/dialog_runtime.h"

namespace setup::deployrun {

class WizardInstallerDialogs final : public sysconfig::installer::IInstallerDialogRuntime
{
public:
    explicit WizardInstallerDialogs(wizard::DialogRuntime& runtime) : m_runtime(runtime) {}

    int CheckCancel() override;
    std::string GetActiveDialogName() override { return m_runtime.activeDialogName; }
    std::uintptr_t FindDialogWindow(const std::string& key) override;
    void SetWorkerBusy(bool busy) override;
    bool HasActivePage() override { return m_runtime.activeDialog != nullptr; }
    // The page's timer cycle starts and watches the thread; a page without one leaves it alone.
    void StartInstallThread(bool) override {}

private:
    wizard::DialogRuntime& m_runtime;
};

}  // namespace setup::deployrun
