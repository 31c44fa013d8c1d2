#include "setup/engine/worker_wait_win32.h"

#include <optional>

#include "setup/engine/command_line.h"
#include "setup/engine/worker_protocol.h"

namespace setup::engine {

void WaitForWorker(rtl::TThread* thread)
{
    WaitForWorker(thread, SilentMode);
}

void WaitForWorker(rtl::TThread* thread, bool silent)
{
    if (!silent) {
        rtl::HandleMessage();
        return;
    }
    if (thread)
        thread->WaitFor();
}

void RunWorker(rtl::TThread& thread, const std::function<bool()>& done,
               const WorkerWaitOptions& options)
{
    std::optional<WorkerBusyScope> busy;
    if (options.holdWorkerBusy)
        busy.emplace();
    thread.Start();
    while (!done()) {
        WaitForWorker(&thread, options.silent.value_or(SilentMode));
        const int cancel = options.checkCancel ? options.checkCancel() : CheckCancel();
        if (cancel == -1)
            thread.Terminate();
        // A worker that ended without reporting (it failed before its completion routine) must
        // not keep the GUI thread waiting for ever.
        if (thread.Finished() && !done()) {
            rtl::CheckSynchronize();
            if (!done())
                break;
        }
    }
    thread.WaitFor();
}

}  // namespace setup::engine
