// The setup program's wizard pages: start-up preloads them into the dialog runtime's pool, and
// the interpreter's pages are released, bound and shown through it.
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

    // Releases the modal page shown before, binds the page of the key and shows it.
    engine::PageResult ShowDialog(const std::string& key, bool modal);
    wizard::DialogRuntime& Runtime() { return m_runtime; }
    // The pages go with the run.
    void Close();

private:
    wizard::DialogRuntime& m_runtime;
    std::string m_pendingKey;  // the modal page shown last, released by the next
};

}  // namespace setup::deployrun
