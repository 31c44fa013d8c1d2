// The media workers' watchdogs as the page pool's three timers. Before the pool exists (or after
// it is freed) another watchdog stands in, so a cancelled worker is never left without one.
#pragma once

#include "setup/engine/media/worker_watchdog.h"

namespace setup::wizard {

class DialogRuntime;

class PoolWorkerWatchdog final : public engine::IWorkerWatchdog
{
public:
    PoolWorkerWatchdog(DialogRuntime& runtime, engine::IWorkerWatchdog& withoutPool);

    void Enable(engine::MediaWorkerKind kind, std::function<void()> end) override;
    void Disable(engine::MediaWorkerKind kind) override;

private:
    DialogRuntime& m_runtime;
    engine::IWorkerWatchdog& m_withoutPool;
};

}  // namespace setup::wizard
