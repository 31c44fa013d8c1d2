// The exports of the base language library: which per-language libraries a folder offers for a
// file-name pattern, and the suite's current language as a code. Nothing may throw out of these
// functions.
#include "suite/common/language_catalog.h"
#include "suite/common/language_entry.h"
#include "support/language/language_setting.h"
#include "support/language/registry_language_store_win32.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

namespace suite {
namespace {

// How many entries the last count promised: a later listing never fills more, even when the
// folder gained files in between.
std::atomic<int> g_promisedCount{0};

std::vector<std::wstring> FileNamesIn(const wchar_t* folder, const wchar_t* pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const std::wstring query = std::wstring(folder) + pattern;
    HANDLE find = ::FindFirstFileW(query.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return names;
}

std::vector<CatalogEntry> Catalog(const wchar_t* folder, const wchar_t* pattern)
{
    if (!folder || !pattern)
        return {};
    return ListLanguageLibraries(folder, pattern, FileNamesIn(folder, pattern));
}

}  // namespace
}  // namespace suite

extern "C" {

int WINAPI GetAmountLanguages(const wchar_t* folder, const wchar_t* pattern,
                              const wchar_t* productVersion) noexcept
{
    try {
        const int count = static_cast<int>(suite::Catalog(folder, pattern).size());
        suite::g_promisedCount = count;
        return count;
    } catch (...) {
        return 0;
    }
}

int WINAPI GetLanguages(const wchar_t* folder, const wchar_t* pattern,
                        const wchar_t* productVersion, suite::LanguageEntry* entries) noexcept
{
    if (!entries)
        return 0;
    try {
        const std::vector<suite::CatalogEntry> catalog = suite::Catalog(folder, pattern);
        const int count = std::min(static_cast<int>(catalog.size()), suite::g_promisedCount.load());
        for (int i = 0; i < count; ++i) {
            const suite::CatalogEntry& item = catalog[static_cast<std::size_t>(i)];
            suite::CopyTerminated(entries[i].code, suite::kCodeChars, item.code);
            suite::CopyTerminated(entries[i].name, suite::kNameChars, item.code);
            suite::CopyTerminated(entries[i].path, suite::kPathChars, item.path);
            suite::CopyTerminated(entries[i].extra, suite::kExtraChars, L"");
        }
        return count;
    } catch (...) {
        return 0;
    }
}

HGLOBAL WINAPI GetCurrentLanguage() noexcept
{
    std::wstring_view code = language::kNeutralLanguage.code;
    try {
        language::RegistryLanguageStore store;
        code = language::LanguageCodeForNumber(language::ResolveCurrentLanguage(store));
    } catch (...) {
    }
    HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, (code.size() + 1) * sizeof(wchar_t));
    if (block) {
        auto* chars = static_cast<wchar_t*>(block);
        std::memcpy(chars, code.data(), code.size() * sizeof(wchar_t));
        chars[code.size()] = L'\0';
    }
    return block;
}

void WINAPI SetCurrentLanguage(DWORD number, const wchar_t* code) noexcept
{
    language::StoreCurrentLanguage(number, code ? code : L"");
}

}  // extern "C"
