// The media worker threads: downloading a web media archive, extracting and placing it, copying
// offline media, and extracting an archive for a statement. Each starts its thread and waits in
// the engine's worker loop until the thread's completion routine has run; progress goes to the
// thread-progress variables. No worker raises: failures come back as false.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "setup/engine/media/media_placement.h"
#include "setup/engine/media/worker_watchdog.h"
#include "setup/engine/workers/worker_wait_win32.h"
#include "setup/media/download/download_driver.h"

namespace setup::engine {

class TVariableManager;

// What every media worker reports through and waits with.
struct MediaWorkerRun
{
    MediaWorkerRun(TVariableManager& store, WorkerFlags& workerFlags)
        : variables(store), flags(workerFlags)
    {}

    TVariableManager& variables;
    WorkerFlags& flags;
    WorkerWaitOptions wait;
    HWND wake = nullptr;  // the page on screen, woken after each report
    std::string caption;  // the first line of the progress text
    std::string percentComplete = "% complete";
    // Armed once the user cancels; ends a worker that has not ended by its time.
    IWorkerWatchdog* watchdog = nullptr;
    MediaWorkerKind kind = MediaWorkerKind::Download;
};

struct GrabMediaJob
{
    std::vector<std::string> urls;
    // The archive path and the proxy and resume settings; the URL is each of `urls` in turn.
    download::DownloadRequest request;
    download::DownloadState& state;
    download::DownloadTexts texts;
};
// True once one URL of the list downloaded; false for an empty list, without a request.
bool GrabMedia(MediaWorkerRun& run, const GrabMediaJob& job);

struct ExtractMediaJob
{
    std::string archivePath;
    bool local = false;  // the archive beside the package stays
    std::string dataDir;
    std::string password;
    const std::vector<std::string>* fileTable = nullptr;  // three lines a file
    std::string copyWebBlock;  // the cache folder for a copy of the archive, empty for none
    bool compressCache = false;
    std::string temporaryFolder;  // extracted below it, in "tarq\"
};
struct ExtractMediaResult
{
    bool done = false;
    bool passwordFailure = false;  // the archive could not be opened with the password
};
ExtractMediaResult ExtractMedia(MediaWorkerRun& run, const ExtractMediaJob& job);

struct CopyMediaJob
{
    OfflineMedia media;
    std::string copyWebBlock;
    std::string sourcePackage;  // the package that came with the offline media
};
bool CopyMedia(MediaWorkerRun& run, const CopyMediaJob& job);

struct DirectExtractJob
{
    std::string archivePath, targetFolder, password;
    bool modeFlag = true, answerFlag = true;
};
bool DirectExtract(MediaWorkerRun& run, const DirectExtractJob& job, std::string& errorText);

}  // namespace setup::engine
