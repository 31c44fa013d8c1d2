// The watchdogs of the media workers: a worker asked to end that has not ended some time later is
// ended by force. The page pool has timers for them; without the pool a default one serves.
#pragma once

#include <functional>

namespace setup::engine {

enum class MediaWorkerKind
{
    Copy,
    Download,
    Extraction,
};

inline constexpr unsigned kWorkerWatchdogMs = 15000;

class IWorkerWatchdog
{
public:
    virtual ~IWorkerWatchdog() = default;
    // `end` runs once, on the GUI thread, `kWorkerWatchdogMs` later unless disabled first; enabling
    // an armed kind starts it again.
    virtual void Enable(MediaWorkerKind kind, std::function<void()> end) = 0;
    virtual void Disable(MediaWorkerKind kind) = 0;
};

// The run's watchdog when the page pool provides one (engine.Parts.Get<WorkerWatchdogSlot>()).
struct WorkerWatchdogSlot
{
    IWorkerWatchdog* watchdog = nullptr;
};

}  // namespace setup::engine
