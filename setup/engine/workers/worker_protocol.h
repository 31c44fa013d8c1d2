// The engine side of the worker-thread protocol that every long action follows: the busy flag
// pages poll by, the cancel flag the page's cancel confirmation sets, and the thread-progress
// variables workers publish in.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setup::engine {

class TVariableManager;

// The run's worker flags (engine.Parts.Get<WorkerFlags>()), shared by the statements that wait,
// their workers and the host's pages.
struct WorkerFlags
{
    // Set while a statement waits for a media, plug-in, program-launch or installer worker.
    std::atomic<bool> busy{false};
    // Set by a page's confirmed cancel, cleared whenever a page is shown; GUI thread only.
    bool cancelled = false;
};

// -1 once the user cancelled, else 1.
int CheckCancel(const WorkerFlags& flags);

// Holds the busy flag for the time a statement waits for its worker.
class WorkerBusyScope
{
public:
    explicit WorkerBusyScope(WorkerFlags& flags) : m_flags(flags) { m_flags.busy = true; }
    ~WorkerBusyScope() { m_flags.busy = false; }
    WorkerBusyScope(const WorkerBusyScope&) = delete;
    WorkerBusyScope& operator=(const WorkerBusyScope&) = delete;

private:
    WorkerFlags& m_flags;
};

// Progress texts with a meaning of their own.
inline constexpr std::string_view kKeepProgress = "$TARQ$";          // the values stored now
inline constexpr std::string_view kIgnoreProgressText = "$IGNORE$";  // leave the text

// The thread-progress values as stored now; a number that does not read as one is empty.
struct StoredProgress
{
    std::string text;
    std::optional<std::int64_t> position;
    std::optional<std::int64_t> max;
    std::optional<std::int64_t> min;
};
StoredProgress ReadThreadProgress(const TVariableManager& variables);

// Publishes progress in the thread-progress variables of the given store; callable from any
// thread. A position of -1 leaves the numbers as they are.
void SetThreadProgress(TVariableManager& variables, std::string_view text, std::int64_t position,
                       std::int64_t max, std::int64_t min);

// What a worker that lives outside the engine (the install bridge) tells the engine of its run
// and learns of the user's cancel. The engine keeps these in the thread-progress variables; the
// worker never writes them itself.
class IWorkerReport
{
public:
    virtual ~IWorkerReport() = default;
    // As SetThreadProgress.
    virtual void Progress(std::string_view text, std::int64_t position, std::int64_t max,
                          std::int64_t min) = 0;
    virtual void SetFinished(bool finished) = 0;
    virtual void ClearCancel() = 0;
    virtual bool Finished() const = 0;
    // The user asked to cancel.
    virtual bool CancelRequested() const = 0;
    // No cancel is recorded: stricter than !CancelRequested(), any unknown mark stops the run.
    virtual bool NoCancelRecorded() const = 0;
};

// The report kept in the thread-progress variables of the given store; the run's owner makes
// one over the run's variables and hands it to the workers it starts.
class VariableWorkerReport final : public IWorkerReport
{
public:
    explicit VariableWorkerReport(TVariableManager& variables) : m_variables(variables) {}
    void Progress(std::string_view text, std::int64_t position, std::int64_t max,
                  std::int64_t min) override;
    void SetFinished(bool finished) override;
    void ClearCancel() override;
    bool Finished() const override;
    bool CancelRequested() const override;
    bool NoCancelRecorded() const override;

private:
    TVariableManager& m_variables;
};

}  // namespace setup::engine
