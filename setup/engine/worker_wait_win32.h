// How a statement waits for its worker: the WorkerBusy flag the progress page watches, the
// script's progress published as thread progress, and one wait step at a time.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "setup/engine/rtl/thread_win32.h"

namespace setup::engine {

// Set while a statement waits for a media, plug-in, program-launch or installer worker.
extern std::atomic<bool> WorkerBusy;

// One wait step: when silent, the worker's end (serving its completion routine); otherwise one
// window message, waiting for one when none is queued.
void WaitForWorker(rtl::TThread& worker);

// The script's PROGRESSTEXT and PROGRESS (a decimal number; anything else raises the conversion
// failure) as the thread progress, on the scale 0 to 100.
void PublishScriptProgress();

// Sets WorkerBusy, publishes the progress and waits step by step until the worker reports done;
// WorkerBusy is cleared again also when a step fails.
void WaitWithScriptProgress(rtl::TThread& worker, const std::function<bool()>& done);

}  // namespace setup::engine
