#include "suite/recyclebin/shred_run_win32.h"

#include "core/unique_handle.h"
#include "suite/recyclebin/html_log_writer_win32.h"
#include "suite/recyclebin/previous_versions_win32.h"
#include "suite/recyclebin/progress_dialog_win32.h"
#include "suite/recyclebin/summary_dialog_win32.h"

#include <shlwapi.h>

#include <thread>

namespace trashwipe {
namespace {

void ShowSummary(TrashwipeEnvironment& environment, int languageIndex, const std::wstring& path,
                 bool anySuccess, bool anyFailure)
{
    SummaryDialog summary(environment, languageIndex);
    summary.SetLogPath(path);
    summary.SetResult(anySuccess, anyFailure);
    summary.Run();
}

}  // namespace

bool StartShredRun(TrashwipeEnvironment& environment, const ShredRunRequest& request)
{
    if (request.rows.empty() || !request.items)
        return false;
    const ShredRunPlan plan = PlanShredRun(*request.items, request.rows);
    if (plan.paths.empty())
        return false;
    int fileCount = request.fileCount;
    if (fileCount == 0)
        for (const ContentsRow& row : request.rows)
            if (row.checked && row.record < request.items->Size())
                fileCount += (*request.items)[row.record].fileCount;

    ProgressDialog progress(environment.module, environment.texts, request.interactive,
                            request.languageIndex, request.items);
    progress.SetTotal(fileCount);
    if (request.contents)
        ::ShowWindow(request.contents, SW_HIDE);
    core::UniqueEvent runEnded(::CreateEventW(nullptr, TRUE, FALSE, L"BlockThreadEvent"));
    volatile char abortFlag = 0;

    LogRunSetup logSetup;
    logSetup.fileCount = fileCount;
    logSetup.languageIndex = request.languageIndex;
    logSetup.algorithm = request.algorithm;
    logSetup.showSummary = request.interactive;
    logSetup.productTitle = environment.settings.ProductOverride();
    HtmlLogWriter log(environment, logSetup);
    progress.SetLog(&log);

    ShredWorkerJob job;
    job.algorithm = request.algorithm;
    job.paths = plan.paths;
    job.interactive = log.ShowSummary();
    job.newRecycleBin = IsNewRecycleBin(environment.version);
    job.majorVersion6 = IsMajorVersion6(environment.version);
    job.abortFlag = &abortFlag;
    SnappromptPrompt prompt(environment.locator, environment.ui, &progress);
    ShredWorkerServices services{
        environment.engine,
        progress,
        prompt,
        [&] { return environment.settings.ReadLeavePV(); },
        [&] { environment.settings.WriteLeavePV(true); },
        [&](int answer) { log.AddPreviousVersionsLine(answer); },
        [](const std::wstring& path) { return ::PathIsNetworkPathW(path.c_str()) != FALSE; },
        environment.oldBinFiles ? environment.oldBinFiles
                                : [] { return std::vector<OldBinFile>{}; },
        [](unsigned milliseconds) { ::Sleep(milliseconds); },
    };
    std::thread worker([&] {
        RunShredWorker(job, services);
        ::SetEvent(runEnded.Get());
    });
    if (request.interactive)
        progress.RunModal(request.contents);
    else
        progress.MarkModalLoopEnded();
    ::WaitForSingleObject(runEnded.Get(), INFINITE);
    worker.join();

    if (ShouldEmptyRecycleBin(abortFlag != 0, plan, !job.newRecycleBin))
        environment.source.EmptyAll();
    log.Finish([&](const std::wstring& path, bool anySuccess, bool anyFailure) {
        ShowSummary(environment, request.languageIndex, path, anySuccess, anyFailure);
    });
    return true;
}

}  // namespace trashwipe
