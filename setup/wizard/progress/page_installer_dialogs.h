// The installer bridge's view of the wizard: the page on screen owns the installer's windows,
// its cancel stops the install and its poll timer starts and watches the install thread.
#pragma once

#include "setup/sysconfig/installer/dialog_runtime.h"
#include "setup/wizard/progress/progress_runtime.h"

namespace setup::wizard {

class PageInstallerDialogs final : public sysconfig::installer::IInstallerDialogRuntime
{
public:
    explicit PageInstallerDialogs(ProgressRuntime& runtime) : m_runtime(runtime) {}

    int CheckCancel() override { return m_runtime.CheckCancel(); }
    std::string GetActiveDialogName() override { return m_runtime.ActiveDialogName(); }
    std::uintptr_t FindDialogWindow(const std::string& key) override;
    void SetWorkerBusy(bool busy) override { m_runtime.Flags().busy = busy; }
    bool HasActivePage() override { return m_runtime.ActivePage() != nullptr; }
    void StartInstallThread(bool start) override { m_runtime.StartInstallThread(start); }

private:
    ProgressRuntime& m_runtime;
};

}  // namespace setup::wizard
