#include "shred/engine/shred_call.h"

#include "shred/engine/path_walker.h"

#include <memory>
#include <new>

namespace shred {
namespace {

ShredResult RunCall(IShredSystem& system, const ShredVariant& variant,
                    const IShredEventLog& eventLog, const PassList& passes, int algorithmId,
                    const ShredRequest& request)
{
    const std::uint32_t mode = eventLog.ReadEventLogSetting();
    if (mode != 0)
        eventLog.RegisterShredEventSource();
    const std::wstring path = request.path;
    // Resolved once: the count and the walk see the same target.
    const std::optional<ShredTarget> target = ResolveShredTarget(system, path);
    WalkCounters counters;
    counters.fileCount = CountShredTargets(system, variant, target);

    std::unique_ptr<IRunEvent> ownEvent;
    void* ownHandle = nullptr;
    void** pauseEvent = request.pauseEvent;
    if (!pauseEvent) {
        ownEvent = system.CreateRunEvent(kPauseEventName);
        if (!ownEvent) {
            if (mode != 0)
                eventLog.ReportShredEvent(path, algorithmId, kShredNoPauseEvent);
            return kShredNoPauseEvent;
        }
        ownHandle = ownEvent->Handle();
        pauseEvent = &ownHandle;
    }
    if (request.progress)
        request.progress(request.ctx, 0, 0, counters.fileCount, 0, 0, pauseEvent, 0.0f, 0);

    const ShredCall call{system,           variant,          eventLog,        passes,
                         algorithmId,      request.ctx,      pauseEvent,      request.abortFlag,
                         request.progress, request.fileDone, request.keepFile};
    const ShredResult result = ShredPath(path, target, counters, call);
    ownEvent.reset();
    if (mode == static_cast<std::uint32_t>(ShredEventLogMode::PerCall))
        eventLog.ReportShredEvent(path, algorithmId, result);
    return result;
}

}  // namespace

ShredResult ShredWithRun(IShredSystem& system, const ShredVariant& variant,
                         const IShredEventLog& eventLog, const _OW_RUN* run,
                         const ShredRequest& request)
{
    try {
        const std::optional<PassList> passes = PassListFromRun(run);
        // A run without passes would remove files that were never overwritten.
        if (!passes || passes->empty())
            return kShredRefused;
        if (!request.path)
            return kShredNotFound;
        return RunCall(system, variant, eventLog, *passes, run->algorithmId, request);
    } catch (const std::bad_alloc&) {
        return kShredNotFound;
    }
}

ShredResult ShredWithAlgorithm(IShredSystem& system, const ShredVariant& variant,
                               const IShredEventLog& eventLog, int algorithmId,
                               const ShredCharReader& readShredChar, const ShredRequest& request)
{
    if (variant.printsEntryLines)
        system.Print("VNTShredFile\n");
    std::unique_ptr<_OW_RUN, void (*)(_OW_RUN*)> run(
        BuildShredAlgorithm(algorithmId, variant, readShredChar), &FreeShredAlgorithm);
    if (!run) {
        if (variant.printsEntryLines)
            system.Print("VNTShredFile -2\n");
        return kShredRefused;
    }
    return ShredWithRun(system, variant, eventLog, run.get(), request);
}

}  // namespace shred
