// A per-language library for the tests, built once per language code: every key's text is the key
// and the code ("update_name@DE") unless FIXTURE_TEXT_<key> is set in the environment, keys
// starting with "missing" have none, "Language_codes" gives the code, and four bitmaps are carried
// ("banner" and the update dialogs' pictures). Built without FIXTURE_BITMAP_ID it lacks
// GetBitmapId.
#include "core/cstring_abi.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#ifndef FIXTURE_LANGUAGE_CODE
#error "FIXTURE_LANGUAGE_CODE names the library's language"
#endif

namespace {

std::wstring TextOf(std::wstring_view key)
{
    // A test may give a key a real text through the environment (an update server's address).
    const std::wstring variable = L"FIXTURE_TEXT_" + std::wstring(key);
    wchar_t given[2048];
    const DWORD length = ::GetEnvironmentVariableW(variable.c_str(), given, 2048);
    if (length > 0 && length < 2048)
        return std::wstring(given, length);
    if (key.starts_with(L"missing"))
        return {};
    if (key == L"Language_codes")
        return FIXTURE_LANGUAGE_CODE;
    return std::wstring(key) + L"@" + FIXTURE_LANGUAGE_CODE;
}

wchar_t g_emptyText[1] = {L'\0'};

}  // namespace

extern "C" {

core::CStringW WINAPI GetStringByString(int column, core::CStringW key) noexcept
{
    core::CStringHolder held = core::CStringHolder::Adopt(key);
    return core::CStringCreate(TextOf(held.View()));
}

wchar_t* WINAPI GetStringByStringW(int column, const wchar_t* key) noexcept
{
    const std::wstring text = key ? TextOf(key) : std::wstring();
    if (text.empty())
        return g_emptyText;
    auto* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
    if (!copy)
        return g_emptyText;
    std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    return copy;
}

#ifdef FIXTURE_BITMAP_ID
int WINAPI GetBitmapId(int language, core::CStringW name) noexcept
{
    core::CStringHolder held = core::CStringHolder::Adopt(name);
    const wchar_t* names[] = {L"banner", L"update_title", L"title_icon_down", L"whatsnew"};
    for (int n = 0; n < 4; ++n) {
        if (held.View() == names[n])
            return language * 100 + n + 1;
    }
    return -1;
}
#endif

}  // extern "C"
