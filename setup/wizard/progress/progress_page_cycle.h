// One page's poll cycle: every tick of its 1-second timer either starts and watches the install
// thread handed to the page, or, while a statement waits for a worker, redraws the page's
// progress elements from the thread-progress variables.
#pragma once

namespace setup::wizard {

class IProgressPage;
class ProgressRuntime;

class ProgressPageCycle
{
public:
    ProgressPageCycle(ProgressRuntime& runtime, IProgressPage& page)
        : m_runtime(runtime), m_page(page)
    {}

    // The page's timer handler calls this on every tick.
    void OnTimer();

    // The next tick starts the install thread.
    void BeginInstall();
    // The next tick ends the polling until the next BeginInstall.
    void StopPolling() { m_stopPolling = true; }
    // Set when the page is shown with the installer to start.
    void SetInstallMode(bool installMode) { m_installMode = installMode; }

    bool InstallMode() const { return m_installMode; }
    bool InstallerStarted() const { return m_installerStarted; }
    bool PollingStopped() const { return m_stopPolling; }

private:
    ProgressRuntime& m_runtime;
    IProgressPage& m_page;
    bool m_installMode = false;
    bool m_installerStarted = false;
    bool m_stopPolling = false;
};

}  // namespace setup::wizard
