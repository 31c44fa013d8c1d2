#include "suite/update/refreshkit_context_win32.h"

#include "core/text_convert.h"
#include "suite/common/library_path.h"

namespace update {

RefreshkitContext& RefreshkitContext::Instance()
{
    static RefreshkitContext context;
    return context;
}

suite::CVNTLanguageClient& RefreshkitContext::Languages()
{
    if (!m_languages) {
        m_languages = std::make_unique<suite::CVNTLanguageClient>(
            m_locator, m_messages,
            suite::LanguageClientSetup{kLanguagePattern,
                                       GetLibraryVersionText(m_locator, m_messages),
                                       suite::LanguageLibraryUse::KeepLoaded});
    }
    return *m_languages;
}

std::optional<std::wstring> GetUpdateURL()
{
    return suite::ReadRegistryText(HKEY_LOCAL_MACHINE, L"Software\\Vontar Security\\Refreshkit",
                                   L"UpdateURL");
}

std::wstring GetLibraryVersionText(suite::ISuiteLocator& locator, suite::IUserMessages& messages)
{
    const std::wstring path =
        suite::JoinLibraryPath(locator.SuiteLibraryFolder(kRefreshkitLibrary), kRefreshkitLibrary);
    return suite::ReadVersionText(path, suite::VersionOf::Library, messages);
}

std::wstring Win32UpdateEnvironment::UserLanguageId()
{
    wchar_t id[10] = {};
    if (!::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTLANGUAGE, id, 10))
        return {};
    return id;
}

std::wstring Win32UpdateEnvironment::OsVersionText()
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    return std::to_wstring(info.dwMajorVersion) + L'.' + std::to_wstring(info.dwMinorVersion) +
           L'.' + std::to_wstring(info.dwBuildNumber);
}

std::wstring Win32UpdateEnvironment::TempFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    return length && length <= MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

bool Win32UpdateEnvironment::FitsAnsiCodePage(std::wstring_view text)
{
    try {
        return core::AnsiToWide(core::WideToAnsi(text)) == text;
    } catch (...) {
        return false;
    }
}

std::wstring Win32UpdateEnvironment::FromAnsiCodePage(std::string_view bytes)
{
    return core::AnsiToWide(bytes);
}

}  // namespace update
