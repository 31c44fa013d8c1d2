#include "setup/wizard/pool_watchdog.h"

#include <utility>

#include "setup/wizard/dialog_runtime.h"
#include "setup/wizard/image_list_pool.h"

namespace setup::wizard {

namespace {

WatchedWorker PoolTimerOf(engine::MediaWorkerKind kind)
{
    switch (kind) {
    case engine::MediaWorkerKind::Extraction:
        return WatchedWorker::Extraction;
    case engine::MediaWorkerKind::Download:
        return WatchedWorker::Download;
    case engine::MediaWorkerKind::Copy:
        break;
    }
    return WatchedWorker::Copy;
}

}  // namespace

PoolWorkerWatchdog::PoolWorkerWatchdog(DialogRuntime& runtime, engine::IWorkerWatchdog& withoutPool)
    : m_runtime(runtime), m_withoutPool(withoutPool)
{
}

void PoolWorkerWatchdog::Enable(engine::MediaWorkerKind kind, std::function<void()> end)
{
    if (TImageListPool* pool = m_runtime.imageListPool.get())
        pool->ArmWatchdog(PoolTimerOf(kind), std::move(end));
    else
        m_withoutPool.Enable(kind, std::move(end));
}

void PoolWorkerWatchdog::Disable(engine::MediaWorkerKind kind)
{
    // Both: the pool may have come or gone since the watchdog was enabled.
    if (TImageListPool* pool = m_runtime.imageListPool.get())
        pool->DisarmWatchdog(PoolTimerOf(kind));
    m_withoutPool.Disable(kind);
}

}  // namespace setup::wizard
