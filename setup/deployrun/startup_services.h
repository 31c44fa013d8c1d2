// What the setup program's start-up needs from Windows and from the other subsystems, one narrow
// interface each, so the start-up order runs in a test with fakes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "setup/engine/script/setup_messages.h"
#include "setup/engine/script/setup_script.h"
#include "setup/engine/script/startup_command_line.h"

namespace setup::deployrun {

// Process facts, files and the trace log.
class IStartupSystem
{
public:
    virtual ~IStartupSystem() = default;
    // Pins the process to the first processor; nothing when the system cannot.
    virtual void SetProcessAffinity() = 0;
    virtual std::string ProgramFile() = 0;
    // The temporary folder with a trailing '\', created with its missing parents.
    virtual std::string TempDir() = 0;
    // The Windows folder with a trailing '\'.
    virtual std::string WindowsDir() = 0;
    virtual std::vector<std::string> Arguments() = 0;  // after the program path
    virtual std::string RawCommandLine() = 0;
    // The data appended to a loadable library's image; nothing when the library does not load
    // or carries nothing.
    virtual std::optional<std::string> LibraryOverlay(const std::string& libraryPath) = 0;
    virtual std::string UserLanguageName() = 0;
    // The data appended to the running program's image; nothing when there is none (also when
    // the file is shorter than its image). Raises when the file cannot be read.
    virtual std::optional<std::string> ProgramOverlay() = 0;
    // A fresh support folder of this run's own, with a trailing '\'; nothing when none can be
    // created.
    virtual std::optional<std::string> ClaimSupportDir(const std::string& tempDir) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // Copies, overwriting, and gives the copy normal attributes; raises on failure.
    virtual void CopyPackage(const std::string& source, const std::string& target) = 0;
    // Removes the folder and everything in it; failures are left alone.
    virtual void RemoveSupportDir(const std::string& folder) = 0;
    virtual void Trace(const std::string& path, const std::string& line) = 0;
};

// The splash and the preparing window.
class IStartupWindows
{
public:
    virtual ~IStartupWindows() = default;
    // Shows the splash when the bitmap exists and the preparing window beside or below it.
    virtual void Show(const std::string& splashBitmap, const std::string& caption,
                      const std::string& text) = 0;
    // The preparing window exists (it owns the start-up's message boxes).
    virtual bool Shown() = 0;
    // Progress minimum 0, the maximum given, position 1.
    virtual void SetProgressRange(int maximum) = 0;
    virtual void StepProgress() = 0;
    virtual void Close() = 0;
};

// The start-up's message boxes: the error icon, the given caption, owned by the preparing window
// when asked and that window exists.
class IStartupPrompt
{
public:
    virtual ~IStartupPrompt() = default;
    virtual void ShowError(const std::string& text, const std::string& caption,
                           bool ownedByPreparingWindow) = 0;
};

// The dialog runtime's page preload.
class IDialogPool
{
public:
    virtual ~IDialogPool() = default;
    virtual void InitDialogPool(const std::string& supportDir) = 0;
    // Loads the page file under the key (a statement index as decimal text); raises when the
    // file cannot be loaded.
    virtual void LoadDialog(const std::string& key, const std::string& file) = 0;
};

// The resource archive beside the program.
class IResourceArchive
{
public:
    virtual ~IResourceArchive() = default;
    // Unpacks every entry into the folder; false with a reason when that failed.
    virtual bool ExtractAll(const std::string& archivePath, const std::string& targetFolder,
                            std::string& errorText) = 0;
};

// What start-up learned, for the interpreter run.
struct StartupFacts
{
    std::string exeFile;
    std::string exeDir;   // with a trailing '\'
    std::string exeName;  // without folder and extension
    std::string tempDir;
    std::string windowsDir;
    std::string supportDir;
    std::string dataDir;
    engine::StartupSwitches switches;
    // In the language start-up loaded; the run shares the table and may load another language.
    std::shared_ptr<engine::SetupMessages> messages = std::make_shared<engine::SetupMessages>();
};

// The interpreter run (installer-cache state included) and the caption it leaves in force.
class IScriptRunner
{
public:
    virtual ~IScriptRunner() = default;
    // Returns the exit code the script chose.
    virtual int RunScript(engine::SetupScript& script, const StartupFacts& facts,
                          const std::string& packagePath) = 0;
    virtual std::string WizardCaption() = 0;
};

struct StartupServices
{
    IStartupSystem& system;
    IStartupWindows& windows;
    IStartupPrompt& prompt;
    IDialogPool& dialogs;
    IResourceArchive& archive;
    IScriptRunner& runner;
};

}  // namespace setup::deployrun
