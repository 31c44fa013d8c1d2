// The install thread: it prepares the product's package, hands the properties to the package's
// custom actions, runs Windows Installer with the external message handler, and reports its
// outcome; and the GUI-thread starters that wait for it while messages keep flowing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/workers/worker_protocol.h"
#include "setup/sysconfig/installer/dialog_runtime.h"
#include "setup/sysconfig/installer/install_outcome.h"
#include "setup/sysconfig/installer/progress_handler.h"
#include "setup/sysconfig/installer/script_values.h"

namespace setup::sysconfig::installer {

// The parameter block a starter fills before the thread starts; the thread reads it.
struct MsiRunParameters
{
    bool patchMode = false;
    std::string packagePath;
    std::string variablesText;
    std::string propertiesText;
    std::string productCode;
    bool installFlag = true;
    bool advertiseFlag = false;
    std::string installLocation;
    std::string dataFolder;
    std::string patchSourceFolder;
    std::uintptr_t ownerWindow = 0;
};

// The engine's values and services the bridge uses; the engine sets them before a run.
struct InstallerSettings
{
    std::string dataDir;         // with a trailing backslash
    std::string patchSourceDir;  // set equal to dataDir by the patch statement
    std::string setupPlatform = "Win32";
    std::string cacheId;
    std::function<std::string(bool allUsers)> cacheRoot;  // ending in a backslash
    std::string traceLogPath;
    bool captionSuffix = false;  // the wizard caption's suffix switch
    std::string generalFailureText = "General setup failure";
    MessageTitles titles;
    bool windowsNT = true;
    IInstallerPrompt* prompt = nullptr;             // none: the system's message boxes
    IInstallerDialogRuntime* dialogs = nullptr;     // none: no pages
    std::function<void(DWORD milliseconds)> sleep;  // none: Sleep
    // The run's report of progress, finish and cancel; set by the engine before any install.
    engine::IWorkerReport* report = nullptr;
    // The script's values, as they stand when the install starts.
    ScriptValues script;
};

InstallerSettings& Installer();
// The report the engine handed over in the settings; raises when there is none.
engine::IWorkerReport& RunReport();

class TMSIThread final : public rtl::TThread
{
public:
    TMSIThread() = default;
    ~TMSIThread() override;

protected:
    void Execute() override;

private:
    void Install();
    void ReportFinished();
};

// The current thread, as the starters and the dialog runtime create it.
std::unique_ptr<TMSIThread>& InstallerThread();
// Creates the thread running with the parameter block as it stands.
void StartMSIThread();

// The block of the current run, and its outcome once TARQ_thFinished reads "TRUE".
MsiRunParameters& MsiParameterBlock();
InstallOutcome& MsiRunOutcome();

// 1 success, 2 success with a restart needed, 0 cancelled, -1 failed with errorText.
int RunMSIThread(bool patchMode, const std::string& packagePath, const std::string& dialogFilePath,
                 const std::string& variablesText, const std::string& propertiesText,
                 const std::string& productCode, bool install, bool advertise,
                 std::string& errorText, const std::string& installLocation);
// Runs the install on the page shown now, whose timer starts the thread; the parameter block
// must have been filled. Raises when no page is shown.
int RunMSIThreadOnProgressPage(std::string& errorText);

// The Windows Installer external handler; the context is the run's report, or none.
int WINAPI InstallUIHandler(LPVOID context, UINT messageType, LPCSTR message) noexcept;
// True when the caller stops retrying: any code but 1618, or a cancel during the wait.
bool RetryWhileInstallerBusy(UINT code);

void ClearTempPackages(const std::string& productCode);
std::string GetCurrentUserName();

}  // namespace setup::sysconfig::installer
