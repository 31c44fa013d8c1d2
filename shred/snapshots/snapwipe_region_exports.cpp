// Snapwipe's region-overwrite exports, bound by callers under MSVC-decorated names that encode
// the C++ signatures; the .def of each bitness maps those names here. The bodies are the
// shared engine's, run with Snapwipe's algorithm set.
#include "shred/engine/shred_exports.h"

extern "C" {

void* __stdcall SnapwipeCreateFileHandle(wchar_t* path)
{
    return shred::ExportCreateFileHandle(path);
}

int __stdcall SnapwipeShredFilePart(void* fileHandle, int algorithmId, unsigned long offsetLow,
                                    long offsetHigh, unsigned long lengthLow, long lengthHigh)
{
    return shred::ExportShredFilePart(shred::kSnapwipe, fileHandle, algorithmId, offsetLow,
                                      offsetHigh, lengthLow, lengthHigh);
}

int __stdcall SnapwipeCloseFileHandle(void* fileHandle)
{
    return shred::ExportCloseFileHandle(fileHandle);
}

}  // extern "C"
