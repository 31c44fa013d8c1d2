// What Refreshkit keeps between calls in one process: the settings of the last check and the
// language client. Process-wide on purpose: the exports carry no handle a caller could keep it in.
#pragma once

#include "suite/common/language_client_win32.h"
#include "suite/common/suite_paths_win32.h"
#include "suite/update/refreshkit_settings.h"
#include "suite/update/update_request.h"

#include <memory>
#include <optional>
#include <string>

namespace update {

inline constexpr wchar_t kRefreshkitLibrary[] = L"Refreshkit.dll";
inline constexpr wchar_t kLanguagePattern[] = L"LingotextUpdate_*.dll";

class RefreshkitContext
{
public:
    static RefreshkitContext& Instance();

    CRefreshkitSettings& Settings() noexcept { return m_settings; }
    // The language client, constructed on first use.
    suite::CVNTLanguageClient& Languages();
    suite::IUserMessages& Messages() noexcept { return m_messages; }
    std::wstring Text(std::wstring_view key) { return Languages().GetString(key); }

private:
    RefreshkitContext() = default;

    CRefreshkitSettings m_settings;
    suite::RegistrySuiteLocator m_locator;
    suite::MessageBoxMessages m_messages{L"Refreshkit"};
    std::unique_ptr<suite::CVNTLanguageClient> m_languages;
};

// The "UpdateURL" setting, or nothing.
std::optional<std::wstring> GetUpdateURL();
// The version of Refreshkit.dll as the library lookup finds it: what the base language library is
// told.
std::wstring GetLibraryVersionText(suite::ISuiteLocator& locator, suite::IUserMessages& messages);

class Win32UpdateEnvironment final : public IUpdateEnvironment
{
public:
    explicit Win32UpdateEnvironment(suite::CVNTLanguageClient& languages) : m_languages(languages)
    {}
    std::wstring LanguageCode() override { return m_languages.GetCurrentLanguageCode(); }
    std::wstring UserLanguageId() override;
    std::wstring OsVersionText() override;
    std::wstring TempFolder() override;
    bool FitsAnsiCodePage(std::wstring_view text) override;
    std::wstring FromAnsiCodePage(std::string_view bytes) override;

private:
    suite::CVNTLanguageClient& m_languages;
};

}  // namespace update
