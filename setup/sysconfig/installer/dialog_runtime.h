// What the install bridge needs of the wizard's dialog runtime: the page shown now, the user's
// cancel, the worker-busy flag that makes the page's timer show the thread-progress variables,
// and the page-driven start of the install thread. The dialog runtime implements it.
#pragma once

#include <cstdint>
#include <string>

namespace setup::sysconfig::installer {

class IInstallerDialogRuntime
{
public:
    virtual ~IInstallerDialogRuntime() = default;
    // -1 once the user asked to cancel, else 1.
    virtual int CheckCancel() = 0;
    virtual std::string GetActiveDialogName() = 0;
    // The window of the loaded wizard dialog of that key; 0 when none is loaded.
    virtual std::uintptr_t FindDialogWindow(const std::string& key) = 0;
    virtual void SetWorkerBusy(bool busy) = 0;
    // A wizard page is on screen.
    virtual bool HasActivePage() = 0;
    // Lets the active page's timer start the install thread (start) or stops that (!start); in
    // silent mode starting creates the thread and waits for its end.
    virtual void StartInstallThread(bool start) = 0;
};

// No page: no owner window, no cancel. What a run without a dialog runtime sees.
class NoDialogRuntime final : public IInstallerDialogRuntime
{
public:
    int CheckCancel() override { return 1; }
    std::string GetActiveDialogName() override { return {}; }
    std::uintptr_t FindDialogWindow(const std::string&) override { return 0; }
    void SetWorkerBusy(bool) override {}
    bool HasActivePage() override { return false; }
    void StartInstallThread(bool) override {}
};

}  // namespace setup::sysconfig::installer
