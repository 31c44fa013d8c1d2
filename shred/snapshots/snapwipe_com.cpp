#include "shred/snapshots/snapwipe_com.h"

#include "core/com_object_win32.h"
#include "core/text_convert.h"
#include "shred/engine/shred_settings.h"
#include "shred/snapshots/progress_window_win32.h"
#include "shred/snapshots/snapshot_remover.h"
#include "shred/snapshots/volume_control_win32.h"
#include "shred/snapshots/vss_api_win32.h"
#include "shred/snapshots/vss_snapshot_service.h"

#include <new>
#include <string>

namespace shred::snapshots {
namespace {

LONG g_moduleLocks = 0;

class CSnapwipeo : public core::ModuleComObject<ISnapwipeo>
{
public:
    CSnapwipeo() : ModuleComObject(g_moduleLocks, kISnapwipeoIid) {}

    HRESULT STDMETHODCALLTYPE VNTRemovePV(BSTR DriveLetters, long lAlgo,
                                          short* hProgressDlg) override
    {
        try {
            const std::string letters = DriveLetters
                                            ? core::WideToAnsi(std::wstring_view(
                                                  DriveLetters, ::SysStringLen(DriveLetters)))
                                            : std::string();
            // The dialog's handle travels as a 16-bit value and is sign-extended.
            const auto window =
                reinterpret_cast<HWND>(static_cast<INT_PTR>(hProgressDlg ? *hProgressDlg : 0));
            Win32ProgressWindow progress(window);
            Win32VssApi vss;
            VssSnapshotService service(vss);
            Win32VolumeControl volume;
            return RemoveSnapshots(letters, lAlgo, {progress, service, volume, [] {
                                                        return ReadShredChar(kSnapwipe);
                                                    }});
        } catch (...) {
            return E_UNEXPECTED;
        }
    }
};

class SnapwipeoFactory : public core::ModuleClassFactory
{
public:
    SnapwipeoFactory() : ModuleClassFactory(g_moduleLocks) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* instance = new (std::nothrow) CSnapwipeo();
        if (!instance)
            return E_OUTOFMEMORY;
        const HRESULT result = instance->QueryInterface(iid, object);
        instance->Release();
        return result;
    }
};

}  // namespace

LONG SnapwipeModuleLocks() noexcept
{
    return g_moduleLocks;
}

IClassFactory* NewSnapwipeoFactory() noexcept
{
    return new (std::nothrow) SnapwipeoFactory();
}

}  // namespace shred::snapshots
