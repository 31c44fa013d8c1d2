// The run's progress display: publishing thread progress from any thread, redrawing the active
// page's progress elements from it, the user's cancel, and handing the install thread to the page
// on screen. Everything but SetThreadProgress runs on the GUI thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "setup/engine/script/variables.h"
#include "setup/engine/workers/worker_protocol.h"
#include "setup/wizard/progress/progress_page.h"

namespace setup::wizard {

struct ProgressEnvironment
{
    engine::ScriptVariables& variables;
    // The busy flag of waiting statements and the cancel flag the page's cancel sets.
    engine::WorkerFlags& flags;
    IProgressPages& pages;
    IInstallThread& installer;
    // Windows XP or later: progress bars animate a marquee themselves.
    bool xpOrLater = true;
};

class ProgressRuntime
{
public:
    explicit ProgressRuntime(const ProgressEnvironment& environment) : m_env(environment) {}

    engine::ScriptVariables& Variables() { return m_env.variables; }
    engine::WorkerFlags& Flags() { return m_env.flags; }
    IInstallThread& Installer() { return m_env.installer; }

    // Callable from any thread.
    void SetThreadProgress(std::string_view text, std::int64_t position, std::int64_t max,
                           std::int64_t min);
    // Redraws the active page from the given progress ("$TARQ$": from the variables); with
    // writeCancelled, first records the cancel flag in TARQ_thCancelled. Returns the cancel flag
    // as it was on entry.
    bool UpdateProgressDialog(std::string_view text, bool writeCancelled, std::int64_t position,
                              std::int64_t max, std::int64_t min);
    // -1 once the user cancelled, else 1.
    int CheckCancel() const { return engine::CheckCancel(m_env.flags); }
    // Lets the active page's timer start the install thread (start) or ends its polling; silent
    // runs start the thread and wait for it here.
    void StartInstallThread(bool start);
    // The page under the key; null when none.
    IProgressPage* FindPage(const std::string& key) { return m_env.pages.FindPage(key); }
    IProgressPage* ActivePage();
    std::string ActiveDialogName() { return m_env.pages.ActiveDialogName(); }

private:
    struct Progress
    {
        std::string text;
        std::optional<std::int64_t> position;
        std::optional<std::int64_t> max;
        std::optional<std::int64_t> min;
    };
    void Refresh(IProgressPage& page, const Progress& progress);
    void RefreshBar(ui::TControl& bar, const Progress& progress);
    void RefreshGauge(ui::TControl& gauge, const Progress& progress);

    ProgressEnvironment m_env;
    int m_marqueeTick = 0;
};

}  // namespace setup::wizard
