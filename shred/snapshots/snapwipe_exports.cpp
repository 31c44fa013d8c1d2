// Snapwipe's exports: the four entry points of an in-process COM server.
#include "shred/snapshots/snapwipe_com.h"
#include "shred/snapshots/snapwipe_registration.h"

#include <string>

namespace {

HMODULE g_module = nullptr;

std::wstring ModulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    using namespace shred::snapshots;
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, kSnapwipeoClsid))
        return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = NewSnapwipeoFactory();
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return shred::snapshots::SnapwipeModuleLocks() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    try {
        const std::wstring path = ModulePath();
        if (path.empty())
            return E_FAIL;
        const HRESULT keys = shred::snapshots::RegisterSnapwipe(HKEY_CLASSES_ROOT, path);
        if (FAILED(keys))
            return keys;
        return shred::snapshots::RegisterSnapwipeTypeLib(path);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    try {
        const HRESULT library = shred::snapshots::UnregisterSnapwipeTypeLib();
        const HRESULT keys = shred::snapshots::UnregisterSnapwipe(HKEY_CLASSES_ROOT);
        return FAILED(keys) ? keys : library;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}
