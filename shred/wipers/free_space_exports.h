// The body of Volumewipe's free-space export on the real system: the Win32 volume calls, the
// Win32 progress reporting and the engine's VNTShredFile. Nothing throws out.
#pragma once

#include "shred/wipers/free_space_wiper.h"

namespace shred::wipers {

int ExportWipeFreeDiskSpace(char driveLetter, int algorithmId, int ctx, void** pauseEvent,
                            char* abortFlag, WipeInitCallback init, void* progress) noexcept;

}  // namespace shred::wipers
