#include "setup/engine/installer/installer_cache_host_win32.h"

#include "setup/engine/components/components_system.h"
#include "setup/engine/script/path_text.h"

namespace setup::sysconfig::installer {

InstallerCacheHost::InstallerCacheHost(engine::SetupScript& script, engine::EngineState& engine,
                                       engine::ComponentModel& components,
                                       const std::string& packagePath, const std::string& dataDir,
                                       const std::string& sourceSwitchFolder)
    : m_bridge(engine.Parts.Get<InstallerBridge>()),
      m_installerSystem(m_state, m_bridge, engine.process),
      m_context{script,        engine,  components, engine::SystemStateFileStore(),
                m_cacheSystem, m_state, packagePath},
      m_report(engine.Variables.Store())
{
    m_state.DataDir = dataDir.empty() ? dataDir : engine::IncludeBackslash(dataDir);
    m_state.MediaDir = m_state.DataDir;
    m_state.SourceSwitchFolder = sourceSwitchFolder;
}

void InstallerCacheHost::DetectInstallation()
{
    engine::DetectInstallation(m_context);
    PublishToInstallThread();
}

std::string InstallerCacheHost::GetCacheRoot(bool allUsers)
{
    return engine::GetCacheRoot(m_cacheSystem, m_context.script, m_context.engine.Variables,
                                allUsers);
}

void InstallerCacheHost::TakeOverPatchState()
{
    engine::TakeOverPatchState(m_context);
}

void InstallerCacheHost::RegisterStatements(engine::StatementHandlerTable& table,
                                            engine::IPackageMedia* media)
{
    engine::RegisterInstallerStatements(
        table, engine::InstallerStatementServices{&m_context, &m_installerSystem, media});
}

void InstallerCacheHost::RunScript(const engine::ScriptRun& run)
{
    engine::RunScript(run, m_context);
}

void InstallerCacheHost::PublishToInstallThread()
{
    InstallerSettings& settings = m_bridge.settings;
    settings.dataDir = m_state.DataDir;
    settings.cacheId = m_context.script.CacheId;
    settings.cacheRoot = [this](bool allUsers) { return GetCacheRoot(allUsers); };
    settings.report = &m_report;
}

}  // namespace setup::sysconfig::installer
