// The engine side of the worker-thread protocol that every long action follows: the busy flag
// pages poll by, the cancel flag the page's cancel confirmation sets, and the thread-progress
// variables workers publish in.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

namespace setup::engine {

// Set while a statement waits for a media, plug-in, program-launch or installer worker.
extern std::atomic<bool> WorkerBusy;
// Set by a page's confirmed cancel, cleared whenever a page is shown; GUI thread only.
extern bool CancelFlag;

// -1 once the user cancelled, else 1.
int CheckCancel();

// Holds WorkerBusy for the time a statement waits for its worker.
class WorkerBusyScope
{
public:
    WorkerBusyScope() { WorkerBusy = true; }
    ~WorkerBusyScope() { WorkerBusy = false; }
    WorkerBusyScope(const WorkerBusyScope&) = delete;
    WorkerBusyScope& operator=(const WorkerBusyScope&) = delete;
};

// Progress texts with a meaning of their own.
inline constexpr std::string_view kKeepProgress = "$TARQ$";          // the values stored now
inline constexpr std::string_view kIgnoreProgressText = "$IGNORE$";  // leave the text

// Publishes progress in the thread-progress variables; callable from any thread. A position of
// -1 leaves the numbers as they are.
void SetThreadProgress(std::string_view text, std::int64_t position, std::int64_t max,
                       std::int64_t min);

}  // namespace setup::engine
