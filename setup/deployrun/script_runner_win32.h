// The interpreter run of the setup program: the engine state built from what start-up learned,
// the built-in statements, and the setup program's interpreter host.
#pragma once

#include "setup/deployrun/wizard_dialogs.h"
#include "setup/deployrun/startup_services.h"
#include "setup/engine/interpreter/interpreter_state.h"

namespace setup::deployrun {

class Win32ScriptRunner final : public IScriptRunner
{
public:
    // engine: the run's state, which the pages loaded at start-up are bound to.
    Win32ScriptRunner(engine::EngineState& engine, WizardDialogs& dialogs)
        : m_engine(engine), m_dialogs(dialogs)
    {
    }

    int RunScript(engine::SetupScript& script, const StartupFacts& facts,
                  const std::string& packagePath) override;
    std::string WizardCaption() override { return m_caption; }

private:
    engine::EngineState& m_engine;
    WizardDialogs& m_dialogs;
    std::string m_caption;
};

}  // namespace setup::deployrun
