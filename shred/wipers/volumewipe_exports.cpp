// Volumewipe's engine exports. Callers bind them by MSVC-decorated names that encode the C++
// signatures; the .def of each bitness maps those names to these functions.
#include "shred/engine/shred_exports.h"
#include "shred/wipers/free_space_exports.h"
#include "shred/wipers/slack_exports.h"

extern "C" {

int __stdcall VolumewipeShredFile(wchar_t* path, int algorithmId, void* ctx, void** pauseEvent,
                                  char* abortFlag, shred::ShredProgressCallback progress,
                                  shred::ShredFileDoneCallback fileDone, int keepFile)
{
    return shred::ExportShredFile(shred::kVolumewipe, path, algorithmId, ctx, pauseEvent, abortFlag,
                                  progress, fileDone, keepFile);
}

int __stdcall VolumewipeShredFileEx(wchar_t* path, shred::_OW_RUN* algorithm, void* ctx,
                                    void** pauseEvent, char* abortFlag,
                                    shred::ShredProgressCallback progress,
                                    shred::ShredFileDoneCallback fileDone, int keepFile)
{
    return shred::ExportShredFileEx(shred::kVolumewipe, path, algorithm, ctx, pauseEvent, abortFlag,
                                    progress, fileDone, keepFile);
}

void* __stdcall VolumewipeCreateFileHandle(wchar_t* path)
{
    return shred::ExportCreateFileHandle(path);
}

int __stdcall VolumewipeShredFilePart(void* fileHandle, int algorithmId, unsigned long offsetLow,
                                      long offsetHigh, unsigned long lengthLow, long lengthHigh)
{
    return shred::ExportShredFilePart(shred::kVolumewipe, fileHandle, algorithmId, offsetLow,
                                      offsetHigh, lengthLow, lengthHigh);
}

int __stdcall VolumewipeCloseFileHandle(void* fileHandle)
{
    return shred::ExportCloseFileHandle(fileHandle);
}

int __stdcall VolumewipeWipeFreeDiskSpace(char driveLetter, int algorithmId, int ctx,
                                          void** pauseEvent, char* abortFlag,
                                          shred::wipers::WipeInitCallback init, void* progress)
{
    return shred::wipers::ExportWipeFreeDiskSpace(driveLetter, algorithmId, ctx, pauseEvent,
                                                  abortFlag, init, progress);
}

int __stdcall VolumewipeWipeSpecifiedFileSlack(wchar_t* fileName, int algorithmId)
{
    return shred::wipers::ExportWipeSpecifiedFileSlack(fileName, algorithmId);
}

int __stdcall VolumewipeWipeFileSlack(core::CStringW path, int algorithmId, int ctx,
                                      shred::wipers::SlackFileDoneCallback done, void* progress,
                                      void** pauseEvent, char* abortFlag, int totalCount)
{
    return shred::wipers::ExportWipeFileSlack(path, algorithmId, ctx, done, progress, pauseEvent,
                                              abortFlag, totalCount);
}

}  // extern "C"
