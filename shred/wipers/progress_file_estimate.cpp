#include "shred/wipers/progress_file_estimate.h"

namespace shred::wipers {

namespace {

std::int32_t ClampToInt32(long double value)
{
    if (value >= static_cast<long double>(INT32_MAX))
        return INT32_MAX;
    if (value <= static_cast<long double>(INT32_MIN))
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

}  // namespace

void UpdateEstimate(WipeContext& context, std::int64_t now, int percent, int fileIndex,
                    int passCount, std::uint64_t bytesDone)
{
    const std::int64_t elapsed = now - context.baselineTime;
    if (elapsed >= 3) {
        // A gap this long (a pause, say) stays out of the estimate.
        context.lastBytes = bytesDone;
        context.baselineTime = now;
        return;
    }
    if (elapsed < 1 || percent == kPercentFileDone || fileIndex == 0)
        return;

    if (bytesDone < context.lastBytes)
        context.lastBytes = 0;  // the engine began another file
    context.accBytes += bytesDone - context.lastBytes;
    context.lastBytes = bytesDone;
    context.accSeconds += elapsed;

    const std::uint64_t total =
        static_cast<std::uint64_t>(passCount > 0 ? passCount : 0) * context.freeBytes;
    const std::uint64_t remainingMiB =
        (total > context.accBytes ? total - context.accBytes : 0) >> 20;
    const std::uint64_t doneMiB = context.accBytes >> 20;
    const double speed = static_cast<double>(doneMiB) / static_cast<double>(context.accSeconds);
    const std::int64_t k = static_cast<std::int64_t>(speed * 100);
    if (k > 0)
        context.timeLeft = ClampToInt32(static_cast<long double>(remainingMiB * 100 / k));
    else if (speed <= 0)
        context.timeLeft = kTimeLeftUnknown;
    else
        context.timeLeft = ClampToInt32(static_cast<long double>(remainingMiB) / speed);
    context.rate = static_cast<double>((context.accBytes >> 10) /
                                       static_cast<std::uint64_t>(context.accSeconds));
    context.baselineTime = now;
}

void SHRED_CALLBACK WriteWipeProgress(void* ctx, int percent, int fileIndex, int fileCount,
                                      int passCount, std::uint64_t bytesDone, void** pauseEvent,
                                      float megabytesPerSecond, std::uint64_t fileSize)
{
    auto* context = static_cast<WipeContext*>(ctx);
    if (context == nullptr || context->system == nullptr || context->target == nullptr)
        return;
    try {
        ReportWipeProgress(*context, percent, fileIndex, fileCount, passCount, bytesDone,
                           pauseEvent);
    } catch (...) {
        // A progress report that cannot be made must not unwind through the engine.
    }
}

void ReportWipeProgress(WipeContext& context, int percent, int fileIndex, int fileCount,
                        int passCount, std::uint64_t bytesDone, void** pauseEvent)
{
    UpdateEstimate(context, context.system->NowSeconds(), percent, fileIndex, passCount, bytesDone);

    ProgressTarget& target = *context.target;
    if (target.FileMode()) {
        char unused = 0;
        char& abortByte = context.ownAbort != nullptr ? *context.ownAbort : unused;
        PollClientInput(*context.system, abortByte);
        const bool aborted = abortByte == 1;
        ProgressLines lines{.operation = kFreeSpaceOperation};
        if (fileCount != 0)
            lines.progress = fileIndex * 100 / fileCount;
        if (!aborted)
            lines.timeLeft = percent == kPercentFileDone ? 0 : context.timeLeft;
        if (aborted)
            lines.status = kStatusAborted;
        else if (fileCount == 1)
            lines.status = kStatusStartingUp;
        else if (percent == kPercentFileDone)
            lines.status = kStatusFinished;
        else
            lines.status = kStatusInProgress;
        target.file->Rewrite(lines);
        return;
    }
    if (target.callback != nullptr) {
        const auto callback = reinterpret_cast<WipeProgressCallback>(target.callback);
        if (context.timeLeft > 0)
            callback(kWipeProgressStep, context.callerCtx, pauseEvent, context.timeLeft,
                     context.rate);
        if (percent == kPercentFileDone)
            callback(kWipeFillerDone, context.callerCtx, pauseEvent, context.timeLeft,
                     context.rate);
    }
}

}  // namespace shred::wipers
