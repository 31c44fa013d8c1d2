// What Explorermenu keeps per process: the menu configuration, read once, and the text record (the
// language client and the texts already looked up), each behind its own re-entrant lock. Process-
// wide on purpose: Explorer creates a handler object per menu, and they all share one reading.
#pragma once

#include "suite/common/language_client_win32.h"
#include "suite/shellmenu/menu_configuration.h"
#include "suite/shellmenu/selection.h"

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace shellmenu {

inline constexpr wchar_t kShellLanguageBase[] = L"LingotextShellExt.dll";
inline constexpr wchar_t kShellLanguagePattern[] = L"LingotextShellExt_*.dll";

class ExplorermenuContext
{
public:
    static ExplorermenuContext& Instance();

    // The commands every item of the selection shares, in menu order.
    CommandList SharedCommands(const std::vector<ShellObject>& selection);
    std::wstring ProductName();
    // The key's text in the language current at its first use, else the key.
    std::wstring TextOf(const std::wstring& key);
    // The configured menu bitmap from the current language's library; the caller owns it.
    HBITMAP LoadMenuBitmap();
    // When the module unloads.
    void DestroyConfiguration();

private:
    ExplorermenuContext() = default;
    MenuConfiguration& Configuration();  // the configuration lock is held
    void MakeTextRecord();               // the text lock is held

    std::recursive_mutex m_configurationLock;
    std::optional<MenuConfiguration> m_configuration;

    std::recursive_mutex m_textLock;
    bool m_textRecordMade = false;
    std::unique_ptr<suite::CVNTLanguageClient> m_languages;
    bool m_hasLanguages = false;
    std::map<std::wstring, std::wstring> m_texts;
};

}  // namespace shellmenu
