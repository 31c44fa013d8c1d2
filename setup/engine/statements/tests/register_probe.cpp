// A COM server library of the registration tests' own: its registration entry points append
// "register" or "unregister" to the file named by REGISTER_PROBE_RECORD and succeed, or, built
// with REGISTER_PROBE_FAILS, fail with E_FAIL.
#include <windows.h>

#include <string>

namespace {

HRESULT Record(const char* word)
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetEnvironmentVariableA("REGISTER_PROBE_RECORD", path, sizeof(path));
    if (length > 0 && length < sizeof(path)) {
        const HANDLE file = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            const std::string line = std::string(word) + "\n";
            DWORD written = 0;
            ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            ::CloseHandle(file);
        }
    }
#ifdef REGISTER_PROBE_FAILS
    return E_FAIL;
#else
    return S_OK;
#endif
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return Record("register");
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return Record("unregister");
}
