#include "shred/wipers/slack_walk.h"

#include "shred/engine/shred_target.h"
#include "shred/wipers/ascii_path.h"

#include <cstdio>

namespace shred::wipers {

namespace {

// What every level of one run shares; the caller's call owns it.
struct SlackRun
{
    ISlackSystem& system;
    IProgressSystem& progressSystem;
    const SlackServices& services;
    // The per-file wipes use the run's one pass list.
    SlackServices fileServices;
    int algorithmId = 0;
    int ctx = 0;
    SlackFileDoneCallback done = nullptr;
    ProgressTarget target = {};
    char ownAbort = 0;
    char* abortFlag = nullptr;
    void** pause = nullptr;
    int totalCount = 0;
    int processed = 0;
    int lastPercent = 0;
};

bool Aborted(SlackRun& run)
{
    run.system.WaitForRun(run.pause);
    return run.abortFlag != nullptr && *run.abortFlag == 1;
}

void WriteSlackProgress(SlackRun& run, int percent, std::string_view status)
{
    run.target.file->Rewrite({.operation = kSlackOperation, .progress = percent, .status = status});
}

void ReportFileDone(SlackRun& run)
{
    if (run.done != nullptr) {
        run.done(1, run.ctx);
        return;
    }
    if (!run.target.FileMode())
        return;
    run.processed += 1;
    PollClientInput(run.progressSystem, run.ownAbort);
    const int percent =
        run.totalCount > 0
            ? static_cast<int>(static_cast<std::int64_t>(run.processed) * 100 / run.totalCount)
            : 100;
    if (percent == run.lastPercent && run.ownAbort != 1)
        return;
    run.lastPercent = percent;
    std::string_view status = kStatusInProgress;
    if (run.ownAbort == 1)
        status = kStatusAborted;
    else if (run.processed == run.totalCount)
        status = kStatusFinished;
    WriteSlackProgress(run, percent, status);
}

bool IsDots(const std::wstring& name)
{
    return name == L"." || name == L"..";
}

// A found name the system would read as a pattern, a path or another object is never used, and
// a link (a junction or symbolic link) leads out of the tree.
bool MayFollow(const SlackEntry& entry)
{
    return !entry.isLink && IsLiteralName(entry.name);
}

int WipeEntries(SlackRun& run, const std::wstring& folder, const std::vector<SlackEntry>& entries,
                int depth);

int WipeFile(SlackRun& run, const std::wstring& path)
{
    if (Aborted(run))
        return kSlackAborted;
    // Single files may fail; the walk goes on with the next one.
    WipeSpecifiedFileSlack(path.c_str(), run.algorithmId, run.system, run.fileServices);
    ReportFileDone(run);
    return kSlackDone;
}

int WipeFolder(SlackRun& run, const std::wstring& path, int depth)
{
    if (depth > kMaxWalkDepth)
        return kSlackNotFound;
    return WipeEntries(run, path, run.system.FindMatches(JoinPath(path, L"*")), depth + 1);
}

// entry was found in folder and may be followed.
int WipeEntry(SlackRun& run, const std::wstring& folder, const SlackEntry& entry, int depth)
{
    const std::wstring path = JoinPath(folder, entry.name);
    return entry.isFolder ? WipeFolder(run, path, depth) : WipeFile(run, path);
}

int WipeEntries(SlackRun& run, const std::wstring& folder, const std::vector<SlackEntry>& entries,
                int depth)
{
    for (const SlackEntry& entry : entries) {
        if (IsDots(entry.name) || !MayFollow(entry))
            continue;
        if (Aborted(run) || WipeEntry(run, folder, entry, depth) == kSlackAborted)
            return kSlackAborted;
    }
    return kSlackDone;
}

int WipeTarget(SlackRun& run, std::wstring path, bool countHere)
{
    if (Aborted(run))
        return kSlackAborted;
    // A folder's inside: every entry of it.
    if (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path += L'*';
    const std::optional<ShredTarget> target =
        run.services.resolveTarget ? run.services.resolveTarget(path) : std::nullopt;

    if (countHere) {
        run.totalCount = run.services.countTargets ? run.services.countTargets(target) : 0;
        if (!run.target.FileMode() && run.target.callback != nullptr)
            reinterpret_cast<SlackProgressCallback>(run.target.callback)(run.totalCount, run.ctx,
                                                                         run.pause);
        run.processed = 0;
        char line[64];
        std::snprintf(line, sizeof line, "totalAmount: %d ", run.totalCount);
        run.system.Print(line + NarrowPath(path) + "\n");
    }

    const std::vector<SlackEntry> matches =
        target ? run.system.FindMatches(JoinPath(target->folder, target->name))
               : std::vector<SlackEntry>();
    if (matches.empty()) {
        char line[128];
        std::snprintf(line, sizeof line,
                      "Invalid File Handle in dll VNTWipeFileSlack. GetLastError reports %d\n",
                      static_cast<int>(run.system.LastError()));
        run.system.Print(line);
        return kSlackNotFound;
    }
    // Every object is addressed through the folder searched and the name found there, so the
    // system's reading of the caller's text never decides twice.
    if (target->isPattern)
        return WipeEntries(run, target->folder, matches, 0);
    if (!MayFollow(matches.front()))
        return kSlackNotFound;
    return WipeEntry(run, target->folder, matches.front(), 0);
}

}  // namespace

int WipeFileSlack(const SlackRequest& request, ISlackSystem& system,
                  IProgressSystem& progressSystem, const SlackServices& services)
{
    // A run without passes would report every file wiped; a refused algorithm, every file failed.
    const std::optional<PassList> passes =
        services.buildPasses ? services.buildPasses(request.algorithmId) : std::nullopt;
    if (!passes || passes->empty())
        return kSlackRunRefused;
    SlackRun run{.system = system, .progressSystem = progressSystem, .services = services, .fileServices = {}};
    run.fileServices.buildPasses = [&passes](int) { return passes; };
    run.algorithmId = request.algorithmId;
    run.ctx = request.ctx;
    run.done = request.done;
    run.abortFlag = request.abortFlag;
    run.pause = request.pauseEvent;
    run.totalCount = request.totalCount;
    run.target = ChooseProgressTarget(progressSystem, request.progress);
    if (run.target.FileMode() && run.abortFlag == nullptr)
        run.abortFlag = &run.ownAbort;
    const SlackProgressCallback callback =
        run.target.FileMode() ? nullptr
                              : reinterpret_cast<SlackProgressCallback>(run.target.callback);

    std::unique_ptr<ISlackEvent> ownEvent;
    void* ownHandle = nullptr;
    if (run.pause == nullptr) {
        ownEvent = system.CreateRunEvent(kSlackEventName);
        if (ownEvent) {
            ownHandle = ownEvent->Handle();
            run.pause = &ownHandle;
        }
        if (callback != nullptr)
            callback(0, run.ctx, run.pause);
    }

    if (request.path.empty())
        return Aborted(run) ? kSlackAborted : kSlackNotFound;
    const bool countHere = request.totalCount == 0;
    const int result = WipeTarget(run, request.path, countHere);
    if (result == kSlackDone && countHere && run.target.FileMode())
        WriteSlackProgress(run, 100, kStatusFinished);
    return result;
}

}  // namespace shred::wipers
