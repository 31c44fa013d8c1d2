#include "setup/engine/media/media_workers_win32.h"

#include <functional>
#include <memory>

#include "setup/engine/media/media_files_win32.h"
#include "setup/engine/media/transfer_folder.h"
#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/variable_manager.h"
#include "setup/engine/system/folder_walk.h"
#include "setup/engine/workers/worker_protocol.h"
#include "setup/media/archive_wrapper.h"
#include "setup/media/download/download_files_win32.h"
#include "setup/media/download/download_progress.h"
#include "setup/media/download/http_transfer_win32.h"
#include "setup/media/download/light_downloader_win32.h"

namespace setup::engine {

namespace {

// One media worker: runs its body, then reports through the GUI thread that it is done.
class MediaWorkerThread : public rtl::TThread
{
public:
    explicit MediaWorkerThread(std::function<bool(const MediaWorkerThread&)> body)
        : m_body(std::move(body))
    {}
    ~MediaWorkerThread() override
    {
        Terminate();
        WaitFor();
    }

    bool done = false;  // GUI thread only
    bool result = false;

protected:
    void Execute() override
    {
        bool succeeded = false;
        try {
            succeeded = m_body(*this);
        } catch (...) {
            // A worker's failure is its result.
        }
        Synchronize([&] {
            result = succeeded;
            done = true;
        });
    }

private:
    std::function<bool(const MediaWorkerThread&)> m_body;
};

// Disarms the watchdog however the wait ends.
class WatchdogScope
{
public:
    explicit WatchdogScope(const MediaWorkerRun& run) : m_run(run) {}
    ~WatchdogScope()
    {
        if (m_armed)
            m_run.watchdog->Disable(m_run.kind);
    }
    WatchdogScope(const WatchdogScope&) = delete;
    WatchdogScope& operator=(const WatchdogScope&) = delete;

