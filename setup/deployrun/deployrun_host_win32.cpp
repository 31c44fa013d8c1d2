#include "setup/deployrun/deployrun_host_win32.h"

#include <shlobj.h>
#include <windows.h>

#include "core/unique_handle.h"
#include "setup/engine/components/statements_components.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/engine/media/media_acquire_win32.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/statements/statements_text_files.h"
#include "setup/engine/system/file_utils_win32.h"
#include "setup/engine/system/setup_messages_win32.h"
#include "setup/engine/workers/plugin_call_win32.h"
#include "setup/engine/workers/worker_protocol.h"
#include "setup/sysconfig/installer/installer_bridge_win32.h"
#include "setup/sysconfig/trace_log.h"
#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/language_form.h"

namespace setup::deployrun {

namespace {

std::string ReadStringValue(HKEY root, const std::string& keyPath, const char* valueName)
{
    core::UniqueKey key;
    if (::RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return {};
    char buffer[2048] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                           &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return buffer;
}

// Progress bars animate a marquee themselves from Windows XP on.
bool IsXPOrLater(const engine::OsVersionInfo& version)
{
    return version.major > 5 || (version.major == 5 && version.minor > 0);
}

}  // namespace

DeployrunInterpreterHost::DeployrunInterpreterHost(engine::SetupScript& script,
                                                   engine::EngineState& engine,
                                                   WizardDialogs& dialogs,
                                                   const std::string& packagePath,
                                                   engine::ISystemFacts& system)
    : Win32InterpreterHostBase([&engine] {
          return engine::GetWizardCaption(engine.CaptionTitle, engine.CaptionSuffix);
      }),
      m_script(script),
      m_engine(engine),
      m_dialogs(dialogs),
      m_system(system),
      m_cache(script, engine, engine::RunComponentModel(engine), packagePath, engine.DataDir,
              engine.SourceOverride),
      m_installThread(m_cache.Bridge()),
      m_progress(wizard::ProgressEnvironment{
          engine.Variables, engine.Parts.Get<engine::WorkerFlags>(), dialogs.Runtime(),
          m_installThread, IsXPOrLater(engine::GetOsVersionInfo(system))}),
      m_installerDialogs(m_progress)
{
    sysconfig::installer::InstallerSettings& installer = m_cache.Bridge().settings;
    installer.traceLogPath = engine.TraceLogPath;
    installer.windowsNT = engine::GetOsVersionInfo(system).nt;
    installer.dialogs = &m_installerDialogs;
    wizard::AttachProgress(dialogs.Runtime(), &m_progress);
}

DeployrunInterpreterHost::~DeployrunInterpreterHost()
{
    m_cache.Bridge().settings.dialogs = nullptr;
    wizard::AttachProgress(m_dialogs.Runtime(), nullptr);
}

engine::InterpreterHost DeployrunInterpreterHost::Bundle()
{
    return {*this, *this, *this, *this, *this, m_system, *this, *this, *this, *this, *this, *this};
}

void DeployrunInterpreterHost::Trace(const std::string& line)
{
    sysconfig::WriteTraceLog(m_engine.TraceLogPath, line);
}

void DeployrunInterpreterHost::DetectInstallation()
{
    m_cache.DetectInstallation();
}

void DeployrunInterpreterHost::AddMSIProperty(const std::string& name, const std::string& value)
{
    m_cache.Bridge().properties.AddMSIProperty(name, value);
}

std::string DeployrunInterpreterHost::UserLanguageName()
{
    return engine::UserLanguageName();
}

std::string DeployrunInterpreterHost::GetCacheRoot(bool allUsers)
{
    return m_cache.GetCacheRoot(allUsers);
}

std::string DeployrunInterpreterHost::LanguageCacheFolder(const std::string&)
{
    return m_cache.LanguageCacheFolder();
}

std::string DeployrunInterpreterHost::ReadUninstallString(const std::string& title,
                                                          bool machineHive)
{
    return ReadStringValue(machineHive ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                           "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + title,
                           "UninstallString");
}

bool DeployrunInterpreterHost::FileExists(const std::string& path)
{
    return Win32InterpreterHostBase::FileExists(path);
}

void DeployrunInterpreterHost::LoadLanguageStrings(const std::string& path)
{
    m_engine.Messages->Load(path, UserLanguageName());
}

engine::LanguageChoice DeployrunInterpreterHost::ShowLanguageForm(
    const std::vector<std::string>& entries, int preselected)
{
    const engine::OsVersionInfo os = engine::GetOsVersionInfo(m_system);
    const wizard::WindowsVersion version{static_cast<int>(os.major), static_cast<int>(os.minor)};
    return wizard::ShowLanguageForm(m_dialogs.Runtime().application, *m_engine.Messages, version,
                                    entries, preselected);
}

engine::PageResult DeployrunInterpreterHost::ShowDialog(const std::string& key, bool modal)
{
    // A cancel applies to the worker that runs while the page shown now is on screen.
    m_engine.Parts.Get<engine::WorkerFlags>().cancelled = false;
    return m_dialogs.ShowDialog(key, modal);
}

void DeployrunInterpreterHost::ReleaseDialog(const std::string& key)
{
    m_dialogs.ReleaseDialog(key);
}

void DeployrunInterpreterHost::PrepareDialog(const std::string& key, std::uintptr_t)
{
    m_dialogs.PrepareDialog(key);
}

void DeployrunInterpreterHost::HideDialog(const std::string& key)
{
    m_dialogs.HideDialog(key);
}

void DeployrunInterpreterHost::MinimizeToTray(std::uintptr_t window)
{
    m_dialogs.MinimizeToTray(window);
}

// The window to bring back is the foreground dialog window the pool knows as well.
void DeployrunInterpreterHost::RestoreFromTray(std::uintptr_t)
{
    m_dialogs.RestoreFromTray();
}

void DeployrunInterpreterHost::SetTrayIcon(bool visible, const std::string& hint)
{
    m_dialogs.SetTrayIcon(visible, hint);
}

void DeployrunInterpreterHost::ShowTrayBalloon(const engine::TrayBalloon& balloon)
{
    m_dialogs.ShowTrayBalloon(balloon);
}

int DeployrunInterpreterHost::CheckCancel()
{
    return engine::CheckCancel(m_engine.Parts.Get<engine::WorkerFlags>());
}

void DeployrunInterpreterHost::PublishProgress(const std::string&, int)
{
    ProcessMessages();
}

void DeployrunInterpreterHost::ExecutePlugin(int statementIndex)
{
    engine::ExecutePluginStatement(m_script, m_engine, statementIndex, *this, m_system);
}

void DeployrunInterpreterHost::AcquireMediaBlock(const std::string& media)
{
    // In media mode 2 the blocks go to the installer cache of the current ALLUSERS.
    const std::string cacheDataDir =
        m_script.SetupMode == 2
            ? engine::IncludeBackslash(m_cache.GetCacheRoot(
                  engine::TextToBool(m_engine.Variables.Get("ALLUSERS")))) +
                  m_script.CacheId + "\\"
            : std::string();
    engine::AcquireMediaBlockWin32(m_engine, m_script, media, cacheDataDir);
}

std::optional<std::string> DeployrunInterpreterHost::BrowseForFolder(const std::string& title)
{
    const auto [chosen, folder] =
        engine::BrowseForFolder(title, "", reinterpret_cast<HWND>(m_engine.ForegroundDialogWindow));
    if (!chosen)
        return std::nullopt;
    return folder;
}

void DeployrunInterpreterHost::ShowPluginError(const std::string& text)
{
    const std::string caption =
        engine::GetWizardCaption(m_engine.CaptionTitle, m_engine.CaptionSuffix);
    ::MessageBoxA(reinterpret_cast<HWND>(m_engine.ForegroundDialogWindow), text.c_str(),
                  caption.c_str(), MB_OK | MB_ICONERROR);
}

std::string DeployrunInterpreterHost::RunPlugin(const std::string& libraryPath,
                                                const std::string& variables,
                                                const std::string& parameters)
{
    engine::PluginRequest request;
    request.owner = reinterpret_cast<HWND>(m_engine.ForegroundDialogWindow);
    request.libraryPath = libraryPath;
    request.variables = variables;
    request.parameters = parameters;
    engine::FsRedirectionScope redirection(m_wow64, m_engine.TargetPlatform);
    engine::TargetRegistryViewScope view(m_wow64, m_engine);
    engine::VariableWorkerReport report(m_engine.Variables.Store());
    request.report = &report;
    engine::PluginWait wait;
    wait.silent = m_engine.Variables.SilentMode;
    wait.checkCancel = [this] { return CheckCancel(); };
    return engine::RunPluginCommand(request, m_engine.Parts.Get<engine::WorkerFlags>(), wait);
}

void DeployrunInterpreterHost::ResetComponents(engine::EngineState& engine)
{
    engine::ComponentModel& components = engine::RunComponentModel(engine);
    engine::ResetComponentModel(components);
    // The component sizes the script was compiled with.
    components.ComponentTable = m_script.ComponentTable;
}

void DeployrunInterpreterHost::DefinePredefinedComponent(engine::EngineState& engine)
{
    engine::DefinePredefinedComponent(engine::RunComponentModel(engine));
}

void DeployrunInterpreterHost::CloseInterpreterResources()
{
    // A text file a script left half-read is not carried into the next run.
    engine::CloseOpenTextFile(m_engine);
    m_dialogs.Close();
}

}  // namespace setup::deployrun
