#include "setup/wizard/progress/progress_page_cycle.h"

#include "setup/ui/form.h"
#include "setup/ui/timer.h"
#include "setup/wizard/progress/progress_runtime.h"

namespace setup::wizard {

namespace {

// A modal page returns this code once the install thread it started has finished.
constexpr int kInstallerFinished = 1;

}  // namespace

void ProgressPageCycle::BeginInstall()
{
    m_installerStarted = false;
    m_stopPolling = false;
    m_installMode = true;
    m_page.PollTimer().SetEnabled(true);
}

void ProgressPageCycle::OnTimer()
{
    ui::TTimer& timer = m_page.PollTimer();
    timer.SetEnabled(false);
    if (m_stopPolling) {
        m_stopPolling = false;
        return;
    }
    engine::TVariableManager& store = m_runtime.Variables().Store();
    if (m_installMode) {
        if (m_installerStarted) {
            if (m_page.Form().WindowState() != ui::TWindowState::wsMinimized)
                m_runtime.UpdateProgressDialog(engine::kKeepProgress, true, 0, 0, 0);
            if (store.GetValue("TARQ_thFinished") == "TRUE")
                m_page.SetResultCode(kInstallerFinished);
        } else {
            m_installerStarted = true;
            store.SetValue("TARQ_thCancelled", "FALSE");
            store.SetValue("TARQ_thFinished", "FALSE");
            m_runtime.Installer().Start();
        }
    } else if (m_runtime.Flags().busy) {
        m_runtime.UpdateProgressDialog(engine::kKeepProgress, true, 0, 0, 0);
    }
    timer.SetEnabled(true);
}

}  // namespace setup::wizard
