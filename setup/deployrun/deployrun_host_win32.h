// The interpreter host of the setup program: the Windows services of the base host, plug-in
// commands on worker threads, the pages through the dialog pool with the run's progress display,
// and the installation detection and installer cache.
#pragma once

#include <string>

#include "setup/deployrun/wizard_dialogs.h"
#include "setup/engine/installer/installer_cache_host_win32.h"
#include "setup/engine/interpreter/interpreter_host_win32.h"
#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/engine/interpreter/statements_package.h"
#include "setup/engine/script/setup_script.h"
#include "setup/engine/statements/statements_registry_win32.h"
#include "setup/engine/workers/plugin_statement.h"
#include "setup/wizard/progress/bridge_install_thread_win32.h"
#include "setup/wizard/progress/page_installer_dialogs.h"
#include "setup/wizard/progress/progress_runtime.h"

namespace setup::deployrun {

class DeployrunInterpreterHost final : public engine::Win32InterpreterHostBase,
                                       public engine::IInstallationDetection,
                                       public engine::IComponentReset,
                                       public engine::IPluginRunner,
                                       public engine::IInterpreterResources,
                                       public engine::IRemovableMedia,
                                       public engine::IPackageMedia,
                                       private engine::IPluginStatementHost
{
public:
    // system: the Windows facts of the run.
    DeployrunInterpreterHost(engine::SetupScript& script, engine::EngineState& engine,
                             WizardDialogs& dialogs, const std::string& packagePath,
                             engine::ISystemFacts& system);
    ~DeployrunInterpreterHost() override;
    DeployrunInterpreterHost(const DeployrunInterpreterHost&) = delete;
    DeployrunInterpreterHost& operator=(const DeployrunInterpreterHost&) = delete;

    // The installer cache of this run: its statements and the script run that records the state.
    sysconfig::installer::InstallerCacheHost& Cache() { return m_cache; }
    // This host behind every interface of a run, beside the Windows facts.
    engine::InterpreterHost Bundle();

    void Trace(const std::string& line) override;
    void DetectInstallation() override;
    std::string DefaultTargetDir() override { return m_cache.DefaultTargetDir(); }
    void TakeOverPatchState() override { m_cache.TakeOverPatchState(); }
    void ResetComponents(engine::EngineState& engine) override;
    void DefinePredefinedComponent(engine::EngineState& engine) override;
    void AddMSIProperty(const std::string& name, const std::string& value) override;
    std::string UserLanguageName() override;
    std::string GetCacheRoot(bool allUsers) override;
    std::string LanguageCacheFolder(const std::string& packagePath) override;
    std::string ReadUninstallString(const std::string& title, bool machineHive) override;
    bool FileExists(const std::string& path) override;
    void LoadLanguageStrings(const std::string& path) override;
    engine::LanguageChoice ShowLanguageForm(const std::vector<std::string>& entries,
                                            int preselected) override;
    void ReleaseDialog(const std::string& key) override;
    void PrepareDialog(const std::string& key, std::uintptr_t ownerWindow) override;
    engine::PageResult ShowDialog(const std::string& key, bool modal) override;
    void HideDialog(const std::string& key) override;
    void MinimizeToTray(std::uintptr_t window) override;
    void RestoreFromTray(std::uintptr_t window) override;
    void SetTrayIcon(bool visible, const std::string& hint) override;
    void ShowTrayBalloon(const engine::TrayBalloon& balloon) override;
    int CheckCancel() override;
    void PublishProgress(const std::string& text, int position) override;
    void ExecutePlugin(int statementIndex) override;
    void CloseInterpreterResources() override;
    bool IsRemovableMediaGone(const std::string&) override { return false; }
    void EndAfterMediaRemoved(int) override {}
    // The package-backed, installer and plug-in statements' web media blocks.
    void AcquireMediaBlock(const std::string& media) override;

private:
    // Plug-in statements.
    std::optional<std::string> BrowseForFolder(const std::string& title) override;
    void ShowPluginError(const std::string& text) override;
    std::string RunPlugin(const std::string& libraryPath, const std::string& variables,
                          const std::string& parameters) override;

    engine::SetupScript& m_script;
    engine::EngineState& m_engine;
    WizardDialogs& m_dialogs;
    engine::ISystemFacts& m_system;
    engine::Win32Wow64Services m_wow64;
    sysconfig::installer::InstallerCacheHost m_cache;
    // The progress pages follow the installer bridge's thread and start it.
    wizard::BridgeInstallThread m_installThread;
    wizard::ProgressRuntime m_progress;
    wizard::PageInstallerDialogs m_installerDialogs;
};

}  // namespace setup::deployrun
