#include "support/language/registry_language_store_win32.h"

#include "core/unique_handle.h"

#include <climits>
#include <string>

namespace language {
namespace {

constexpr wchar_t kCommonKey[] = L"Software\\Vontar Security\\Common";
constexpr wchar_t kCodeKeys[][64] = {
    L"Software\\Vontar Security\\Tollan60\\TServerForm",
    L"Software\\Vontar Security\\Vontar70\\Settings",
};
constexpr wchar_t kValueName[] = L"CurrentLanguage";

core::UniqueKey CreateUserKey(const wchar_t* subKey, REGSAM access) noexcept
{
    core::UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                          nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        return core::UniqueKey();
    return key;
}

}  // namespace

void StoreCurrentLanguage(DWORD number, std::wstring_view code) noexcept
{
    core::UniqueKey common = CreateUserKey(kCommonKey, KEY_WRITE);
    if (!common)
        return;
    ::RegSetValueExW(common.Get(), kValueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof(number));
    common.Reset();

    // Readers of these two values take the data length as the text length: no terminator counted.
    // RegSetValueExW counts a terminator in when one follows the given length, so the characters
    // are handed over from a copy that a non-zero character follows.
    std::wstring data;
    try {
        data.assign(code);
        data.push_back(L'?');
    } catch (...) {
        return;
    }
    const DWORD bytes = code.size() > INT_MAX / sizeof(wchar_t)
                            ? 0
                            : static_cast<DWORD>(code.size() * sizeof(wchar_t));
    for (const wchar_t* subKey : kCodeKeys) {
        core::UniqueKey key = CreateUserKey(subKey, KEY_WRITE);
        if (!key)
            return;
        ::RegSetValueExW(key.Get(), kValueName, 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(data.c_str()), bytes);
    }
}

std::optional<std::uint32_t> RegistryLanguageStore::ReadNumber()
{
    core::UniqueKey key = CreateUserKey(kCommonKey, KEY_ALL_ACCESS);
    if (!key)
        return std::nullopt;
    // The type is not examined: whatever four bytes (or fewer) stand there are the number.
    DWORD number = 0;
    DWORD size = sizeof(number);
    if (::RegQueryValueExW(key.Get(), kValueName, nullptr, nullptr,
                           reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return number;
}

void RegistryLanguageStore::Write(std::uint32_t number, std::wstring_view code)
{
    StoreCurrentLanguage(number, code);
}

std::wstring RegistryLanguageStore::UserDefaultLanguageId()
{
    wchar_t buffer[10] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTLANGUAGE, buffer, 10) == 0)
        return std::wstring();
    return buffer;
}

}  // namespace language
