#include "setup/deployrun/wizard_dialogs.h"

#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/page_binding.h"

namespace setup::deployrun {

void WizardDialogs::InitDialogPool(const std::string& supportDir)
{
    wizard::InitDialogPool(m_runtime, supportDir);
    m_pendingKey.clear();
}

void WizardDialogs::LoadDialog(const std::string& key, const std::string& file)
{
    wizard::LoadDialog(m_runtime, key, file);
}

engine::PageResult WizardDialogs::ShowDialog(const std::string& key, bool modal)
{
    if (!m_pendingKey.empty()) {
        wizard::ReleaseDialog(m_runtime, m_pendingKey);
        m_pendingKey.clear();
    }
    wizard::PrepareDialog(m_runtime, key);
    const wizard::ShownDialog shown = wizard::ShowDialog(m_runtime, key, modal, false);
    if (modal)
        m_pendingKey = key;
    engine::PageResult result;
    result.code = shown.result;
    result.controlName = shown.resultText;
    result.window = shown.window;
    return result;
}

void WizardDialogs::Close()
{
    wizard::FreeDialogPool(m_runtime);
    m_pendingKey.clear();
}

}  // namespace setup::deployrun
