#include "suite/recyclebin/filewipe_engine_win32.h"

#include "core/cstring_abi.h"
#include "core/unique_handle.h"
#include "suite/recyclebin/suite_export_win32.h"

#include <windows.h>

#include <cstdint>

namespace trashwipe {
namespace {

void __stdcall OnShredProgress(void* context, int percent, int, int, int, std::uint64_t,
                               void** pauseEvent, float, std::uint64_t) noexcept
{
    if (context)
        static_cast<IShredObserver*>(context)->OnProgress(percent, pauseEvent);
}

void __stdcall OnShredFileDone(void* context, core::CStringW path, int kind, int result) noexcept
{
    // The path is this callback's own reference.
    if (context)
        static_cast<IShredObserver*>(context)->OnObjectDone(core::CStringView(path), kind, result);
    core::CStringRelease(path);
}

using ProgressCallback = void(__stdcall*)(void*, int, int, int, int, std::uint64_t, void**, float,
                                          std::uint64_t);
using FileDoneCallback = void(__stdcall*)(void*, core::CStringW, int, int);
using ShredFileFunction = int(__stdcall*)(const wchar_t*, int, void*, void**, volatile char*,
                                          ProgressCallback, FileDoneCallback, int);

}  // namespace

int FilewipeEngine::ShredPath(const std::wstring& path, ShredAlgorithmId algorithm,
                              IShredObserver* observer, volatile char* abortFlag)
{
    const auto bound = BindSuiteExport(m_locator, m_messages, kShredLibrary, "VNTShredFile");
    if (!bound)
        return kEngineMissing;
    const auto shredFile = reinterpret_cast<ShredFileFunction>(bound->function);
    volatile char noAbort = 0;
    return shredFile(path.c_str(), algorithm, observer, nullptr, abortFlag ? abortFlag : &noAbort,
                     OnShredProgress, OnShredFileDone, 0);
}

}  // namespace trashwipe
