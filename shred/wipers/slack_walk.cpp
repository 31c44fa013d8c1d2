#include "shred/wipers/slack_walk.h"

#include <cstdio>

namespace shred::wipers {

namespace {

std::string Narrow(std::wstring_view text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow += (c > 0 && c < 0x80) ? static_cast<char>(c) : '?';
    return narrow;
}

// What every level of one run shares; the caller's call owns it.
struct SlackRun
{
    ISlackSystem& system;
    IProgressSystem& progressSystem;
    const SlackServices& services;
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

bool IsRoot(const std::wstring& path)
{
    return !path.empty() && RootOf(path) == path;
}

int WipeLevel(SlackRun& run, std::wstring path, bool countHere, int depth)
{
    if (Aborted(run))
        return kSlackAborted;
    if (!path.empty() && path.back() == L'\\')
        path += L'*';

    if (countHere) {
        run.totalCount = run.services.countTargets ? run.services.countTargets(path) : 0;
        if (!run.target.FileMode() && run.target.callback != nullptr)
            reinterpret_cast<SlackProgressCallback>(run.target.callback)(run.totalCount, run.ctx,
                                                                         run.pause);
        run.processed = 0;
        char line[64];
        std::snprintf(line, sizeof line, "totalAmount: %d ", run.totalCount);
        run.system.Print(line + Narrow(path) + "\n");
    }

    const std::vector<SlackEntry> first = run.system.FindMatches(path);
    if (first.empty()) {
        char line[128];
        std::snprintf(line, sizeof line,
                      "Invalid File Handle in dll VNTWipeFileSlack. GetLastError reports %d\n",
                      static_cast<int>(run.system.LastError()));
        run.system.Print(line);
        return kSlackNotFound;
    }

    std::wstring withoutStars;
    for (wchar_t c : path)
        if (c != L'*')
            withoutStars += c;
    const bool endsWithStar = path.back() == L'*';

    if (first.front().isFolder || IsRoot(withoutStars)) {
        if (depth >= kMaxSlackDepth)
            return kSlackDone;
        const std::wstring pattern = endsWithStar ? path : path + L"\\*";
        // Children live in the folder the pattern searches, whatever its last part was.
        std::wstring base = path;
        if (endsWithStar) {
            const std::size_t slash = path.find_last_of(L'\\');
            base = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
        }
        for (const SlackEntry& entry : run.system.FindMatches(pattern)) {
            if (entry.name == L"." || entry.name == L"..")
                continue;
            if (entry.isLink)
                continue;  // a junction or link leads out of the tree
            const int result = WipeLevel(run, base + L"\\" + entry.name, false, depth + 1);
            if (result == kSlackAborted)
                return kSlackAborted;
        }
        return kSlackDone;
    }

    if (Aborted(run))
        return kSlackAborted;
    WipeSpecifiedFileSlack(path.c_str(), run.algorithmId, run.system, run.services);
    ReportFileDone(run);
    return kSlackDone;
}

}  // namespace

int WipeFileSlack(const SlackRequest& request, ISlackSystem& system,
                  IProgressSystem& progressSystem, const SlackServices& services)
{
    SlackRun run{.system = system, .progressSystem = progressSystem, .services = services};
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
    const int result = WipeLevel(run, request.path, countHere, 0);
    if (result == kSlackDone && countHere && run.target.FileMode())
        WriteSlackProgress(run, 100, kStatusFinished);
    return result;
}

}  // namespace shred::wipers
