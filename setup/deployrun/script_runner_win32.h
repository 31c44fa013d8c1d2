// The interpreter run of the setup program: the engine state built from what start-up learned,
// the built-in statements, and the setup program's interpreter host.
#pragma once

#include "setup/deployrun/headless_dialogs.h"
#include "setup/deployrun/startup_services.h"

namespace setup::deployrun {

class Win32ScriptRunner final : public IScriptRunner
{
public:
    explicit Win32ScriptRunner(HeadlessDialogPool& dialogs) : m_dialogs(dialogs) {}

    int RunScript(engine::SetupScript& script, const StartupFacts& facts,
                  const std::string& packagePath) override;
    std::string WizardCaption() override { return m_caption; }

private:
    HeadlessDialogPool& m_dialogs;
    std::string m_caption;
};

}  // namespace setup::deployrun
