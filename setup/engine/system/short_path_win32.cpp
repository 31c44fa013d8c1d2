// Windows ANSI calls answer "?" for characters the code page cannot map; these routines then ask
// the wide call and hand back the 8.3 form of the path, which is plain ASCII.
#include "setup/engine/system/file_utils_win32.h"

#include <cstring>

#include "core/text_convert.h"
#include "setup/engine/script/path_text.h"

namespace setup::engine {
namespace {

constexpr DWORD kWideBufferChars = 16704;  // 33,408 bytes

bool HoldsUnmappable(const std::string& path)
{
    return path.find('?') != std::string::npos;
}

// Copies a name into a caller's buffer: 122 when it does not fit with its NUL.
DWORD CopyName(const std::string& name, char* buffer, DWORD size)
{
    if (size == 0)
        return ERROR_INSUFFICIENT_BUFFER;
    if (name.size() + 1 > size) {
        std::memcpy(buffer, name.data(), size - 1);
        buffer[size - 1] = '\0';
        return ERROR_INSUFFICIENT_BUFFER;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return static_cast<DWORD>(name.size());
}

}  // namespace

std::string ShortAnsiPath(const std::wstring& path)
{
    std::wstring buffer(kWideBufferChars, L'\0');
    const DWORD length = ::GetShortPathNameW(path.c_str(), buffer.data(), kWideBufferChars);
    if (length == 0 || length >= kWideBufferChars)
        return core::WideToAnsi(path);
    buffer.resize(length);
    return core::WideToAnsi(buffer);
}

DWORD GetModuleFileNameSafe(HMODULE module, char* buffer, DWORD size)
{
    std::string name(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(module, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            if (size > 0)
                buffer[0] = '\0';
            return 0;
        }
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        if (name.size() >= kWideBufferChars)
            break;
        name.resize(name.size() * 2);
    }
    if (IsWindowsNT() && HoldsUnmappable(name)) {
        // The same module's name, not the program's: a library asking for its own name must
        // not be told the program's.
        std::wstring wide(kWideBufferChars, L'\0');
        const DWORD length = ::GetModuleFileNameW(module, wide.data(), kWideBufferChars);
        if (length > 0 && length < kWideBufferChars) {
            wide.resize(length);
            name = ShortAnsiPath(wide);
        }
    }
    return CopyName(name, buffer, size);
}

std::string GetParamStr(int index)
{
    if (index == 0 && IsWindowsNT()) {
        char buffer[MAX_PATH + 1];
        GetModuleFileNameSafe(nullptr, buffer, sizeof buffer);
        return buffer;
    }
    return ParamStrOf(::GetCommandLineA(), index);
}

namespace {

// The shell's folder functions, bound once for the process: loading and freeing their libraries
// for every folder asked costs more than the question. The libraries stay loaded.
struct ShellFolderFunctions
{
    BOOL(WINAPI* getPathFromIdListW)(PCIDLIST_ABSOLUTE, LPWSTR) = nullptr;
    HRESULT(WINAPI* getFolderPathA)(HWND, int, HANDLE, DWORD, LPSTR) = nullptr;
    HRESULT(WINAPI* getFolderPathW)(HWND, int, HANDLE, DWORD, LPWSTR) = nullptr;
};

template <typename Function>
void Bind(HMODULE library, const char* name, Function& function)
{
    if (library)
        function = reinterpret_cast<Function>(::GetProcAddress(library, name));
}

const ShellFolderFunctions& BoundFunctions()
{
    static const ShellFolderFunctions functions = [] {
        ShellFolderFunctions bound;
        Bind(::LoadLibraryA("shell32.dll"), "SHGetPathFromIDListW", bound.getPathFromIdListW);
        const HMODULE shfolder = ::LoadLibraryA("shfolder.dll");
        Bind(shfolder, "SHGetFolderPathA", bound.getFolderPathA);
        Bind(shfolder, "SHGetFolderPathW", bound.getFolderPathW);
        return bound;
    }();
    return functions;
}

}  // namespace

bool GetPathFromPidlSafe(PCIDLIST_ABSOLUTE itemList, char* buffer)
{
    bool found = ::SHGetPathFromIDListA(itemList, buffer) != FALSE;
    if (!found)
        buffer[0] = '\0';
    if (!IsWindowsNT())
        return found;
    const std::string path = buffer;
    if (found && !HoldsUnmappable(path) && DirectoryExistsAnsi(path))
        return found;

    const auto getPathW = BoundFunctions().getPathFromIdListW;
    std::wstring wide(kWideBufferChars, L'\0');
    if (getPathW == nullptr || !getPathW(itemList, wide.data()))
        return found;
    wide.resize(std::wcslen(wide.c_str()));
    const std::string shortPath = ShortAnsiPath(wide);
    if (shortPath.size() >= MAX_PATH)
        return found;
    std::memcpy(buffer, shortPath.c_str(), shortPath.size() + 1);
    return true;
}

std::pair<bool, std::string> GetFolderPathFallback(int folder)
{
    const auto getA = BoundFunctions().getFolderPathA;
    if (getA == nullptr)
        return {false, {}};
    char path[MAX_PATH + 1] = {};
    HRESULT result = getA(::GetDesktopWindow(), folder, nullptr, 0, path);
    bool success = result != S_FALSE && result != E_INVALIDARG;
    std::string text = path;
    if (HoldsUnmappable(text) || !DirectoryExistsAnsi(text)) {
        const auto getW = BoundFunctions().getFolderPathW;
        wchar_t wide[MAX_PATH + 1] = {};
        if (getW != nullptr) {
            result = getW(::GetDesktopWindow(), folder, nullptr, 0, wide);
            success = result != E_FAIL && result != E_INVALIDARG;
            if (success)
                text = ShortAnsiPath(wide);
        }
    }
    return {success, text};
}

}  // namespace setup::engine
