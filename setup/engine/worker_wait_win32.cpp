#include "setup/engine/worker_wait_win32.h"

#include "core/scope_guard.h"
#include "setup/engine/command_line.h"
#include "setup/engine/statements_support.h"
#include "setup/engine/variables.h"

namespace setup::engine {

std::atomic<bool> WorkerBusy{false};

namespace {

constexpr std::string_view kProgressContext = "Thread Progress";

}  // namespace

void WaitForWorker(rtl::TThread& worker)
{
    if (SilentMode)
        worker.WaitFor();
    else
        rtl::HandleMessage();
}

void PublishScriptProgress()
{
    const std::int32_t position = TextToInt32(GetVariable("PROGRESS"));
    SetVariable("TARQ_thProgressText", GetVariable("PROGRESSTEXT"), kProgressContext);
    SetVariable("TARQ_thProgress", std::to_string(position), kProgressContext);
    SetVariable("TARQ_thMax", "100", kProgressContext);
    SetVariable("TARQ_thMin", "0", kProgressContext);
}

void WaitWithScriptProgress(rtl::TThread& worker, const std::function<bool()>& done)
{
    WorkerBusy = true;
    const auto clear = core::MakeScopeGuard([] { WorkerBusy = false; });
    while (!done()) {
        PublishScriptProgress();
        WaitForWorker(worker);
    }
}

}  // namespace setup::engine
