// The setup program's wizard pages: start-up preloads them into the dialog runtime's pool, and
// the dialog statements release, bind, show and hide them through it.
#pragma once

#include <string>

#include "setup/deployrun/startup_services.h"
#include "setup/engine/interpreter/interpreter_host.h"
#include "setup/wizard/dialog_runtime.h"

namespace setup::deployrun {

class WizardDialogs final : public IDialogPool
{
public:
    explicit WizardDialogs(wizard::DialogRuntime& runtime) : m_runtime(runtime) {}

    void InitDialogPool(const std::string& supportDir) override;
    void LoadDialog(const std::string& key, const std::string& file) override;

    // Takes the page's handlers off again, binds it to the variables, shows it, hides it.
    void ReleaseDialog(const std::string& key);
    void PrepareDialog(const std::string& key);
    engine::PageResult ShowDialog(const std::string& key, bool modal);
    void HideDialog(const std::string& key);
    wizard::DialogRuntime& Runtime() { return m_runtime; }
    // The pages go with the run.
    void Close();

private:
    wizard::DialogRuntime& m_runtime;
};

}  // namespace setup::deployrun
