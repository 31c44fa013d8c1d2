// What the statement interpreter needs from the rest of the setup program and from Windows, as
// narrow interfaces grouped by who uses them, and the bundle of references a run is handed.
// Tests run it headless.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/engine/system/system_facts.h"

namespace setup::engine {

struct EngineState;

// A wizard page's answer: 6 next, 7 back, 2 cancel confirmed, 8 a named control (with its name),
// 1 the installer thread finished, 0 a non-modal page was shown.
struct PageResult
{
    int code = 0;
    std::string controlName;
    std::uintptr_t window = 0;  // the window of a non-modal page
};

// A balloon at the notification-area icon; kind 1 information, 2 warning, 3 error, 0 the kind
// the previous balloon had.
struct TrayBalloon
{
    std::string title;
    std::string text;
    int kind = 0;
    std::uint32_t timeoutMs = 10000;
    std::string hint;  // the icon's hint
};

// The language form's answer: the modal result (2 is Cancel) and the chosen entry.
struct LanguageChoice
{
    int modalResult = 1;
    int index = 0;
};

// The run's trace, process exit and message pump.
class IRunControl
{
public:
    virtual ~IRunControl() = default;
    // Trace log lines (written only while a trace log is open).
    virtual void Trace(const std::string& line) = 0;
    // Ends the process; when it returns (a test), the interpreter returns at once.
    virtual void ExitProcess(int exitCode) = 0;
    virtual void ProcessMessages() = 0;
};

// Installation detection and the patch state.
class IInstallationDetection
{
public:
    virtual ~IInstallationDetection() = default;
    // Also run again after a cache override.
    virtual void DetectInstallation() = 0;
    // The default target folder the detection knows before it ran ("" on the first pass).
    virtual std::string DefaultTargetDir() = 0;
    // A patch run takes over the installed product's state.
    virtual void TakeOverPatchState() = 0;
};

// The component model at the start of a run.
class IComponentReset
{
public:
    virtual ~IComponentReset() = default;
    // Empties the run's lists.
    virtual void ResetComponents(EngineState& engine) = 0;
    virtual void DefinePredefinedComponent(EngineState& engine) = 0;
};

// What set-up records outside the engine: the resume value and the installer properties.
class ISetupRecords
{
public:
    virtual ~ISetupRecords() = default;
    // Deletes a value of "SOFTWARE\Microsoft\Windows\CurrentVersion\Run" under the user's and
    // then the machine's hive; failures ignored.
    virtual void DeleteRunValue(const std::string& name) = 0;
    virtual void AddMSIProperty(const std::string& name, const std::string& value) = 0;
};

// The facts of the user and the clock that the predefined variables take; the Windows facts
// come through ISystemFacts.
class IUserEnvironment
{
public:
    virtual ~IUserEnvironment() = default;
    virtual std::string RegisteredOwner() = 0;
    virtual std::string RegisteredOrganization() = 0;
    virtual std::string ShortDateText() = 0;
    virtual std::string LongTimeText() = 0;
    // Milliseconds of a steady clock: paces how often slow system facts are asked again.
    virtual std::uint64_t Milliseconds() = 0;
    // English name of the user's default language ("German").
    virtual std::string UserLanguageName() = 0;
};

// Installer cache and uninstall facts, and the folders of a cache override.
class IInstallerCacheFacts
{
public:
    virtual ~IInstallerCacheFacts() = default;
    // The root for this user or all users.
    virtual std::string GetCacheRoot(bool allUsers) = 0;
    // The folder whose ".lan" file keeps the language of an installed product.
    virtual std::string LanguageCacheFolder(const std::string& packagePath) = 0;
    // The registered uninstall command.
    virtual std::string ReadUninstallString(const std::string& title, bool machineHive) = 0;
    // Creates a folder with all missing parents, recording each one created.
    virtual bool ForceFoldersRecorded(const std::string& path,
                                      std::vector<std::string>& created) = 0;
    // Removes the recorded folders again, deepest first; only empty ones go.
    virtual void RemoveRecordedFolders(const std::vector<std::string>& created) = 0;
};

// Queries of files next to and below the support folder.
class IFileQueries
{
public:
    virtual ~IFileQueries() = default;
    virtual bool FileExists(const std::string& path) = 0;
    // Full paths matching a wildcard path.
    virtual std::vector<std::string> FindFiles(const std::string& pattern) = 0;
    // The lines of a text file; raises when it cannot be read.
    virtual std::vector<std::string> ReadLines(const std::string& path) = 0;
};

// The user interface: pages, the language form and strings, the runtime error, cancel and
// progress.
class IUserInterface
{
public:
    virtual ~IUserInterface() = default;
    virtual void LoadLanguageStrings(const std::string& path) = 0;
    virtual LanguageChoice ShowLanguageForm(const std::vector<std::string>& entries,
                                            int preselected) = 0;
    // Takes the page's handlers off again; it keeps its values.
    virtual void ReleaseDialog(const std::string& key) = 0;
    // Binds the page loaded under the key to the variables, with the owner window's updates
    // locked meanwhile.
    virtual void PrepareDialog(const std::string& key, std::uintptr_t ownerWindow) = 0;
    // Shows the page: modal, the code of the control that ended it; non-modal, its window at once.
    virtual PageResult ShowDialog(const std::string& key, bool modal) = 0;
    // Hides the page on screen and the page of the key.
    virtual void HideDialog(const std::string& key) = 0;
    // A standard message box (the system's type flags); the button pressed (IDOK ... IDNO), 0
    // when it could not be shown.
    virtual int ShowMessageBox(std::uintptr_t owner, const std::string& title,
                               const std::string& text, std::uint32_t flags) = 0;
    // The setup's window leaves the screen for the notification area, or comes back to the top.
    virtual void MinimizeToTray(std::uintptr_t window) = 0;
    virtual void RestoreFromTray(std::uintptr_t window) = 0;
    // The notification-area icon and its balloon. Without the icon's components they raise.
    virtual void SetTrayIcon(bool visible, const std::string& hint);
    virtual void ShowTrayBalloon(const TrayBalloon& balloon);
    // The runtime-error box: the wizard caption, the error icon, no owner.
    virtual void ShowRuntimeError(const std::string& text) = 0;
    // -1 when the user has cancelled.
    virtual int CheckCancel() = 0;
    // Publishes the script's progress in the thread-progress variables and lets one window
    // message be handled.
    virtual void PublishProgress(const std::string& text, int position) = 0;
};

class IPluginRunner
{
public:
    virtual ~IPluginRunner() = default;
    // Runs a plug-in command (statement index, 0-based).
    virtual void ExecutePlugin(int statementIndex) = 0;
};

class IInterpreterResources
{
public:
    virtual ~IInterpreterResources() = default;
    // Closes what statements left open: the text file, the dialog pool, the tray icon.
    virtual void CloseInterpreterResources() = 0;
};

class IRemovableMedia
{
public:
    virtual ~IRemovableMedia() = default;
    // The setup program's own removable media is gone; the host then writes the state file,
    // removes the support folder and ends the process with the exit code.
    virtual bool IsRemovableMediaGone(const std::string& exeDir) = 0;
    virtual void EndAfterMediaRemoved(int exitCode) = 0;
};

// Everything a run reaches outside the engine, one reference per interface; one object may stand
// behind several of them.
struct InterpreterHost
{
    IRunControl& run;
    IInstallationDetection& detection;
    IComponentReset& components;
    ISetupRecords& records;
    IUserEnvironment& environment;
    ISystemFacts& system;
    IInstallerCacheFacts& cache;
    IFileQueries& files;
    IUserInterface& ui;
    IPluginRunner& plugins;
    IInterpreterResources& resources;
    IRemovableMedia& media;
};

}  // namespace setup::engine
