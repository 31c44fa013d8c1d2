// Snapwipe's shape of the engine's entry points: a file-done callback of three arguments that hears
// of files only, and runs of 9-byte records. The bridge adapts both to the shared engine.
#pragma once

#include "core/cstring_abi.h"
#include "shred/engine/algorithm.h"
#include "shred/engine/shred_types.h"

#include <memory>

namespace shred::snapshots {

// The caller's file-done callback: the path is passed by value and the callee releases it.
using SnapwipeFileDoneCallback = void(SHRED_CALLBACK*)(void* ctx, core::CStringW path, int result);

// Stands in for the caller's ctx and callbacks during one engine call: the engine calls the
// bridge, the bridge calls the caller with its own ctx.
class SnapwipeCallbackBridge
{
public:
    SnapwipeCallbackBridge(void* ctx, ShredProgressCallback progress,
                           SnapwipeFileDoneCallback fileDone) noexcept
        : m_ctx(ctx), m_progress(progress), m_fileDone(fileDone)
    {}
    SnapwipeCallbackBridge(const SnapwipeCallbackBridge&) = delete;
    SnapwipeCallbackBridge& operator=(const SnapwipeCallbackBridge&) = delete;

    // What the engine is given; NULL callbacks where the caller has none, so the engine skips them.
    void* EngineCtx() noexcept { return this; }
    ShredProgressCallback EngineProgress() const noexcept;
    ShredFileDoneCallback EngineFileDone() const noexcept;

private:
    static void SHRED_CALLBACK Progress(void* ctx, int percent, int fileIndex, int fileCount,
                                        int passCount, std::uint64_t bytesDone, void** pauseEvent,
                                        float megabytesPerSecond, std::uint64_t fileSize);
    static void SHRED_CALLBACK FileDone(void* ctx, core::CStringW path, int kind, int result);

    void* m_ctx;
    ShredProgressCallback m_progress;
    SnapwipeFileDoneCallback m_fileDone;
};

using EngineRun = std::unique_ptr<_OW_RUN, void (*)(_OW_RUN*)>;

// The engine's run with the passes of a caller's Snapwipe run; empty when the run cannot be read
// (NULL, or a record no overwrite can use) or memory runs out.
EngineRun EngineRunFromSnapRun(const SnapOwRun* run);

}  // namespace shred::snapshots
