#include "suite/recyclebin/shred_worker.h"

namespace trashwipe {
namespace {

// Forwards the engine's reports and counts the objects it reported.
class CountingObserver final : public IShredObserver
{
public:
    explicit CountingObserver(IShredObserver& observer) : m_observer(observer) {}
    void OnProgress(int percent, void** pauseEvent) override
    {
        m_observer.OnProgress(percent, pauseEvent);
    }
    void OnObjectDone(std::wstring_view path, int kind, int result) override
    {
        ++reported;
        m_observer.OnObjectDone(path, kind, result);
    }
    int reported = 0;

private:
    IShredObserver& m_observer;
};

// Tells the view when each engine call is over, so a Pause press never touches an event that
// call has closed. A call that failed (an abort before it began, say) without reporting any
// object still gets its row: otherwise the log would call a run with entries left over a success.
class ViewedEngine final : public IShredEngine
{
public:
    ViewedEngine(IShredEngine& engine, IProgressView& progress)
        : m_engine(engine), m_progress(progress)
    {}
    int ShredPath(const std::wstring& path, ShredAlgorithmId algorithm, IShredObserver* observer,
                  volatile char* abortFlag) override
    {
        if (!observer) {
            const int result = m_engine.ShredPath(path, algorithm, nullptr, abortFlag);
            m_progress.EngineCallEnded();
            return result;
        }
        CountingObserver counting(*observer);
        const int result = m_engine.ShredPath(path, algorithm, &counting, abortFlag);
        m_progress.EngineCallEnded();
        if (counting.reported == 0 && result != kShredSucceeded && result != kEngineMissing)
            observer->OnObjectDone(path, kDoneKindFile, result);
        return result;
    }

private:
    IShredEngine& m_engine;
    IProgressView& m_progress;
};

void DeliverAbortFlag(const ShredWorkerJob& job, ShredWorkerServices& services)
{
    // The window comes when the caller's modal loop starts; once that loop is over (Escape, or a
    // dialog that could not be created) no window will come, so the worker stops waiting.
    while (!services.progress.SetAbortFlag(job.abortFlag)) {
        if (services.progress.ModalLoopEnded())
            return;
        services.sleep(50);
    }
}

void ShredOldRecycledFolders(const ShredWorkerJob& job, ShredWorkerServices& services,
                             IShredEngine& engine)
{
    for (const OldBinFile& file : services.oldBinFiles()) {
        if (!IsOldBinEntryShred(file.name))
            continue;
        // The bin's index file goes without progress and without a log row.
        IShredObserver* observer = IsOldBinIndexFile(file.name) ? nullptr : &services.progress;
        engine.ShredPath(file.path, job.algorithm, observer, job.abortFlag);
    }
}

}  // namespace

void RunShredWorker(const ShredWorkerJob& job, ShredWorkerServices& services)
{
    ViewedEngine engine(services.engine, services.progress);
    if (job.interactive)
        DeliverAbortFlag(job, services);
    if (job.newRecycleBin) {
        const bool offerPrompt = job.majorVersion6 && job.interactive && !services.readLeavePV();
        DriveLetterSet letters;
        WorkerPass pass;
        pass.algorithm = job.algorithm;
        pass.observer = &services.progress;
        pass.abortFlag = job.abortFlag;
        pass.promptLetters = offerPrompt ? &letters : nullptr;
        pass.isNetworkPath = services.isNetworkPath;
        ShredPlannedPaths(engine, job.paths, pass);
        if (offerPrompt) {
            const int answer = services.prompt.Show(job.algorithm, letters.Text());
            if (answer == kPromptNeverAgain)
                services.writeLeavePV();
            services.addPreviousVersionsLine(answer);
        }
    } else {
        ShredOldRecycledFolders(job, services, engine);
    }
    if (job.interactive)
        services.progress.Close();
}

}  // namespace trashwipe
