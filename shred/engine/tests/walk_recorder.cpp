#include "shred/engine/tests/walk_recorder.h"

namespace shred::testing {

void SHRED_CALLBACK RecordProgress(void* ctx, int percent, int fileIndex, int fileCount,
                                   int passCount, std::uint64_t bytesDone, void** pauseEvent, float,
                                   std::uint64_t)
{
    auto* recorder = static_cast<WalkRecorder*>(ctx);
    const ProgressCall call{percent, fileIndex, fileCount, passCount, bytesDone, pauseEvent};
    recorder->progress.push_back(call);
    if (recorder->onProgress)
        recorder->onProgress(call);
}

void SHRED_CALLBACK RecordDone(void* ctx, core::CStringW path, int kind, int result)
{
    auto* recorder = static_cast<WalkRecorder*>(ctx);
    // The callee owns exactly one reference and gives it back here.
    core::CStringHolder holder = core::CStringHolder::Adopt(path);
    recorder->lastRefs = core::CStringHeader(path)->refs;
    if (recorder->lastRefs != 1)
        recorder->foreignRefs = true;
    recorder->done.push_back(DoneCall{std::wstring(holder.View()), kind, result});
}

}  // namespace shred::testing
