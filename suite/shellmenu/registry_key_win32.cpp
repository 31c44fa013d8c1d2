#include "suite/shellmenu/registry_key_win32.h"

#include "core/unique_handle.h"

namespace shellmenu {
namespace {

constexpr wchar_t kShellExtensionKey[] = L"SOFTWARE\\Vontar Security\\Shell Extension";
constexpr wchar_t kShellExtensionKey32[] =
    L"SOFTWARE\\Wow6432Node\\Vontar Security\\Shell Extension";

std::optional<RegistryData> QueryValue(HKEY key, const wchar_t* name)
{
    RegistryData data;
    data.bytes.assign(kStringValueBytes, '\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.bytes.size());
    const LSTATUS status = ::RegQueryValueExW(key, name, nullptr, &type,
                                              reinterpret_cast<BYTE*>(data.bytes.data()), &size);
    if (status == ERROR_MORE_DATA) {
        data.type = type;
        data.bytes.clear();
        data.fits = false;
        return data;
    }
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    data.type = type;
    data.bytes.resize(size);
    return data;
}

class Win32RegistryKey final : public IRegistryKey
{
public:
    explicit Win32RegistryKey(HKEY key) : m_key(key) {}

    std::unique_ptr<IRegistryKey> OpenSubKey(const std::wstring& name) override
    {
        HKEY sub = nullptr;
        if (::RegOpenKeyExW(m_key.Get(), name.c_str(), 0, KEY_READ, &sub) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<Win32RegistryKey>(sub);
    }
    std::vector<std::wstring> SubKeyNames() override
    {
        std::vector<std::wstring> names;
        for (DWORD index = 0;; ++index) {
            wchar_t name[kNameChars];
            DWORD length = kNameChars;
            if (::RegEnumKeyExW(m_key.Get(), index, name, &length, nullptr, nullptr, nullptr,
                                nullptr) != ERROR_SUCCESS)
                return names;
            names.emplace_back(name, length);
        }
    }
    std::vector<std::wstring> ValueNames() override
    {
        std::vector<std::wstring> names;
        for (DWORD index = 0;; ++index) {
            wchar_t name[kNameChars];
            DWORD length = kNameChars;
            if (::RegEnumValueW(m_key.Get(), index, name, &length, nullptr, nullptr, nullptr,
                                nullptr) != ERROR_SUCCESS)
                return names;
            names.emplace_back(name, length);
        }
    }
    std::optional<RegistryData> ReadValue(const std::wstring& name) override
    {
        return QueryValue(m_key.Get(), name.empty() ? nullptr : name.c_str());
    }

private:
    core::UniqueKey m_key;
};

HKEY RootKey(RegistryRoot root)
{
    return root == RegistryRoot::Machine ? HKEY_LOCAL_MACHINE : HKEY_CLASSES_ROOT;
}

}  // namespace

std::unique_ptr<IRegistryKey> OpenShellExtensionKey()
{
    for (const wchar_t* path : {kShellExtensionKey, kShellExtensionKey32}) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS)
            return std::make_unique<Win32RegistryKey>(key);
    }
    return nullptr;
}

std::optional<std::wstring> ReadTreatAs(HKEY classKey)
{
    HKEY raw = nullptr;
    const std::wstring params =
        std::wstring(L"shellex\\ContextMenuHandlers\\") + kHandlerName + L"\\VNTShellExParams";
    if (::RegOpenKeyExW(classKey, params.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    core::UniqueKey key(raw);
    const std::optional<RegistryData> data = QueryValue(key.Get(), L"treatAs");
    if (!data)
        return std::nullopt;
    return TextFromRegistryData(*data);
}

HRESULT RemoveScript(const RegistrationScript& script)
{
    HRESULT result = S_OK;
    for (const std::wstring& key : script.removedKeys) {
        const LSTATUS status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
        if (status == ERROR_SUCCESS)
            ::RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
        else if (status != ERROR_FILE_NOT_FOUND && SUCCEEDED(result))
            result = HRESULT_FROM_WIN32(status);
    }
    for (const RegistrationValue& value : script.removedValues) {
        const LSTATUS status =
            ::RegDeleteKeyValueW(RootKey(value.root), value.key.c_str(), value.name.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND && SUCCEEDED(result))
            result = HRESULT_FROM_WIN32(status);
    }
    return result;
}

HRESULT ApplyScript(const RegistrationScript& script)
{
    // A second registration replaces the first rather than adding to it.
    RemoveScript(script);
    for (const RegistrationValue& value : script.values) {
        HKEY raw = nullptr;
        LSTATUS status = ::RegCreateKeyExW(RootKey(value.root), value.key.c_str(), 0, nullptr, 0,
                                           KEY_SET_VALUE, nullptr, &raw, nullptr);
        if (status != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(status);
        core::UniqueKey key(raw);
        status = ::RegSetValueExW(key.Get(), value.name.empty() ? nullptr : value.name.c_str(), 0,
                                  REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                                  static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
        if (status != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

}  // namespace shellmenu
