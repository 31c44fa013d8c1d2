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

struct InstallerBridge;

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

// The engine's values and services the bridge uses; the engine sets them before an install.
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

// The report the engine handed over in the settings; raises when there is none.
engine::IWorkerReport& RunReport(const InstallerSettings& settings);

// Runs the install the bridge's parameter block describes and reports into the bridge.
class TMSIThread final : public rtl::TThread
{
public:
    explicit TMSIThread(InstallerBridge& bridge) : m_bridge(bridge) {}
    ~TMSIThread() override;

protected:
    void Execute() override;

private:
    void Install();
    void ReportFinished();

    InstallerBridge& m_bridge;
};

// Creates the bridge's thread running with its parameter block as it stands; the starters and
// the dialog runtime call it.
void StartMSIThread(InstallerBridge& bridge);

// 1 success, 2 success with a restart needed, 0 cancelled, -1 failed with errorText.
int RunMSIThread(InstallerBridge& bridge, bool patchMode, const std::string& packagePath,
                 const std::string& dialogFilePath, const std::string& variablesText,
                 const std::string& propertiesText, const std::string& productCode, bool install,
                 bool advertise, std::string& errorText, const std::string& installLocation);
// Runs the install on the page shown now, whose timer starts the thread; the parameter block
// must have been filled. Raises when no page is shown.
int RunMSIThreadOnProgressPage(InstallerBridge& bridge, std::string& errorText);

// The Windows Installer external handler; the context is the bridge's InstallerMessageContext.
int WINAPI InstallUIHandler(LPVOID context, UINT messageType, LPCSTR message) noexcept;
// The system's message boxes, for a bridge given no prompt.
IInstallerPrompt& SystemPrompt();
// True when the caller stops retrying: any code but 1618, or a cancel during the wait.
bool RetryWhileInstallerBusy(InstallerBridge& bridge, UINT code);

void ClearTempPackages(const std::string& productCode);
// "domain\user" of the process's token on Windows NT, the logged-on user's name on Windows 9x.
std::string GetCurrentUserName(bool windowsNT);

}  // namespace setup::sysconfig::installer
