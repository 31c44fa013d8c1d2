// Everything the statement interpreter needs from the rest of the setup program and from Windows,
// behind one interface: detection, pages and forms, message boxes, the trace log, process exit,
// plug-ins, the component model, installer-cache and system facts. Tests run it headless.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setup::engine {

// A wizard page's answer: 6 next, 7 back, 2 cancel confirmed, 8 a named control (with its name),
// 1 the installer thread finished, 0 a non-modal page was shown.
struct PageResult
{
    int code = 0;
    std::string controlName;
    std::uintptr_t window = 0;  // the window of a non-modal page
};

// The language form's answer: the modal result (2 is Cancel) and the chosen entry.
struct LanguageChoice
{
    int modalResult = 1;
    int index = 0;
};

class IInterpreterHost
{
public:
    virtual ~IInterpreterHost() = default;

    // Trace log lines (written only while a trace log is open).
    virtual void Trace(const std::string& line) = 0;
    // Ends the process; when it returns (a test), the interpreter returns at once.
    virtual void ExitProcess(int exitCode) = 0;
    virtual void ProcessMessages() = 0;

    // Installation detection; also run again after a cache override.
    virtual void DetectInstallation() = 0;
    // The default target folder the detection knows before it ran ("" on the first pass).
    virtual std::string DefaultTargetDir() = 0;
    // A patch run takes over the installed product's state.
    virtual void TakeOverPatchState() = 0;

    // Component model: empty the lists, define the predefined component.
    virtual void ResetComponents() = 0;
    virtual void DefinePredefinedComponent() = 0;

    // Deletes a value of "SOFTWARE\Microsoft\Windows\CurrentVersion\Run" under the user's and
    // then the machine's hive; failures ignored.
    virtual void DeleteRunValue(const std::string& name) = 0;
    virtual void AddMSIProperty(const std::string& name, const std::string& value) = 0;

    // System facts.
    virtual bool IsWindowsNT() = 0;
    virtual bool IsAdministrator() = 0;
    virtual std::string RegisteredOwner() = 0;
    virtual std::string RegisteredOrganization() = 0;
    virtual std::string ShortDateText() = 0;
    virtual std::string LongTimeText() = 0;
    // Milliseconds of a steady clock: paces how often slow system facts are asked again.
    virtual std::uint64_t Milliseconds() = 0;
    // English name of the user's default language ("German").
    virtual std::string UserLanguageName() = 0;

    // Installer cache facts: the root for this user or all users, the folder whose ".lan" file
    // keeps the language of an installed product, the registered uninstall command.
    virtual std::string GetCacheRoot(bool allUsers) = 0;
    virtual std::string LanguageCacheFolder(const std::string& packagePath) = 0;
    virtual std::string ReadUninstallString(const std::string& title, bool machineHive) = 0;
    // Creates a folder with all missing parents, recording each one created.
    virtual bool ForceFoldersRecorded(const std::string& path,
                                      std::vector<std::string>& created) = 0;
    // Removes the recorded folders again, deepest first; only empty ones go.
    virtual void RemoveRecordedFolders(const std::vector<std::string>& created) = 0;

    // Files.
    virtual bool FileExists(const std::string& path) = 0;
    // Full paths matching a wildcard path.
    virtual std::vector<std::string> FindFiles(const std::string& pattern) = 0;
    // The lines of a text file; raises when it cannot be read.
    virtual std::vector<std::string> ReadLines(const std::string& path) = 0;
    virtual void LoadLanguageStrings(const std::string& path) = 0;

    // User interface.
    virtual LanguageChoice ShowLanguageForm(const std::vector<std::string>& entries,
                                            int preselected) = 0;
    // Releases the modal page shown before, binds the page loaded under the key and shows it
    // (always modal inside a wizard loop).
    virtual PageResult ShowDialog(const std::string& key, bool modal, bool inWizardLoop) = 0;
    // The runtime-error box: the wizard caption, the error icon, no owner.
    virtual void ShowRuntimeError(const std::string& text) = 0;
    // -1 when the user has cancelled.
    virtual int CheckCancel() = 0;
    // Publishes the script's progress in the thread-progress variables and lets one window
    // message be handled.
    virtual void PublishProgress(const std::string& text, int position) = 0;

    // Runs a plug-in command (statement index, 0-based).
    virtual void ExecutePlugin(int statementIndex) = 0;
    // Closes what statements left open: the text file, the dialog pool, the tray icon.
    virtual void CloseInterpreterResources() = 0;
    // The setup program's own removable media is gone; the host then writes the state file,
    // removes the support folder and ends the process with the exit code.
    virtual bool IsRemovableMediaGone(const std::string& exeDir) = 0;
    virtual void EndAfterMediaRemoved(int exitCode) = 0;
};

}  // namespace setup::engine
