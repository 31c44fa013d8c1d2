// Trashwipe's export: the Recycle Bin's contents dialog with the shell's bin, the suite's
// libraries, the registry and real windows. The caller removes the arguments; nothing may throw
// out of it.
#include "suite/common/suite_paths_win32.h"
#include "suite/recyclebin/contents_dialog_win32.h"
#include "suite/recyclebin/filewipe_engine_win32.h"
#include "suite/recyclebin/registry_settings_win32.h"
#include "suite/recyclebin/shell_recycle_bin_win32.h"
#include "suite/recyclebin/ui_services_win32.h"

#include <commctrl.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace trashwipe {
namespace {

constexpr wchar_t kLanguagePattern[] = L"Lingotext_*.dll";

// The caller's product name outlives the call: a later call without one keeps using it.
std::wstring& ProductNameOverride()
{
    static auto* text = new std::wstring();
    return *text;
}

void RunShredder(bool interactive)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    suite::RegistrySuiteLocator locator;
    Win32UiServices ui(L"Trashwipe");
    suite::CVNTLanguageClient languages(
        locator, ui,
        suite::LanguageClientSetup{kLanguagePattern, suite::GetFileVersionText(ui),
                                   suite::LanguageLibraryUse::LoadPerCall});
    ClientTexts texts(languages);
    RegistrySettingsStore store;
    TrashwipeSettings settings(ProductNameOverride(), texts, store);
    ShellRecycleBin bin;
    FilewipeEngine engine(locator, ui);
    SystemLogClock clock;
    TrashwipeEnvironment environment{reinterpret_cast<HINSTANCE>(&__ImageBase),
                                     texts,
                                     &languages,
                                     settings,
                                     ui,
                                     locator,
                                     bin,
                                     engine,
                                     clock,
                                     ReadWindowsVersion(),
                                     ListOldRecycledFiles};
    ContentsDialog dialog(environment, interactive);
    dialog.Run();
}

}  // namespace
}  // namespace trashwipe

extern "C" int __cdecl VNTShredRecycleBin(void* /*reserved*/, const wchar_t* productName,
                                          int flag) noexcept
{
    try {
        if (productName)
            trashwipe::ProductNameOverride() = productName;
        trashwipe::RunShredder(flag != 0);
    } catch (...) {
    }
    return 0;
}
