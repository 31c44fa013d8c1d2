// Filewipe's exports: the engine under plain names, with the event log's message table.
#include "shred/engine/shred_exports.h"

extern "C" {

int __stdcall VNTShredFile(wchar_t* path, int algorithmId, void* ctx, void** pauseEvent,
                           char* abortFlag, shred::ShredProgressCallback progress,
                           shred::ShredFileDoneCallback fileDone, int keepFile)
{
    return shred::ExportShredFile(shred::kFilewipe, path, algorithmId, ctx, pauseEvent, abortFlag,
                                  progress, fileDone, keepFile);
}

int __stdcall VNTShredFileEx(wchar_t* path, shred::_OW_RUN* algorithm, void* ctx, void** pauseEvent,
                             char* abortFlag, shred::ShredProgressCallback progress,
                             shred::ShredFileDoneCallback fileDone, int keepFile)
{
    return shred::ExportShredFileEx(shred::kFilewipe, path, algorithm, ctx, pauseEvent, abortFlag,
                                    progress, fileDone, keepFile);
}

void* __stdcall VNTCreateFileHandle(wchar_t* path)
{
    return shred::ExportCreateFileHandle(path);
}

int __stdcall VNTShredFilePart(void* fileHandle, int algorithmId, unsigned long offsetLow,
                               long offsetHigh, unsigned long lengthLow, long lengthHigh)
{
    return shred::ExportShredFilePart(shred::kFilewipe, fileHandle, algorithmId, offsetLow,
                                      offsetHigh, lengthLow, lengthHigh);
}

int __stdcall VNTCloseFileHandle(void* fileHandle)
{
    return shred::ExportCloseFileHandle(fileHandle);
}

}  // extern "C"