    // `beforeEnd` runs first when the worker is ended by force.
    void Arm(MediaWorkerThread& thread, const std::function<void()>& beforeEnd)
    {
        if (m_armed || m_run.watchdog == nullptr)
            return;
        m_armed = true;
        m_run.watchdog->Enable(m_run.kind, [this, &thread, &beforeEnd] {
            if (beforeEnd)
                beforeEnd();
            // Not while the worker publishes its progress: the store's lock would stay taken.
            m_run.variables.Lock(true);
            thread.Kill();
            m_run.variables.Unlock(true);
        });
    }

private:
    const MediaWorkerRun& m_run;
    bool m_armed = false;
};

// What a worker's thread cannot be told by its Terminated flag alone.
struct WorkerStops
{
    std::function<void()> onCancel;   // on the GUI thread, each time the cancel is seen
    std::function<void()> beforeEnd;  // just before the worker is ended by force
};

bool Run(MediaWorkerRun& run, std::function<bool(const MediaWorkerThread&)> body,
         const WorkerStops& stops = {})
{
    MediaWorkerThread thread(std::move(body));
    WatchdogScope watchdog(run);
    WorkerWaitOptions wait = run.wait;
    wait.checkCancel = [&] {
        const int cancel = run.wait.checkCancel ? run.wait.checkCancel() : CheckCancel(run.flags);
        if (cancel == -1) {
            if (stops.onCancel)
                stops.onCancel();
            watchdog.Arm(thread, stops.beforeEnd);
        }
        return cancel;
    };
    RunWorker(
        thread, run.flags, [&] { return thread.done; }, wait);
    return thread.result;
}

void Wake(const MediaWorkerRun& run)
{
    // A silent run waits without a message loop: a sent message would never be answered.
    if (run.wake != nullptr && !run.wait.silent)
        ::SendMessageA(run.wake, WM_NULL, 0, 0);
    else
        rtl::WakeMainThread();
}

std::string WithCaption(const std::string& caption, const std::string& line)
{
    return caption.empty() ? line : caption + "\r" + line;
}

// The extraction a worker runs now: the archive library's progress callback has no argument
// to carry it.
struct ExtractProgress
{
    MediaWorkerRun* run = nullptr;
    const MediaWorkerThread* thread = nullptr;
    bool withCaption = false;
};
ExtractProgress g_extractProgress;

int __stdcall ReportExtractProgress(const char* entryName, std::uint64_t done, std::uint64_t total)
{
    const ExtractProgress& progress = g_extractProgress;
    if (progress.run == nullptr)
        return 1;
    const std::uint64_t percent = download::PercentOfTotal(done, total);
    const std::string line = ExtractFileName(entryName == nullptr ? "" : entryName) + ", " +
                             std::to_string(percent) + progress.run->percentComplete;
    SetThreadProgress(progress.run->variables,
                      progress.withCaption ? WithCaption(progress.run->caption, line) : line,
                      static_cast<std::int64_t>(percent), 100, 0);
    Wake(*progress.run);
    return progress.thread->Terminated() ? 0 : 1;
}

class ExtractProgressScope
{
public:
    ExtractProgressScope(MediaWorkerRun& run, const MediaWorkerThread& thread, bool withCaption)
    {
        g_extractProgress = {&run, &thread, withCaption};
    }
    ~ExtractProgressScope() { g_extractProgress = {}; }
};

}  // namespace

bool GrabMedia(MediaWorkerRun& run, const GrabMediaJob& job)
{
    if (job.request.target.empty() || job.urls.empty())
        return false;
    // Outlives the thread: the URL-download service may call back after a forced end.
    const auto control = std::make_shared<download::LightTransferControl>();
    const auto body = [&](const MediaWorkerThread& thread) {
        ForceMediaFolder(Win32MediaFiles(), ExtractFilePath(job.request.target));
        // The client is made here, on the download thread, which dispatches its messages.
        download::LightDownloaderWin32 light;
        light.control = control;
        download::HttpTransferWin32 http;
        download::DownloadFilesWin32 files;
        download::DownloadServices services{&light, http, files, job.texts, [&] { Wake(run); }};
        const auto progress = [&](std::uint64_t percent, const std::string& text) {
            SetThreadProgress(run.variables, WithCaption(run.caption, text),
                              static_cast<std::int64_t>(percent), 100, 0);
            return !thread.Terminated();
        };
        for (const std::string& url : job.urls) {
            download::DownloadRequest request = job.request;
            request.url = url;
            if (download::DownloadFile(job.state, services, request, progress))
                return true;
            if (thread.Terminated())
                break;
        }
        return false;
    };
    return Run(run, body,
               {[&control] { control->RequestStop(); }, [&control] { control->ForcedEnd(); }});
}

ExtractMediaResult ExtractMedia(MediaWorkerRun& run, const ExtractMediaJob& job)
{
    ExtractMediaResult outcome;
    outcome.done = Run(run, [&](const MediaWorkerThread& thread) {
        IMediaFiles& files = Win32MediaFiles();
        const std::string extraction = IncludeBackslash(job.temporaryFolder) + "tarq\\";
        const std::string base = ExtractFileBaseName(job.archivePath);
        ForceMediaFolder(files, job.dataDir);
        // Leftovers of an earlier run must not reach the data folder with this one's files.
        const std::string mediaFolder = extraction + base;
        if (files.FolderExists(mediaFolder)) {
            DeleteFolderTree(files, mediaFolder, true);
            files.RemoveFolder(mediaFolder);
        }
        std::string error;
        bool extracted = false;
        {
            const ExtractProgressScope progress(run, thread, true);
            extracted =
                setup::media::ExtractArchiveFiles(job.archivePath, job.password, extraction, true,
                                                  true, error, nullptr, &ReportExtractProgress);
        }
        outcome.passwordFailure = error == setup::media::OpenErrorText(1003);
        bool placed = false;
        if (extracted) {
            if (!job.copyWebBlock.empty())
                CopyToCache(files, job.archivePath,
                            IncludeBackslash(job.copyWebBlock) + ExtractFileName(job.archivePath),
                            job.compressCache);
            static const std::vector<std::string> kNoTable;
            placed = PlaceExtractedMedia(files, job.fileTable ? *job.fileTable : kNoTable,
                                         {extraction, base, job.dataDir});
            // Only once its files are in place: a failure keeps the download for another try.
            if (placed && !job.local)
                files.RemoveFile(job.archivePath);
        }
        files.RemoveFolder(ExcludeBackslash(extraction));
        return placed;
    });
    return outcome;
}

bool CopyMedia(MediaWorkerRun& run, const CopyMediaJob& job)
{
    return Run(run, [&](const MediaWorkerThread& thread) {
        IMediaFiles& files = Win32MediaFiles();
        OfflineCopyEvents events;
        events.percentComplete = run.percentComplete;
        events.progress = [&](std::string_view text, std::int64_t percent) {
            SetThreadProgress(run.variables, text, percent, 100, 0);
            Wake(run);
        };
        events.terminated = [&] { return thread.Terminated(); };
        if (!CopyOfflineMedia(files, job.media, events))
            return false;
        if (!job.copyWebBlock.empty() && !job.sourcePackage.empty())
            CopyToCache(files, job.sourcePackage,
                        IncludeBackslash(job.copyWebBlock) + ExtractFileName(job.sourcePackage),
                        job.media.compress);
        return true;
    });
}

bool DirectExtract(MediaWorkerRun& run, const DirectExtractJob& job, std::string& errorText)
{
    std::string error;
    const bool done = Run(run, [&](const MediaWorkerThread& thread) {
        ForceMediaFolder(Win32MediaFiles(), job.targetFolder);
        const ExtractProgressScope progress(run, thread, false);
        return setup::media::ExtractArchiveFiles(job.archivePath, job.password, job.targetFolder,
                                                 job.modeFlag, job.answerFlag, error, nullptr,
                                                 &ReportExtractProgress);
    });
    errorText = error;
    return done;
}

}  // namespace setup::engine
