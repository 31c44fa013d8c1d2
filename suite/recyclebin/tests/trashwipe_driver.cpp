// Loads Trashwipe.dll from beside it and calls its export once, silently, as a program of the
// suite does; the export's answer is the exit code, 100 when the library or export is missing.
#include <windows.h>

int wmain()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    while (length > 0 && path[0] && path[::lstrlenW(path) - 1] != L'\\')
        path[::lstrlenW(path) - 1] = L'\0';
    ::lstrcatW(path, L"Trashwipe.dll");
    HMODULE library = ::LoadLibraryW(path);
    if (!library)
        return 100;
    using ShredRecycleBin = int(__cdecl*)(void*, const wchar_t*, int);
    const auto shred =
        reinterpret_cast<ShredRecycleBin>(::GetProcAddress(library, "VNTShredRecycleBin"));
    if (!shred)
        return 100;
    const int result = shred(nullptr, L"Driver Product", 0);
    ::FreeLibrary(library);
    return result;
}
