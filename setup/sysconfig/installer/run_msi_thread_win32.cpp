// The GUI-thread side of an install: the parameter block, the start of the thread and the wait
// that keeps serving the thread's calls to the GUI thread.
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/workers/worker_wait_win32.h"
#include "setup/sysconfig/installer/installer_bridge_win32.h"
#include "setup/sysconfig/installer/msi_thread_win32.h"
#include "setup/sysconfig/installer/thread_progress.h"

namespace setup::sysconfig::installer {
namespace {

IInstallerDialogRuntime& Dialogs(const InstallerSettings& settings)
{
    static NoDialogRuntime none;
    return settings.dialogs ? *settings.dialogs : none;
}

bool SilentWait(const InstallerSettings& settings)
{
    return settings.script.silent;
}

// Current folder for the run, restored afterwards.
class CurrentFolderGuard
{
public:
    explicit CurrentFolderGuard(const std::string& folder)
    {
        char buffer[MAX_PATH + 1] = {};
        const DWORD length = ::GetCurrentDirectoryA(sizeof(buffer), buffer);
        m_saved.assign(buffer, length < sizeof(buffer) ? length : 0);
        if (!folder.empty())
            ::SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentFolderGuard()
    {
        if (!m_saved.empty())
            ::SetCurrentDirectoryA(m_saved.c_str());
    }
    CurrentFolderGuard(const CurrentFolderGuard&) = delete;
    CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

private:
    std::string m_saved;
};

void ResetRun(engine::IWorkerReport& report)
{
    report.SetFinished(false);
    report.ClearCancel();
}

}  // namespace

void StartMSIThread(InstallerBridge& bridge)
{
    bridge.thread.reset();  // a finished earlier run
    bridge.outcome = InstallOutcome();
    bridge.handler.session.lastMessageText.clear();
    bridge.thread = std::make_unique<TMSIThread>(bridge);
    bridge.thread->Start();
}

engine::IWorkerReport& RunReport(const InstallerSettings& settings)
{
    if (settings.report == nullptr)
        throw rtl::Exception("No run report was handed to the installer");
    return *settings.report;
}

int RunMSIThread(InstallerBridge& bridge, bool patchMode, const std::string& packagePath,
                 const std::string& dialogFilePath, const std::string& variablesText,
                 const std::string& propertiesText, const std::string& productCode, bool install,
                 bool advertise, std::string& errorText, const std::string& installLocation)
{
    IInstallerDialogRuntime& dialogs = Dialogs(bridge.settings);
    CurrentFolderGuard folder(engine::ExtractFilePath(dialogFilePath));

    MsiRunParameters& block = bridge.parameters;
    block.ownerWindow = dialogs.FindDialogWindow(dialogs.GetActiveDialogName());
    block.packagePath = packagePath;
    block.variablesText = variablesText;
    block.propertiesText = propertiesText;
    block.productCode = productCode;
    block.installFlag = install || advertise;
    block.advertiseFlag = advertise;
    block.installLocation = installLocation;
    block.patchMode = patchMode;
    block.dataFolder = bridge.settings.dataDir;
    block.patchSourceFolder = bridge.settings.patchSourceDir;

    engine::IWorkerReport& report = RunReport(bridge.settings);
    ResetRun(report);
    report.Progress("", -1, 0, 0);

    dialogs.SetWorkerBusy(true);
    StartMSIThread(bridge);
    TMSIThread& thread = *bridge.thread;
    const bool silent = SilentWait(bridge.settings);
    while (!report.Finished()) {
        // In silent mode the wait itself runs what the thread hands to the GUI thread.
        engine::WaitForWorker(&thread, silent);
        if (dialogs.CheckCancel() == -1)
            thread.Terminate();
        if (thread.Finished()) {
            rtl::CheckSynchronize();
            break;  // the thread reports before it ends; nothing more will come
        }
    }
    bridge.thread.reset();
    dialogs.SetWorkerBusy(false);

    errorText = bridge.outcome.errorText;
    return RunResult(bridge.outcome);
}

int RunMSIThreadOnProgressPage(InstallerBridge& bridge, std::string& errorText)
{
    IInstallerDialogRuntime& dialogs = Dialogs(bridge.settings);
    if (!dialogs.HasActivePage())
        throw rtl::Exception("A progress dialog must be displayed before changes are applied");
    engine::IWorkerReport& report = RunReport(bridge.settings);
    report.SetFinished(false);
    dialogs.StartInstallThread(true);
    if (!SilentWait(bridge.settings))
        while (!report.Finished() && rtl::HandleMessage()) {
        }
    dialogs.StartInstallThread(false);
    errorText = bridge.outcome.errorText;
    return RunResult(bridge.outcome);
}

}  // namespace setup::sysconfig::installer
