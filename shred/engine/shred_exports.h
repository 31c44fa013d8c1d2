// The bodies of the engine's exports, shared by the libraries that carry them under their own
// export names: the real system table, the machine's settings and event log. Nothing throws out.
#pragma once

#include "shred/engine/algorithm.h"
#include "shred/engine/shred_types.h"

namespace shred {

int ExportShredFile(const ShredVariant& variant, const wchar_t* path, int algorithmId, void* ctx,
                    void** pauseEvent, char* abortFlag, ShredProgressCallback progress,
                    ShredFileDoneCallback fileDone, int keepFile) noexcept;
int ExportShredFileEx(const ShredVariant& variant, const wchar_t* path, const _OW_RUN* algorithm,
                      void* ctx, void** pauseEvent, char* abortFlag, ShredProgressCallback progress,
                      ShredFileDoneCallback fileDone, int keepFile) noexcept;

// NULL when the file cannot be opened; the caller owns the handle.
void* ExportCreateFileHandle(const wchar_t* path) noexcept;
int ExportShredFilePart(const ShredVariant& variant, void* fileHandle, int algorithmId,
                        unsigned long offsetLow, long offsetHigh, unsigned long lengthLow,
                        long lengthHigh) noexcept;
int ExportCloseFileHandle(void* fileHandle) noexcept;

}  // namespace shred
