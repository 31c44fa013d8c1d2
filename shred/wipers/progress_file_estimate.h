// The free-space wiper's time-left estimate and its progress routine, which the shred engine calls
// after every chunk with the wiper's WipeContext as ctx.
#pragma once

#include "shred/engine/shred_types.h"
#include "shred/wipers/progress_file.h"

#include <climits>
#include <cstdint>

namespace shred::wipers {

// The caller's progress callback of the free-space wiper.
using WipeProgressCallback = void(SHRED_CALLBACK*)(int kind, int ctx, void* pauseOrText, int value,
                                                   double rate);
inline constexpr int kWipeProgressStep = 0;
inline constexpr int kWipeFillerDone = 1;
inline constexpr int kWipeStartError = -500;

// The time left while no whole MiB has been counted yet (no speed to divide by).
inline constexpr std::int32_t kTimeLeftUnknown = INT32_MIN;
// The engine's percent value for "this file is finished".
inline constexpr int kPercentFileDone = 200;

struct WipeContext
{
    std::uint64_t freeBytes = 0;
    std::uint64_t accBytes = 0;
    std::int64_t accSeconds = 0;
    std::int64_t baselineTime = 0;
    double rate = 0.0;
    std::int32_t timeLeft = 0;
    std::uint64_t lastBytes = 0;
    std::int32_t callerCtx = 0;

    // Where this run reports; owned by the run.
    IProgressSystem* system = nullptr;
    ProgressTarget* target = nullptr;
    char* ownAbort = nullptr;
};

void UpdateEstimate(WipeContext& context, std::int64_t now, int percent, int fileIndex,
                    int passCount, std::uint64_t bytesDone);

// One step: the estimate, then the report to the callback or the progress file.
void ReportWipeProgress(WipeContext& context, int percent, int fileIndex, int fileCount,
                        int passCount, std::uint64_t bytesDone, void** pauseEvent);

// The engine's progress callback for the free-space wiper; nothing escapes it.
void SHRED_CALLBACK WriteWipeProgress(void* ctx, int percent, int fileIndex, int fileCount,
                                      int passCount, std::uint64_t bytesDone, void** pauseEvent,
                                      float megabytesPerSecond, std::uint64_t fileSize);

}  // namespace shred::wipers
