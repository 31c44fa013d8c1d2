#include "setup/engine/statements/statements_registry_win32.h"

#include <vector>

#include "core/unique_handle.h"

namespace setup::engine {

namespace {

constexpr DWORD kEnvironmentBufferBytes = 0x41000;

using DeleteKeyExFunction = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
using IsWow64Function = BOOL(WINAPI*)(HANDLE, PBOOL);
using DisableRedirectionFunction = BOOL(WINAPI*)(PVOID*);
using RevertRedirectionFunction = BOOL(WINAPI*)(PVOID);

template <typename Function>
Function LookUp(const char* module, const char* name)
{
    const HMODULE handle = ::GetModuleHandleA(module);
    if (handle == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(handle, name)));
}

// Key paths may start with a backslash: they are relative to the root all the same.
std::string RelativePath(const std::string& keyPath)
{
    return !keyPath.empty() && keyPath.front() == '\\' ? keyPath.substr(1) : keyPath;
}

core::UniqueKey OpenKey(HKEY parent, const std::string& path, REGSAM access)
{
    core::UniqueKey key;
    if (parent == nullptr ||
        ::RegOpenKeyExA(parent, RelativePath(path).c_str(), 0, access, key.Put()) != ERROR_SUCCESS)
        key.Reset();
    return key;
}

bool DeleteOneKey(HKEY parent, const std::string& name, REGSAM view)
{
    static const auto deleteKeyEx = LookUp<DeleteKeyExFunction>("advapi32.dll", "RegDeleteKeyExA");
    if (deleteKeyEx != nullptr)
        return deleteKeyEx(parent, name.c_str(), view, 0) == ERROR_SUCCESS;
    return ::RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

// Every sub-key before its parent, all in the same view.
bool DeleteTree(HKEY parent, const std::string& path, REGSAM view)
{
    {
        const core::UniqueKey key =
            OpenKey(parent, path, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | view);
        if (!key)
            return false;
        std::vector<std::string> children;
        char name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof(name);
            if (::RegEnumKeyExA(key.Get(), index, name, &length, nullptr, nullptr, nullptr,
                                nullptr) != ERROR_SUCCESS)
                break;
            children.emplace_back(name, length);
        }
        for (const std::string& child : children)
            DeleteTree(key.Get(), child, view);
    }
    return DeleteOneKey(parent, RelativePath(path), view);
}

}  // namespace

HKEY RegistryRootKey(int root)
{
    switch (root) {
        case 0:
            return HKEY_CLASSES_ROOT;
        case 1:
            return HKEY_CURRENT_USER;
        case 2:
            return HKEY_LOCAL_MACHINE;
        case 3:
            return HKEY_USERS;
        case 4:
            return HKEY_CURRENT_CONFIG;
        default:
            return nullptr;
    }
}

RegistryReadStatus Win32Registry::ReadValue(int root, const std::string& keyPath,
                                            const std::string& valueName, std::uint32_t view,
                                            RegistryValue& value)
{
    const core::UniqueKey key = OpenKey(RegistryRootKey(root), keyPath, KEY_READ | view);
    if (!key)
        return RegistryReadStatus::NoKey;
    DWORD type = 0;
    DWORD size = 0;
    LONG status = ::RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return RegistryReadStatus::NoValue;
    // A value that grows between the two calls is asked for again.
    for (int attempt = 0; status == ERROR_SUCCESS || status == ERROR_MORE_DATA; ++attempt) {
        if (attempt == 4)
            break;
        value.data.assign(size, '\0');
        status = ::RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(value.data.data()), &size);
        if (status == ERROR_SUCCESS) {
            value.data.resize(size);
            value.type = type;
            return RegistryReadStatus::Found;
        }
    }
    return status == ERROR_FILE_NOT_FOUND ? RegistryReadStatus::NoValue
                                          : RegistryReadStatus::ReadError;
}

void Win32Registry::DeleteValue(int root, const std::string& keyPath, const std::string& valueName,
                                std::uint32_t view)
{
    const core::UniqueKey key =
        OpenKey(RegistryRootKey(root), keyPath, KEY_READ | KEY_WRITE | view);
    if (key)
        ::RegDeleteValueA(key.Get(), valueName.c_str());
}

void Win32Registry::DeleteKeyTree(int root, const std::string& keyPath, std::uint32_t view)
{
    const HKEY rootKey = RegistryRootKey(root);
    if (rootKey != nullptr && !RelativePath(keyPath).empty())
        DeleteTree(rootKey, keyPath, view);
}

void Win32Registry::DeleteKeyTree64(int root, const std::string& keyPath)
{
    const HKEY rootKey = RegistryRootKey(root);
    if (rootKey != nullptr)
        DeleteRegistryKey64(rootKey, keyPath);
}

bool DeleteRegistryKey64(HKEY root, const std::string& keyPath)
{
    const std::string path = RelativePath(keyPath);
    const std::size_t last = path.rfind('\\');
    if (last == std::string::npos)
        return false;
    const core::UniqueKey parent =
        OpenKey(root, path.substr(0, last), KEY_READ | KEY_WRITE | KEY_WOW64_64KEY);
    if (!parent)
        return false;
    return DeleteTree(parent.Get(), path.substr(last + 1), KEY_WOW64_64KEY);
}

bool Win32Wow64Services::IsWow64()
{
    static const auto isWow64 = LookUp<IsWow64Function>("kernel32", "IsWow64Process");
    BOOL result = FALSE;
    return isWow64 != nullptr && isWow64(::GetCurrentProcess(), &result) && result;
}

bool Win32Wow64Services::DisableRedirection(void*& oldValue)
{
    static const auto disable =
        LookUp<DisableRedirectionFunction>("kernel32.dll", "Wow64DisableWow64FsRedirection");
    if (disable == nullptr)
        return false;
    return disable(&oldValue) != FALSE;
}

bool Win32Wow64Services::RevertRedirection(void* oldValue)
{
    static const auto revert =
        LookUp<RevertRedirectionFunction>("kernel32.dll", "Wow64RevertWow64FsRedirection");
    return revert != nullptr && revert(oldValue) != FALSE;
}

std::string Win32ProcessEnvironment::Expand(const std::string& text)
{
    std::string buffer(kEnvironmentBufferBytes, '\0');
    DWORD needed =
        ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (needed > buffer.size()) {
        // Longer than the usual buffer: asked again rather than cut off.
        buffer.assign(needed, '\0');
        needed = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), needed);
    }
    if (needed == 0 || needed > buffer.size())
        return text;
    return buffer.substr(0, buffer.find('\0'));
}

std::string Win32ProcessEnvironment::BlockText()
{
    return GetEnvironmentBlockText();
}

// The headers name the ANSI block function without its suffix; the wide one hides behind the
// plain name in Unicode builds.
#pragma push_macro("GetEnvironmentStrings")
#undef GetEnvironmentStrings
std::string GetEnvironmentBlockText()
{
    char* block = ::GetEnvironmentStrings();
    if (block == nullptr)
        return {};
    std::string text;
    bool first = true;
    for (const char* entry = block; *entry != '\0';) {
        const std::string line(entry);
        if (!first)
            text += "$NEWLINE$";
        first = false;
        text += line;
        entry += line.size() + 1;
    }
    ::FreeEnvironmentStringsA(block);
    return text;
}
#pragma pop_macro("GetEnvironmentStrings")

SystemStatementServices Win32SystemStatementServices()
{
    static Win32Registry registry;
    static Win32Wow64Services wow64;
    static Win32ProcessEnvironment environment;
    return {&registry, &wow64, &environment};
}

}  // namespace setup::engine
