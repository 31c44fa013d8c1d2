#include "shred/snapshots/snapwipe_shred_bridge.h"

namespace shred::snapshots {

ShredProgressCallback SnapwipeCallbackBridge::EngineProgress() const noexcept
{
    return m_progress ? &SnapwipeCallbackBridge::Progress : nullptr;
}

ShredFileDoneCallback SnapwipeCallbackBridge::EngineFileDone() const noexcept
{
    return m_fileDone ? &SnapwipeCallbackBridge::FileDone : nullptr;
}

void SHRED_CALLBACK SnapwipeCallbackBridge::Progress(void* ctx, int percent, int fileIndex,
                                                     int fileCount, int passCount,
                                                     std::uint64_t bytesDone, void** pauseEvent,
                                                     float megabytesPerSecond,
                                                     std::uint64_t fileSize)
{
    const auto* bridge = static_cast<const SnapwipeCallbackBridge*>(ctx);
    bridge->m_progress(bridge->m_ctx, percent, fileIndex, fileCount, passCount, bytesDone,
                       pauseEvent, megabytesPerSecond, fileSize);
}

void SHRED_CALLBACK SnapwipeCallbackBridge::FileDone(void* ctx, core::CStringW path, int kind,
                                                     int result)
{
    const auto* bridge = static_cast<const SnapwipeCallbackBridge*>(ctx);
    // The reference the engine handed over travels on to the caller, or ends here for a folder.
    if (kind != kDoneKindFile) {
        core::CStringRelease(path);
        return;
    }
    bridge->m_fileDone(bridge->m_ctx, path, result);
}

EngineRun EngineRunFromSnapRun(const SnapOwRun* run)
{
    EngineRun none(nullptr, &FreeShredAlgorithm);
    const std::optional<PassList> passes = PassListFromRun(run);
    if (!passes)
        return none;
    // Snapwipe's run carries no algorithm id; nothing in Snapwipe records one.
    return EngineRun(MakeShredRun<_OW_RUN>(*passes, 0), &FreeShredAlgorithm);
}

}  // namespace shred::snapshots
