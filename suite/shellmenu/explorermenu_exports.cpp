// Explorermenu's exports: the four entry points of an in-process COM server. Registration writes
// the AppID and class scripts and the type library in the system's default locale, and tells
// Explorer to reread its associations whatever the outcome.
#include "core/module_path.h"
#include "suite/shellmenu/explorermenu_context_win32.h"
#include "suite/shellmenu/registration_plan.h"
#include "suite/shellmenu/registry_key_win32.h"
#include "suite/shellmenu/vnt_shell_ex_win32.h"

#include <oleauto.h>
#include <shlobj.h>

#include <string>

namespace {

HMODULE g_module = nullptr;

HRESULT RegisterTypeLibrary(const std::wstring& modulePath)
{
    ITypeLib* library = nullptr;
    const HRESULT result = ::LoadTypeLibEx(modulePath.c_str(), REGKIND_REGISTER, &library);
    if (library)
        library->Release();
    return result;
}

HRESULT UnregisterTypeLibrary()
{
#if defined(_WIN64)
    constexpr SYSKIND kind = SYS_WIN64;
#else
    constexpr SYSKIND kind = SYS_WIN32;
#endif
    const HRESULT result =
        ::UnRegisterTypeLib(shellmenu::kExplorermenuLibId, 1, 0, LANG_NEUTRAL, kind);
    // Nothing registered is what unregistration wants.
    return result == TYPE_E_REGISTRYACCESS || result == TYPE_E_LIBNOTREGISTERED ? S_OK : result;
}

HRESULT Register()
{
    const std::wstring path = core::ModulePath(g_module);
    if (path.empty())
        return E_FAIL;
    HRESULT result = shellmenu::ApplyScript(shellmenu::AppIdScript());
    if (SUCCEEDED(result))
        result = shellmenu::ApplyScript(shellmenu::ClassScript(path));
    if (SUCCEEDED(result))
        result = RegisterTypeLibrary(path);
    return result;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // An unload by FreeLibrary; at process end the memory goes anyway.
        shellmenu::ExplorermenuContext::Instance().DestroyConfiguration();
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, shellmenu::kVNTShellExClsid))
        return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = shellmenu::NewVNTShellExFactory();
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return shellmenu::ExplorermenuModuleLocks() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    const LCID locale = ::GetThreadLocale();
    ::SetThreadLocale(LOCALE_SYSTEM_DEFAULT);
    HRESULT result = E_OUTOFMEMORY;
    try {
        result = Register();
    } catch (...) {
    }
    ::SetThreadLocale(locale);
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return result;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    HRESULT result = E_OUTOFMEMORY;
    try {
        const HRESULT classes = shellmenu::RemoveScript(shellmenu::ClassScript(L""));
        const HRESULT library = UnregisterTypeLibrary();
        const HRESULT appId = shellmenu::RemoveScript(shellmenu::AppIdScript());
        result = FAILED(classes) ? classes : FAILED(library) ? library : appId;
    } catch (...) {
    }
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return result;
}
