// The installer cache as the setup program's host runs it: one run's detection state, the
// Windows adapters, the statements' registration and the install thread's view of the cache.
#pragma once

#include <string>

#include "setup/engine/installer/installer_cache.h"
#include "setup/engine/installer/installer_system_win32.h"
#include "setup/engine/installer/statements_installer.h"
#include "setup/engine/workers/worker_protocol.h"
#include "setup/sysconfig/installer/installer_bridge_win32.h"

namespace setup::sysconfig::installer {

class InstallerCacheHost
{
public:
    // dataDir: the folder beside the setup program; sourceSwitchFolder: the "/p=" folder.
    InstallerCacheHost(engine::SetupScript& script, engine::EngineState& engine,
                       engine::ComponentModel& components, const std::string& packagePath,
                       const std::string& dataDir, const std::string& sourceSwitchFolder);

    // The host interface's detection calls.
    void DetectInstallation();
    std::string GetCacheRoot(bool allUsers);
    std::string DefaultTargetDir() const { return m_state.DefaultTargetDir; }
    void TakeOverPatchState();
    std::string LanguageCacheFolder() { return engine::StateFolder(m_context); }

    // Adds the Windows Installer statements to the table; media may be null.
    void RegisterStatements(engine::StatementHandlerTable& table, engine::IPackageMedia* media);
    // Instead of ExecuteScript: the state file is recorded afterwards.
    void RunScript(const engine::ScriptRun& run);

    engine::InstallationState& State() { return m_state; }
    const engine::CacheContext& Context() const { return m_context; }
    // The run's Windows Installer bridge, kept with the engine's state of the run.
    InstallerBridge& Bridge() { return m_bridge; }

private:
    // The install thread reads the data folder and the cache identity from its settings.
    void PublishToInstallThread();

    InstallerBridge& m_bridge;
    engine::InstallationState m_state;
    Win32CacheSystem m_cacheSystem;
    Win32InstallerSystem m_installerSystem;
    engine::CacheContext m_context;
    // The install thread's progress, finish and cancel, kept in the run's variables.
    engine::VariableWorkerReport m_report;
};

}  // namespace setup::sysconfig::installer
