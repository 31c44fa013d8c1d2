#include "shred/snapshots/snapwipe_com.h"

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

// IUnknown of an object with one interface; it holds a module lock while it lives.
template <typename Interface>
class ModuleComObject : public Interface
{
public:
    explicit ModuleComObject(const IID& iid) : m_iid(iid)
    {
        ::InterlockedIncrement(&g_moduleLocks);
    }
    virtual ~ModuleComObject() { ::InterlockedDecrement(&g_moduleLocks); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, m_iid)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = ::InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return left;
    }

private:
    const IID& m_iid;
    LONG m_references = 1;
};

class CSnapwipeo : public ModuleComObject<ISnapwipeo>
{
public:
    CSnapwipeo() : ModuleComObject(kISnapwipeoIid) {}

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

class SnapwipeoFactory : public ModuleComObject<IClassFactory>
{
public:
    SnapwipeoFactory() : ModuleComObject(IID_IClassFactory) {}

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
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            ::InterlockedIncrement(&g_moduleLocks);
        else
            ::InterlockedDecrement(&g_moduleLocks);
        return S_OK;
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
