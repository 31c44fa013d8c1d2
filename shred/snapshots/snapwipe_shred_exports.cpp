// Snapwipe's engine exports, bound by callers under MSVC-decorated names that encode the C++
// signatures (the file-done callback's string type with the class framework's traits); the .def
// of each bitness maps those names here. The shared engine does the work with Snapwipe's
// algorithm set.
#include "shred/engine/shred_exports.h"
#include "shred/snapshots/snapwipe_shred_bridge.h"

#include <exception>

using shred::snapshots::SnapwipeCallbackBridge;
using shred::snapshots::SnapwipeFileDoneCallback;

extern "C" {

int __stdcall SnapwipeShredFile(wchar_t* path, int algorithmId, void* ctx, void** pauseEvent,
                                char* abortFlag, shred::ShredProgressCallback progress,
                                SnapwipeFileDoneCallback fileDone, int keepFile)
{
    SnapwipeCallbackBridge bridge(ctx, progress, fileDone);
    return shred::ExportShredFile(shred::kSnapwipe, path, algorithmId, bridge.EngineCtx(),
                                  pauseEvent, abortFlag, bridge.EngineProgress(),
                                  bridge.EngineFileDone(), keepFile);
}

int __stdcall SnapwipeShredFileEx(wchar_t* path, shred::SnapOwRun* algorithm, void* ctx,
                                  void** pauseEvent, char* abortFlag,
                                  shred::ShredProgressCallback progress,
                                  SnapwipeFileDoneCallback fileDone, int keepFile)
{
    try {
        const shred::snapshots::EngineRun run = shred::snapshots::EngineRunFromSnapRun(algorithm);
        if (!run)
            return shred::kShredRefused;
        SnapwipeCallbackBridge bridge(ctx, progress, fileDone);
        return shred::ExportShredFileEx(shred::kSnapwipe, path, run.get(), bridge.EngineCtx(),
                                        pauseEvent, abortFlag, bridge.EngineProgress(),
                                        bridge.EngineFileDone(), keepFile);
    } catch (const std::exception&) {
        return shred::kShredNotFound;
    }
}

}  // extern "C"
