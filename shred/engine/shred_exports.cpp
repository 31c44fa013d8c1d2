#include "shred/engine/shred_exports.h"

#include "core/unique_handle.h"
#include "shred/engine/region_overwriter.h"
#include "shred/engine/shred_call.h"
#include "shred/engine/shred_settings.h"
#include "shred/engine/system_win32.h"

#include <windows.h>

#include <ctime>
#include <exception>
#include <memory>

namespace shred {
namespace {

ShredRequest MakeRequest(const wchar_t* path, void* ctx, void** pauseEvent, char* abortFlag,
                         ShredProgressCallback progress, ShredFileDoneCallback fileDone,
                         int keepFile)
{
    return ShredRequest{path, ctx, pauseEvent, abortFlag, progress, fileDone, keepFile != 0};
}

std::uint64_t Join(unsigned long low, long high)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32) |
           static_cast<std::uint32_t>(low);
}

bool IsUsableHandle(void* handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

int ExportShredFile(const ShredVariant& variant, const wchar_t* path, int algorithmId, void* ctx,
                    void** pauseEvent, char* abortFlag, ShredProgressCallback progress,
                    ShredFileDoneCallback fileDone, int keepFile) noexcept
{
    try {
        Win32ShredSystem system(true);  // its writer thread ends with the call
        const ShredEventLog eventLog(system, variant);
        return ShredWithAlgorithm(
            system, variant, eventLog, algorithmId, [&variant] { return ReadShredChar(variant); },
            MakeRequest(path, ctx, pauseEvent, abortFlag, progress, fileDone, keepFile));
    } catch (const std::exception&) {
        return kShredNotFound;
    }
}

int ExportShredFileEx(const ShredVariant& variant, const wchar_t* path, const _OW_RUN* algorithm,
                      void* ctx, void** pauseEvent, char* abortFlag, ShredProgressCallback progress,
                      ShredFileDoneCallback fileDone, int keepFile) noexcept
{
    try {
        Win32ShredSystem system(true);  // its writer thread ends with the call
        const ShredEventLog eventLog(system, variant);
        return ShredWithRun(
            system, variant, eventLog, algorithm,
            MakeRequest(path, ctx, pauseEvent, abortFlag, progress, fileDone, keepFile));
    } catch (const std::exception&) {
        return kShredNotFound;
    }
}

void* ExportCreateFileHandle(const wchar_t* path) noexcept
{
    if (!path)
        return nullptr;
    core::UniqueFile file(::CreateFileW(path, GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? file.Release() : nullptr;
}

int ExportShredFilePart(const ShredVariant& variant, void* fileHandle, int algorithmId,
                        unsigned long offsetLow, long offsetHigh, unsigned long lengthLow,
                        long lengthHigh) noexcept
{
    try {
        std::unique_ptr<_OW_RUN, void (*)(_OW_RUN*)> run(BuildShredAlgorithm(algorithmId, variant),
                                                         &FreeShredAlgorithm);
        if (!run)
            return kShredRefused;
        const std::optional<PassList> passes = PassListFromRun(run.get());
        if (!passes)
            return kShredRefused;
        if (!IsUsableHandle(fileHandle))
            return kRegionBadHandle;
        const std::unique_ptr<IShredFile> file = BorrowFileHandle(fileHandle);
        return OverwriteRegion(file.get(), *passes, Join(offsetLow, offsetHigh),
                               Join(lengthLow, lengthHigh),
                               static_cast<std::uint32_t>(std::time(nullptr)));
    } catch (const std::exception&) {
        return kRegionWriteFailed;
    }
}

int ExportCloseFileHandle(void* fileHandle) noexcept
{
    DWORD flags = 0;
    if (!IsUsableHandle(fileHandle) || !::GetHandleInformation(fileHandle, &flags))
        return -1;
    // The owner closes it on the way out.
    core::UniqueKernelHandle owner(fileHandle);
    return 1;
}

}  // namespace shred
