#include "setup/wizard/progress/page_installer_dialogs.h"

namespace setup::wizard {

std::uintptr_t PageInstallerDialogs::FindDialogWindow(const std::string& key)
{
    IProgressPage* page = key.empty() ? nullptr : m_runtime.FindPage(key);
    return page != nullptr ? page->WindowHandle() : 0;
}

}  // namespace setup::wizard
