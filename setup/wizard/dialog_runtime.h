// The run state of the wizard pages: the engine they bind to, the application that shows them,
// what they ask of the system, the pool of page forms and the notion of the page on screen. One
// object per run, handed to every page; nothing of it is global.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/forms/class_info.h"
#include "setup/ui/application.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/std_controls.h"
#include "setup/wizard/page_decisions.h"
#include "setup/wizard/progress/progress_page.h"

namespace setup::ui {
class THtmlPane;
}

namespace setup::wizard {

class ProgressRuntime;
class TPoolTemplate;
class TImageListPool;

// What pages ask of the system: folders and files, the questions and pickers a page owns, the
// sounds, programs and shell documents of links, and the scroll state of a memo's window.
class IPageSystem
{
public:
    virtual ~IPageSystem() = default;
    virtual bool DirectoryExists(const std::string& path) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual std::string CurrentDirectory() = 0;
    virtual void SetCurrentDirectory(const std::string& path) = 0;
    // Raises rtl::Exception when the file cannot be opened.
    virtual std::vector<std::string> ReadLines(const std::string& path) = 0;
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    virtual int WindowsMajorVersion() = 0;
    // Yes/No with the question icon, No the default, owned by the page.
    virtual bool AskYesNo(TPoolTemplate& page, const std::string& text,
                          const std::string& caption) = 0;
    // The folder picker owned by the page (file-system folders only); none when cancelled.
    virtual std::optional<std::string> BrowseForFolder(TPoolTemplate& page) = 0;
    virtual void PlaySoundFile(const std::string& path) = 0;
    // Starts the program by its explicit path, never by a search of the command line.
    virtual void StartProgram(const std::string& program, const std::string& parameters) = 0;
    virtual void OpenWithShell(const std::string& target) = 0;
    // Calls `handled` after the memo's window has handled each message; nothing while the memo has
    // no window. A second watch of one memo replaces the first.
    virtual void WatchMemo(ui::TCustomMemo& memo, std::function<void(unsigned message)> handled) = 0;
    virtual void UnwatchMemo(ui::TCustomMemo& memo) = 0;
    // None while the memo has no window.
    virtual std::optional<ScrollState> VerticalScroll(ui::TCustomMemo& memo) = 0;
    // Where the user left the form's window; none without a window.
    virtual std::optional<PagePosition> WindowPosition(ui::TCustomForm& form) = 0;
    // Whether the point (in the tree's client coordinates) lies on a node's icon.
    virtual bool IsOnNodeIcon(ui::TTreeView& tree, int x, int y) = 0;
    // The mouse cursor on the screen.
    virtual ui::TPoint CursorPosition() = 0;
    // The bottom-right corner of the node's text on the screen; none without a window.
    virtual std::optional<ui::TPoint> NodeTextCorner(ui::TTreeView& tree, ui::TTreeNode& node) = 0;
};

// The pool as the progress display sees it: the active page and the pages by key.
struct DialogRuntime final : IProgressPages
{
    DialogRuntime(engine::EngineState& engine, ui::TApplication& application,
                  IPageSystem& system);
    ~DialogRuntime() override;
    DialogRuntime(const DialogRuntime&) = delete;
    DialogRuntime& operator=(const DialogRuntime&) = delete;

    // The page's cancel confirmation sets it; showing a page clears it; workers' waits read it.
    bool& CancelFlag();

    std::string ActiveDialogName() override { return activeDialogName; }
    IProgressPage* FindPage(const std::string& key) override;

    engine::EngineState& engine;
    ui::TApplication& application;
    IPageSystem& system;
    // The run's progress display: the pages' poll timers drive its cycle and a page shown with
    // the installer to start hands it the install thread. None: the pages only poll.
    ProgressRuntime* progress = nullptr;
    forms::ClassRegistry pageClasses;

    // Keys in upper case, in load order; a page form is none while its entry is replaced.
    std::vector<std::pair<std::string, std::unique_ptr<TPoolTemplate>>> pool;
    // What the pages share: component images and menu, the workers' watchdogs.
    std::unique_ptr<TImageListPool> imageListPool;
    std::string dialogFolder;
    std::string htmlBaseFolder;
    std::string activeDialogName;
    TPoolTemplate* activeDialog = nullptr;
    TPoolTemplate* releasedDialog = nullptr;
    TPoolTemplate* foregroundDialog = nullptr;
    PagePlacement placement;
    bool minimizedToTray = false;
    TPoolTemplate* deferredDialog = nullptr;

    // Set while the binding fills controls, so their handlers write nothing back.
    bool bindingInProgress = false;
    // Control text templates under "PAGEFILE.CONTROL" in upper case.
    std::map<std::string, std::string> dialogTexts;
    // Refreshed whenever a page is shown.
    std::string targetDirAtShow;
    std::string targetDirTail;
    // The refresh an HTML page asked for: the file to load once the page's meta timer fires, as
    // long as the pane still shows the document that asked.
    std::string metaRefreshTarget;
    std::string metaRefreshSource;
    ui::THtmlPane* metaRefreshViewer = nullptr;
};

// Sets the binding flag for a scope and puts the earlier value back, exceptions included.
class BindingScope
{
public:
    explicit BindingScope(DialogRuntime& runtime)
        : m_runtime(runtime), m_before(runtime.bindingInProgress)
    {
        runtime.bindingInProgress = true;
    }
    ~BindingScope() { m_runtime.bindingInProgress = m_before; }
    BindingScope(const BindingScope&) = delete;
    BindingScope& operator=(const BindingScope&) = delete;

private:
    DialogRuntime& m_runtime;
    bool m_before;
};

// Makes a folder current for a scope and the remembered one current again, when it still exists.
class CurrentFolderScope
{
public:
    CurrentFolderScope(IPageSystem& system, const std::string& folder);
    ~CurrentFolderScope();
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    IPageSystem& m_system;
    std::string m_remembered;
};

// The engine's message text that asks before a cancel.
inline constexpr int kCancelQuestionMessage = 40;

}  // namespace setup::wizard
