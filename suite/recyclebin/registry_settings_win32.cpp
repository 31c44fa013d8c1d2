#include "suite/recyclebin/registry_settings_win32.h"

#include "core/unique_handle.h"
#include "suite/common/suite_paths_win32.h"

#include <windows.h>

namespace trashwipe {
namespace {

HKEY RootKey(SettingsRoot root)
{
    return root == SettingsRoot::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

}  // namespace

std::uint32_t RegistrySettingsStore::ReadDword(SettingsRoot root, const std::wstring& key,
                                               std::wstring_view value)
{
    core::UniqueKey opened;
    if (::RegOpenKeyExW(RootKey(root), key.c_str(), 0, KEY_READ, opened.Put()) != ERROR_SUCCESS)
        return 0;
    DWORD number = 0;
    DWORD size = sizeof(number);
    const std::wstring name(value);
    // A value shorter than four bytes would leave part of the number unset: it counts as missing.
    if (::RegQueryValueExW(opened.Get(), name.c_str(), nullptr, nullptr,
                           reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS ||
        size != sizeof(number))
        return 0;
    return number;
}

long RegistrySettingsStore::WriteDword(SettingsRoot root, const std::wstring& key,
                                       std::wstring_view value, std::uint32_t number)
{
    core::UniqueKey opened;
    const LONG created =
        ::RegCreateKeyExW(RootKey(root), key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, opened.Put(), nullptr);
    if (created != ERROR_SUCCESS)
        return created;
    const std::wstring name(value);
    const DWORD data = number;
    return ::RegSetValueExW(opened.Get(), name.c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

std::optional<std::wstring> RegistrySettingsStore::ReadText(SettingsRoot root,
                                                            const std::wstring& key,
                                                            std::wstring_view value)
{
    const std::wstring name(value);
    return suite::ReadRegistryText(RootKey(root), key.c_str(), name.c_str());
}

}  // namespace trashwipe
