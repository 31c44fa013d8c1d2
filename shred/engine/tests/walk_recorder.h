// Records what an engine call reports through its two callbacks, for the walk and entry tests.
#pragma once

#include "shred/engine/shred_types.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace shred::testing {

struct DoneCall
{
    std::wstring path;
    int kind;
    int result;
    bool operator==(const DoneCall&) const = default;
};

struct ProgressCall
{
    int percent;
    int fileIndex;
    int fileCount;
    int passCount;
    std::uint64_t bytesDone;
    void** pauseEvent;
};

struct WalkRecorder
{
    std::vector<DoneCall> done;
    std::vector<ProgressCall> progress;
    long lastRefs = 0;         // the reference count the file-done string arrived with
    bool foreignRefs = false;  // a string arrived with more than the callee's own reference
    std::function<void(const ProgressCall&)> onProgress;

    std::vector<ProgressCall> WithPercent(int percent) const
    {
        std::vector<ProgressCall> calls;
        for (const ProgressCall& call : progress)
            if (call.percent == percent)
                calls.push_back(call);
        return calls;
    }
};

void SHRED_CALLBACK RecordProgress(void* ctx, int percent, int fileIndex, int fileCount,
                                   int passCount, std::uint64_t bytesDone, void** pauseEvent,
                                   float megabytesPerSecond, std::uint64_t fileSize);
void SHRED_CALLBACK RecordDone(void* ctx, core::CStringW path, int kind, int result);

}  // namespace shred::testing
