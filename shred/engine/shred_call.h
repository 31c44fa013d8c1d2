// One call of the engine's main entry points: the event-log setting, the target count, the pause
// event the engine makes when the caller brings none, the start report, the walk and its record.
#pragma once

#include "shred/engine/algorithm.h"
#include "shred/engine/event_record.h"
#include "shred/engine/shred_system.h"
#include "shred/engine/shred_types.h"

namespace shred {

// The name of the event the engine creates when the caller passes no pause event; engines that
// run at the same time without their own event share it.
inline constexpr wchar_t kPauseEventName[] = L"PauseEvent";

struct ShredRequest
{
    const wchar_t* path = nullptr;
    void* ctx = nullptr;
    void** pauseEvent = nullptr;
    const char* abortFlag = nullptr;
    ShredProgressCallback progress = nullptr;
    ShredFileDoneCallback fileDone = nullptr;
    bool keepFile = false;
};

// VNTShredFileEx: the run is the caller's and is only read. -2 when the run cannot be read
// (NULL, or a record no overwrite can use) or has no passes, -1 for a NULL path.
ShredResult ShredWithRun(IShredSystem& system, const ShredVariant& variant,
                         const IShredEventLog& eventLog, const _OW_RUN* run,
                         const ShredRequest& request);

// VNTShredFile: builds the algorithm, runs the call and frees it.
ShredResult ShredWithAlgorithm(IShredSystem& system, const ShredVariant& variant,
                               const IShredEventLog& eventLog, int algorithmId,
                               const ShredCharReader& readShredChar, const ShredRequest& request);

}  // namespace shred
