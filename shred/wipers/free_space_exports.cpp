#include "shred/wipers/free_space_exports.h"

#include "shred/engine/shred_exports.h"
#include "shred/wipers/free_space_win32.h"
#include "shred/wipers/progress_file_win32.h"

namespace shred::wipers {

int ExportWipeFreeDiskSpace(char driveLetter, int algorithmId, int ctx, void** pauseEvent,
                            char* abortFlag, WipeInitCallback init, void* progress) noexcept
{
    try {
        Win32FreeSpaceSystem system;
        const ShredFileFunction shredFile = [](const std::wstring& path, int id, void* shredCtx,
                                               void** pause, char* abort,
                                               ShredProgressCallback callback, int keepFile) {
            return ExportShredFile(kVolumewipe, path.c_str(), id, shredCtx, pause, abort, callback,
                                   nullptr, keepFile);
        };
        const FreeSpaceRequest request{.driveLetter = driveLetter,
                                       .algorithmId = algorithmId,
                                       .ctx = ctx,
                                       .pauseEvent = pauseEvent,
                                       .abortFlag = abortFlag,
                                       .init = init,
                                       .progress = progress};
        return WipeFreeDiskSpace(request, system, DefaultProgressSystem(), shredFile);
    } catch (...) {
        return kFreeSpaceQueryFailed;
    }
}

}  // namespace shred::wipers
