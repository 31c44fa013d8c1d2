// "mgac.exe", the assembly-cache tool the setup program carries: "/u Name,Version=x.y.z.w"
// removes that assembly from the global assembly cache through the cache's own interface.
// Exit codes: 0 removed or not there, 1 refused, 2 a command line it does not understand.
#include <windows.h>

#include <fusion.h>

#include <string>

namespace {

using CreateAssemblyCacheFunction = HRESULT(WINAPI*)(IAssemblyCache** cache, DWORD reserved);

// Beside the runtime where the system keeps it, else wherever the loader finds it.
HMODULE LoadFusion()
{
    using LoadLibraryShimFunction = HRESULT(WINAPI*)(LPCWSTR, LPCWSTR, LPVOID, HMODULE*);
    if (HMODULE runtime = ::LoadLibraryW(L"mscoree.dll")) {
        const auto shim =
            reinterpret_cast<LoadLibraryShimFunction>(::GetProcAddress(runtime, "LoadLibraryShim"));
        HMODULE fusion = nullptr;
        if (shim != nullptr && SUCCEEDED(shim(L"fusion.dll", nullptr, nullptr, &fusion)))
            return fusion;
    }
    return ::LoadLibraryW(L"fusion.dll");
}

int Uninstall(const std::wstring& assembly)
{
    HMODULE fusion = LoadFusion();
    const auto create = fusion ? reinterpret_cast<CreateAssemblyCacheFunction>(
                                     ::GetProcAddress(fusion, "CreateAssemblyCache"))
                               : nullptr;
    IAssemblyCache* cache = nullptr;
    if (create == nullptr || FAILED(create(&cache, 0)) || cache == nullptr)
        return 1;
    ULONG disposition = 0;
    const HRESULT result = cache->UninstallAssembly(0, assembly.c_str(), nullptr, &disposition);
    cache->Release();
    if (SUCCEEDED(result))
        return disposition == IASSEMBLYCACHE_UNINSTALL_DISPOSITION_STILL_IN_USE ? 1 : 0;
    // An assembly that is not in the cache is what the caller wants.
    return result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3 || (std::wstring(argv[1]) != L"/u" && std::wstring(argv[1]) != L"/U"))
        return 2;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return Uninstall(argv[2]);
}
