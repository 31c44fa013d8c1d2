// Overwrite and removal of one object: every named stream and then the main stream, pass by pass in
// chunks of at most 64 KiB with progress, pause and abort after every chunk; then the name wipe.
#pragma once

#include "shred/engine/algorithm.h"
#include "shred/engine/shred_system.h"
#include "shred/engine/shred_types.h"

#include <string>

namespace shred {

// The state one walk shares with every object it hands over.
struct ShredWalk
{
    IShredSystem& system;
    const ShredVariant& variant;
    const PassList& passes;
    int* percent = nullptr;  // shared percent counter, written after every chunk
    const int* fileIndex = nullptr;
    int fileCount = 0;
    void** pauseEvent = nullptr;      // the pause pointer in use; NULL: never paused
    const char* abortFlag = nullptr;  // 1 asks the engine to stop; NULL: never aborted
    void* ctx = nullptr;
    ShredProgressCallback progress = nullptr;
    bool keepFile = false;
};

// -100, -1 (cannot open or write; also when memory runs out), -3, -4, -5 or -6.
ShredResult ShredObject(const std::wstring& path, const ShredWalk& walk);

}  // namespace shred
