// The walk of one engine call: the target count, then folders depth-first and patterns match by
// match, every object handed to ShredObject and its result reported to the caller and the log.
#pragma once

#include "shred/engine/algorithm.h"
#include "shred/engine/event_record.h"
#include "shred/engine/shred_system.h"
#include "shred/engine/shred_target.h"
#include "shred/engine/shred_types.h"

#include <optional>
#include <string>

namespace shred {

// What every level of one walk shares.
struct ShredCall
{
    IShredSystem& system;
    const ShredVariant& variant;
    const IShredEventLog& eventLog;
    const PassList& passes;
    int algorithmId = 0;
    void* ctx = nullptr;
    void** pauseEvent = nullptr;  // the pause pointer in use
    const char* abortFlag = nullptr;
    ShredProgressCallback progress = nullptr;
    ShredFileDoneCallback fileDone = nullptr;
    bool keepFile = false;
};

// Progress counters shared by the whole walk, recursion included.
struct WalkCounters
{
    int percent = 0;
    int fileIndex = 0;
    int fileCount = 0;
};

// Files beneath a folder at any depth, one per file or link, one per file a pattern matches (a
// folder that a pattern matches counts the files beneath it); never descends through a link or
// below the depth bound. A target that resolves to nothing counts as a missing path.
int CountShredTargets(IShredSystem& system, const ShredVariant& variant,
                      const std::optional<ShredTarget>& target);
int CountShredTargets(IShredSystem& system, const ShredVariant& variant, const std::wstring& path);

// path is the caller's text, used in reports of the target as a whole; target is what it
// resolved to (ResolveShredTarget), nothing when it names no object that may be shredded.
ShredResult ShredPath(const std::wstring& path, const std::optional<ShredTarget>& target,
                      WalkCounters& counters, const ShredCall& call);

}  // namespace shred
