// Loads the language library built beside the test and binds its exports by name, as the suite's
// programs do.
#pragma once

#include "core/cstring_abi.h"
#include "core/unique_handle.h"

#include <windows.h>

#include <string>

namespace language::testing {

struct LingotextLibrary
{
    using ByInt = core::CStringW(WINAPI*)(int, int);
    using ByString = core::CStringW(WINAPI*)(int, core::CStringW);
    using ByStringW = wchar_t*(WINAPI*)(int, const wchar_t*);
    using ByStringA = char*(WINAPI*)(int, const char*);
    using GetCurrent = int(WINAPI*)();
    using SetCurrent = void(WINAPI*)(DWORD, core::CStringW);
    using LanguageInt = int(WINAPI*)(core::CStringW);
    using BitmapIdOf = int(WINAPI*)(int, core::CStringW);
    using Amount = int(WINAPI*)();

    core::UniqueModule module;
    ByInt getStringByInt = nullptr;
    ByString getStringByString = nullptr;
    ByStringW getStringByStringW = nullptr;
    ByStringA getStringByStringA = nullptr;
    GetCurrent getCurrentLanguage = nullptr;
    SetCurrent setCurrentLanguage = nullptr;
    LanguageInt getLanguageInt = nullptr;
    BitmapIdOf getBitmapId = nullptr;
    Amount getAmountLanguages = nullptr;

    static std::wstring PathBesideTest()
    {
        wchar_t exe[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring path = exe;
        path.resize(path.find_last_of(L"\\/") + 1);
        return path + L"Lingotext_DE.dll";
    }

    template <typename F>
    void Bind(F& target, const char* name)
    {
        target = reinterpret_cast<F>(::GetProcAddress(module.Get(), name));
    }

    bool Load()
    {
        module.Reset(::LoadLibraryW(PathBesideTest().c_str()));
        if (!module)
            return false;
        Bind(getStringByInt, "GetStringByInt");
        Bind(getStringByString, "GetStringByString");
        Bind(getStringByStringW, "GetStringByStringW");
        Bind(getStringByStringA, "GetStringByStringA");
        Bind(getCurrentLanguage, "GetCurrentLanguage");
        Bind(setCurrentLanguage, "SetCurrentLanguage");
        Bind(getLanguageInt, "GetLanguageInt");
        Bind(getBitmapId, "GetBitmapId");
        Bind(getAmountLanguages, "GetAmountLanguages");
        return getStringByInt && getStringByString && getStringByStringW && getStringByStringA &&
               getCurrentLanguage && setCurrentLanguage && getLanguageInt && getBitmapId &&
               getAmountLanguages;
    }
};

}  // namespace language::testing
