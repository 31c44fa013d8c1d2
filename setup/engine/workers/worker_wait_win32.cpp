#include "setup/engine/workers/worker_wait_win32.h"

#include <optional>

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/workers/worker_protocol.h"

namespace setup::engine {

void WaitForWorker(rtl::TThread* thread, bool silent)
{
    if (!silent) {
        // Woken by a message or by the thread's end, so a worker that fails before its
        // completion routine cannot leave the GUI thread waiting for a message that never comes.
        MSG message;
        const HANDLE handle = thread ? thread->Handle() : nullptr;
        if (handle && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) &&
            ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0)
            return;
        rtl::HandleMessage();
        return;
    }
    if (thread)
        thread->WaitFor();
}

void RunWorker(rtl::TThread& thread, WorkerFlags& flags, const std::function<bool()>& done,
               const WorkerWaitOptions& options)
{
    std::optional<WorkerBusyScope> busy;
    if (options.holdWorkerBusy)
        busy.emplace(flags);
    thread.Start();
    while (!done()) {
        WaitForWorker(&thread, options.silent);
        const int cancel = options.checkCancel ? options.checkCancel() : CheckCancel(flags);
        if (cancel == -1)
            thread.Terminate();
        // A worker that ended without reporting (it failed before its completion routine) is
        // waited for no longer.
        if (thread.Finished() && !done()) {
            rtl::CheckSynchronize();
            if (!done())
                break;
        }
    }
    thread.WaitFor();
}

void PublishScriptProgress(ScriptVariables& variables)
{
    const std::int32_t position = TextToInt32(variables.Get("PROGRESS"));
    SetThreadProgress(variables.Store(), variables.Get("PROGRESSTEXT"), position, 100, 0);
}

void WaitWithScriptProgress(ScriptVariables& variables, rtl::TThread& worker, WorkerFlags& flags,
                            const std::function<bool()>& done)
{
    const WorkerBusyScope busy(flags);
    while (!done()) {
        PublishScriptProgress(variables);
        WaitForWorker(&worker, variables.SilentMode);
    }
}

}  // namespace setup::engine
