#include "suite/shellmenu/explorermenu_context_win32.h"

#include "suite/common/suite_paths_win32.h"
#include "suite/shellmenu/registry_key_win32.h"

namespace shellmenu {
namespace {

// Explorer's process shows nothing: every failure of the language client stays silent.
class SilentMessages final : public suite::IUserMessages
{
public:
    void Show(std::wstring_view, std::wstring_view, suite::MessageIcon) override {}
};

// The library folders the setup recorded, in the 64-bit view's path or else the 32-bit one's.
class ShellExtensionLocator final : public suite::ISuiteLocator
{
public:
    std::wstring SuiteLibraryFolder(std::wstring_view fileName) override
    {
        const std::wstring name(fileName);
        for (const wchar_t* path :
             {suite::kLibraryFoldersKey, L"Software\\Wow6432Node\\Vontar Security\\Paths\\DLLs"}) {
            HKEY key = nullptr;
            if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
                continue;
            ::RegCloseKey(key);
            return suite::ReadRegistryText(HKEY_LOCAL_MACHINE, path, name.c_str()).value_or(L"");
        }
        return {};
    }
    std::wstring ModuleFolder() override { return suite::GetModuleFolder(); }
};

std::wstring ReadProductVersion()
{
    auto key = OpenShellExtensionKey();
    if (!key)
        return {};
    const std::optional<RegistryData> data = key->ReadValue(L"");
    return data ? TextFromRegistryData(*data).value_or(L"") : std::wstring();
}

}  // namespace

ExplorermenuContext& ExplorermenuContext::Instance()
{
    static ExplorermenuContext context;
    return context;
}

MenuConfiguration& ExplorermenuContext::Configuration()
{
    if (!m_configuration) {
        m_configuration.emplace();
        auto key = OpenShellExtensionKey();
        m_configuration->Load(key.get(), [this](const std::wstring& k) { return TextOf(k); });
    }
    return *m_configuration;
}

CommandList ExplorermenuContext::SharedCommands(const std::vector<ShellObject>& selection)
{
    std::lock_guard lock(m_configurationLock);
    return shellmenu::SharedCommands(selection, Configuration());
}

std::wstring ExplorermenuContext::ProductName()
{
    std::lock_guard lock(m_configurationLock);
    return Configuration().ProductName();
}

void ExplorermenuContext::MakeTextRecord()
{
    if (m_textRecordMade)
        return;
    m_textRecordMade = true;
    // The version is read on its own, so that the configuration's texts are looked up only once
    // the client is there to give them.
    static SilentMessages messages;
    static ShellExtensionLocator locator;
    suite::LanguageClientSetup setup;
    setup.pattern = kShellLanguagePattern;
    setup.productVersion = ReadProductVersion();
    setup.use = suite::LanguageLibraryUse::LoadPerCall;
    setup.baseLibrary = kShellLanguageBase;
    setup.requireSetCurrentLanguage = false;
    m_languages = std::make_unique<suite::CVNTLanguageClient>(locator, messages, std::move(setup));
    m_hasLanguages = m_languages->HasLanguages();
}

std::wstring ExplorermenuContext::TextOf(const std::wstring& key)
{
    std::lock_guard lock(m_textLock);
    MakeTextRecord();
    if (const auto found = m_texts.find(key); found != m_texts.end())
        return found->second;
    std::wstring text;
    if (m_languages && m_hasLanguages)
        text = m_languages->GetString(key, m_languages->VNTGetCurrentLanguage());
    if (text.empty())
        text = key;
    m_texts.emplace(key, text);
    return text;
}

HBITMAP ExplorermenuContext::LoadMenuBitmap()
{
    std::lock_guard lock(m_textLock);
    MakeTextRecord();
    if (!m_languages || !m_hasLanguages)
        return nullptr;
    std::wstring name;
    {
        std::lock_guard configurationLock(m_configurationLock);
        name = Configuration().BitmapName();
    }
    return m_languages->LoadBitmap(name, m_languages->VNTGetCurrentLanguage());
}

void ExplorermenuContext::DestroyConfiguration()
{
    std::lock_guard lock(m_configurationLock);
    m_configuration.reset();
}

}  // namespace shellmenu
