// The bodies of Volumewipe's slack exports on the real system: the Win32 file calls, the machine's
// algorithm settings and the engine's target count. Nothing throws out.
#pragma once

#include "core/cstring_abi.h"
#include "shred/wipers/slack_walk.h"

namespace shred::wipers {

// The algorithms of the machine's settings, the engine's target resolution and count over the
// real system.
SlackServices DefaultSlackServices();

int ExportWipeSpecifiedFileSlack(const wchar_t* fileName, int algorithmId) noexcept;
// Releases the caller's reference to path on every return.
int ExportWipeFileSlack(core::CStringW path, int algorithmId, int ctx, SlackFileDoneCallback done,
                        void* progress, void** pauseEvent, char* abortFlag,
                        int totalCount) noexcept;

}  // namespace shred::wipers
