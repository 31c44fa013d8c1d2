// Snapwipe's exports: the four entry points of an in-process COM server, serving both the class
// and the proxy/stub of its interface.
#include "core/module_path.h"
#include "shred/snapshots/snapwipe_com.h"
#include "shred/snapshots/snapwipe_proxy.h"
#include "shred/snapshots/snapwipe_registration.h"

#include <string>

namespace {

HMODULE g_module = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    // The proxy/stub registers and serves its factory through this module's handle.
    return PrxDllMain(instance, reason, reserved);
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    using namespace shred::snapshots;
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, kSnapwipeoClsid))
        return PrxDllGetClassObject(clsid, iid, object);
    IClassFactory* factory = NewSnapwipeoFactory();
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    if (shred::snapshots::SnapwipeModuleLocks() != 0)
        return S_FALSE;
    return PrxDllCanUnloadNow();
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    try {
        const std::wstring path = core::ModulePath(g_module);
        if (path.empty())
            return E_FAIL;
        const HRESULT keys = shred::snapshots::RegisterSnapwipe(HKEY_CLASSES_ROOT, path);
        if (FAILED(keys))
            return keys;
        const HRESULT library = shred::snapshots::RegisterSnapwipeTypeLib(path);
        if (FAILED(library))
            return library;
        // Last, so that the interface key names this module's proxy/stub whatever the type
        // library's registration wrote there.
        return PrxDllRegisterServer();
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    try {
        const HRESULT library = shred::snapshots::UnregisterSnapwipeTypeLib();
        const HRESULT keys = shred::snapshots::UnregisterSnapwipe(HKEY_CLASSES_ROOT);
        const HRESULT proxy = PrxDllUnregisterServer();
        if (FAILED(keys))
            return keys;
        return FAILED(library) ? library : proxy;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}
