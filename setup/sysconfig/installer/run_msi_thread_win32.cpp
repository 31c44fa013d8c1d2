// The GUI-thread side of an install: the parameter block, the start of the thread and the wait
// that keeps serving the thread's calls to the GUI thread.
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/workers/worker_wait_win32.h"
#include "setup/sysconfig/installer/bridge_state_win32.h"
#include "setup/sysconfig/installer/msi_thread_win32.h"
#include "setup/sysconfig/installer/thread_progress.h"

namespace setup::sysconfig::installer {
namespace {

IInstallerDialogRuntime& Dialogs()
{
    static NoDialogRuntime none;
    return Installer().dialogs ? *Installer().dialogs : none;
}

bool SilentWait()
{
    return Installer().script.silent;
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

void ResetRun()
{
    RunReport().SetFinished(false);
    RunReport().ClearCancel();
}

}  // namespace

InstallerSettings& Installer()
{
    static InstallerSettings settings;
    return settings;
}

engine::IWorkerReport& RunReport()
{
    if (Installer().report == nullptr)
        throw rtl::Exception("No run report was handed to the installer");
    return *Installer().report;
}

MsiRunParameters& MsiParameterBlock()
{
    static MsiRunParameters block;
    return block;
}

InstallOutcome& MsiRunOutcome()
{
    static InstallOutcome outcome;
    return outcome;
}

std::unique_ptr<TMSIThread>& InstallerThread()
{
    static std::unique_ptr<TMSIThread> thread;
    return thread;
}

void StartMSIThread()
{
    auto& thread = InstallerThread();
    thread.reset();  // a finished earlier run
    MsiRunOutcome() = InstallOutcome();
    HandlerSessionState().lastMessageText.clear();
    thread = std::make_unique<TMSIThread>();
    thread->Start();
}

int RunMSIThread(bool patchMode, const std::string& packagePath, const std::string& dialogFilePath,
                 const std::string& variablesText, const std::string& propertiesText,
                 const std::string& productCode, bool install, bool advertise,
                 std::string& errorText, const std::string& installLocation)
{
    IInstallerDialogRuntime& dialogs = Dialogs();
    CurrentFolderGuard folder(engine::ExtractFilePath(dialogFilePath));

    MsiRunParameters& block = MsiParameterBlock();
    block.ownerWindow = dialogs.FindDialogWindow(dialogs.GetActiveDialogName());
    block.packagePath = packagePath;
    block.variablesText = variablesText;
    block.propertiesText = propertiesText;
    block.productCode = productCode;
    block.installFlag = install || advertise;
    block.advertiseFlag = advertise;
    block.installLocation = installLocation;
    block.patchMode = patchMode;
    block.dataFolder = Installer().dataDir;
    block.patchSourceFolder = Installer().patchSourceDir;

    ResetRun();
    RunReport().Progress("", -1, 0, 0);

    dialogs.SetWorkerBusy(true);
    StartMSIThread();
    TMSIThread& thread = *InstallerThread();
    const bool silent = SilentWait();
    while (!RunReport().Finished()) {
        // In silent mode the wait itself runs what the thread hands to the GUI thread.
        engine::WaitForWorker(&thread, silent);
        if (dialogs.CheckCancel() == -1)
            thread.Terminate();
        if (thread.Finished()) {
            rtl::CheckSynchronize();
            break;  // the thread reports before it ends; nothing more will come
        }
    }
    InstallerThread().reset();
    dialogs.SetWorkerBusy(false);

    errorText = MsiRunOutcome().errorText;
    return RunResult(MsiRunOutcome());
}

int RunMSIThreadOnProgressPage(std::string& errorText)
{
    IInstallerDialogRuntime& dialogs = Dialogs();
    if (!dialogs.HasActivePage())
        throw rtl::Exception("A progress dialog must be displayed before changes are applied");
    RunReport().SetFinished(false);
    dialogs.StartInstallThread(true);
    if (!SilentWait())
        while (!RunReport().Finished() && rtl::HandleMessage()) {
        }
    dialogs.StartInstallThread(false);
    errorText = MsiRunOutcome().errorText;
    return RunResult(MsiRunOutcome());
}

}  // namespace setup::sysconfig::installer
