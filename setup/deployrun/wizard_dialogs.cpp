#include "setup/deployrun/wizard_dialogs.h"

#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/page_binding.h"

namespace setup::deployrun {

void WizardDialogs::InitDialogPool(const std::string& supportDir)
{
    wizard::InitDialogPool(m_runtime, supportDir);
}

void WizardDialogs::LoadDialog(const std::string& key, const std::string& file)
{
    wizard::LoadDialog(m_runtime, key, file);
}

void WizardDialogs::ReleaseDialog(const std::string& key)
{
    wizard::ReleaseDialog(m_runtime, key);
}

void WizardDialogs::PrepareDialog(const std::string& key)
{
    wizard::PrepareDialog(m_runtime, key);
}

engine::PageResult WizardDialogs::ShowDialog(const std::string& key, bool modal)
{
    const wizard::ShownDialog shown = wizard::ShowDialog(m_runtime, key, modal, false);
    engine::PageResult result;
    result.code = shown.result;
    result.controlName = shown.resultText;
    result.window = shown.window;
    return result;
}

void WizardDialogs::HideDialog(const std::string& key)
{
    wizard::HideDialog(m_runtime, key);
}

void WizardDialogs::Close()
{
    wizard::FreeDialogPool(m_runtime);
    try {
        m_tray.Tray().SetVisible(false);
    } catch (const std::exception&) {
        // An icon the shell lost already is gone all the same.
    }
}

}  // namespace setup::deployrun
