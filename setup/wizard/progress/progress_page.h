// What the progress refresh and the poll cycle need of a wizard page beyond its controls: the
// page's own handlers, the caption templates, its control rules, its result and its poll timer.
// The page form implements it; the pool finds pages by key.
#pragma once

#include <cstdint>
#include <string>

namespace setup::ui {
class TControl;
class TForm;
class TTimer;
}  // namespace setup::ui

namespace setup::wizard {

class ProgressPageCycle;

// The click handlers a refresh puts back on labels and buttons.
enum class PageClickHandler
{
    Label1Click,
    Button1Click,
};

class IProgressPage
{
public:
    virtual ~IProgressPage() = default;
    virtual ui::TForm& Form() = 0;
    // The page's 1-second poll timer.
    virtual ui::TTimer& PollTimer() = 0;
    virtual ProgressPageCycle& Cycle() = 0;
    virtual void AttachClickHandler(ui::TControl& control, PageClickHandler handler) = 0;
    // The control's recorded text template, expanded with the variables of now.
    virtual void RefreshCaption(ui::TControl& control) = 0;
    virtual void ApplyControlRules() = 0;
    // A modal page waiting for it returns this code.
    virtual void SetResultCode(int code) = 0;
    virtual std::uintptr_t WindowHandle() = 0;
};

// The pages of the run as the pool keeps them.
class IProgressPages
{
public:
    virtual ~IProgressPages() = default;
    // The key of the page shown last; empty when none is active.
    virtual std::string ActiveDialogName() = 0;
    // The page loaded under the key (case ignored); null when none.
    virtual IProgressPage* FindPage(const std::string& key) = 0;
};

// The install thread the poll cycle starts.
class IInstallThread
{
public:
    virtual ~IInstallThread() = default;
    // The window that owns what the installer shows.
    virtual void SetProgressWindow(std::uintptr_t window) = 0;
    // Clears the reboot and failure marks and starts the thread; it runs on its own.
    virtual void Start() = 0;
    // Starts the thread and waits for its end (silent mode).
    virtual void RunToEnd() = 0;
};

}  // namespace setup::wizard
