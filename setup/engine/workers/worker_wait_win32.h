// Waiting for a worker thread on the GUI thread: one wait step, and the whole start-and-wait loop
// that every worker statement runs (plug-ins, program launches, file searches, media, installer).
#pragma once

#include <functional>

#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/workers/worker_protocol.h"

namespace setup::engine {

// One wait step. Not silent: one window message handled (waiting for one when none is queued).
// Silent: the thread is waited for to its end, its completion routines served meanwhile; with
// no thread, nothing.
void WaitForWorker(rtl::TThread* thread, bool silent);

struct WorkerWaitOptions
{
    // Statements that start a media, plug-in, program-launch or installer worker hold the busy
    // flag while they wait, so the page on screen refreshes its progress.
    bool holdWorkerBusy = true;
    // -1 asks the worker to terminate; it keeps running until it notices. Defaults to the flags'
    // CheckCancel.
    std::function<int()> checkCancel;
    // The run's silent mode.
    bool silent = false;
};

// Starts the worker and waits, step by step, until its completion routine reported done; then
// until the thread itself has ended. done is read on the GUI thread only.
void RunWorker(rtl::TThread& thread, WorkerFlags& flags, const std::function<bool()>& done,
               const WorkerWaitOptions& options = {});

// The script's PROGRESSTEXT and PROGRESS (a decimal number; anything else raises the conversion
// failure) as the thread progress, on the scale 0 to 100.
void PublishScriptProgress(ScriptVariables& variables);

// For a worker started by the caller: holds the busy flag, publishes the script's progress and
// waits step by step (silent or not as the run's silent mode stands at each step) until the worker
// reports done; the flag is cleared again also when a step fails.
void WaitWithScriptProgress(ScriptVariables& variables, rtl::TThread& worker, WorkerFlags& flags,
                            const std::function<bool()>& done);

}  // namespace setup::engine
