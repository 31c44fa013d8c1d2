// The language client: loads the base language library from the suite's library folder, lets it
// list the per-language libraries for this library's file-name pattern, picks the current language
// and serves texts and bitmaps by key from the per-language libraries.
#pragma once

#include "core/unique_handle.h"
#include "suite/common/language_entry.h"
#include "suite/common/user_messages.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace suite {

inline constexpr wchar_t kBaseLanguageLibrary[] = L"Lingotext.dll";

enum class LanguageLibraryUse
{
    KeepLoaded,   // every per-language library loaded once, with its GetBitmapId bound
    LoadPerCall,  // each text or bitmap loads its library and releases it again
};

struct LanguageClientSetup
{
    std::wstring pattern;         // such as "LingotextUpdate_*.dll"
    std::wstring productVersion;  // handed to the base library, "%d.%d.%d.%d" or "none"
    LanguageLibraryUse use = LanguageLibraryUse::KeepLoaded;
    std::wstring baseLibrary = kBaseLanguageLibrary;
    // A base library without SetCurrentLanguage is refused unless this is false.
    bool requireSetCurrentLanguage = true;
};

// A bitmap resource of a per-language library: what the picture control loads its image from.
struct LanguageImage
{
    HMODULE module;
    int resourceId;
};

class CVNTLanguageClient
{
public:
    CVNTLanguageClient(ISuiteLocator& locator, IUserMessages& messages, LanguageClientSetup setup);
    ~CVNTLanguageClient();
    CVNTLanguageClient(const CVNTLanguageClient&) = delete;
    CVNTLanguageClient& operator=(const CVNTLanguageClient&) = delete;

    bool HasLanguages() const noexcept { return m_count > 0; }
    int Count() const noexcept { return m_count; }
    int CurrentIndex() const noexcept { return m_currentIndex; }

    std::wstring GetString(std::wstring_view key, int languageIndex);
    std::wstring GetString(std::wstring_view key) { return GetString(key, m_currentIndex); }
    // -1 means the current language. The caller owns the bitmap.
    HBITMAP LoadBitmap(std::wstring_view name, int languageIndex = -1);
    // The module and resource number of a named image, for the picture control.
    std::optional<LanguageImage> FindImage(std::wstring_view name, int languageIndex = -1);
    // Asks the base library again and stores the index it leads to.
    int VNTGetCurrentLanguage();
    // The base library's current language code, from a fresh load of the base library.
    std::wstring GetCurrentLanguageCode();
    // A C-heap copy of the key's text in the current language, which the caller frees; none on
    // failure.
    wchar_t* GetStringW(std::wstring_view key);
    void ApplyLanguageCodes(const std::function<void(std::wstring_view)>& receiver,
                            int languageIndex);

private:
    using AmountFunction = int(WINAPI*)(const wchar_t*, const wchar_t*, const wchar_t*);
    using LanguagesFunction = int(WINAPI*)(const wchar_t*, const wchar_t*, const wchar_t*,
                                           LanguageEntry*);
    using CurrentFunction = HGLOBAL(WINAPI*)();

    void Construct();
    bool BindBaseExports();
    void AllocateEntries(int count);
    bool LoadEntryLibraries();
    std::wstring BaseLibraryPathForCode();
    std::wstring EntryPath(int index) const;
    std::wstring CallGetString(HMODULE module, std::wstring_view key);

    ISuiteLocator& m_locator;
    IUserMessages& m_messages;
    LanguageClientSetup m_setup;

    int m_currentIndex = 0;
    std::vector<LanguageEntry> m_entries;
    std::vector<std::unique_ptr<wchar_t[]>> m_buffers;
    AmountFunction m_getAmountLanguages = nullptr;
    LanguagesFunction m_getLanguages = nullptr;
    CurrentFunction m_getCurrentLanguage = nullptr;
    FARPROC m_setCurrentLanguage = nullptr;  // required of the base library, never called
    core::UniqueModule m_baseLibrary;
    int m_count = 0;
};

// The code a global-memory block from the base library holds; the block is freed.
std::wstring TakeGlobalText(HGLOBAL block);

}  // namespace suite
