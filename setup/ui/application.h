// The run of a windowed program: the message loop behind an interface, the forms it shows (the
// screen), idle and message hooks, hint pauses, and the timer service timers start through.
// One object per program, handed to the forms it creates; nothing here is global.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "setup/ui/form.h"

namespace setup::ui {
class IFileLister;
class IFlashSystem;
class IMenuPresenter;
class IShellNamespace;
class IFolderWatchService;
// The application of the first form among the component's owners; null for none.
TApplication* OwningApplication(const forms::TComponent& component);

}  // namespace setup::ui
namespace setup::ui::skin {
class ISkinDisplay;
}  // namespace setup::ui::skin
namespace setup::ui::tray {
class ITrayPlatform;
}  // namespace setup::ui::tray

namespace setup::ui {

// The system's message queue.
class IMessageLoop
{
public:
    virtual ~IMessageLoop() = default;
    // Waits for one message and dispatches it; false when the program was asked to quit.
    virtual bool HandleMessage() = 0;
    // Dispatches every message waiting, without waiting; false when asked to quit.
    virtual bool ProcessMessages() = 0;
    virtual void PostQuit() = 0;
    // Enables or disables the top-level windows other than the form, around a modal loop.
    virtual void DisableOtherWindows(TCustomForm& modal, bool disable) = 0;
};

// Periodic callbacks on the program's thread.
class ITimerService
{
public:
    virtual ~ITimerService() = default;
    // Returns an id for StopTimer; the callback runs every `milliseconds`.
    virtual std::uintptr_t StartTimer(unsigned milliseconds, std::function<void()> callback) = 0;
    virtual void StopTimer(std::uintptr_t id) = 0;
};

// The top-level forms of the program and the display's size.
class TScreen
{
public:
    const std::vector<TCustomForm*>& Forms() const { return m_forms; }
    TCustomForm* ActiveForm() const { return m_activeForm; }
    void SetActiveForm(TCustomForm* form) { m_activeForm = form; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetSize(int width, int height)
    {
        m_width = width;
        m_height = height;
    }
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);

private:
    std::vector<TCustomForm*> m_forms;
    TCustomForm* m_activeForm = nullptr;
    int m_width = 1024;
    int m_height = 768;
};

class TApplication
{
public:
    TApplication(IMessageLoop& loop, IPeerFactory* factory = nullptr,
                 ITimerService* timers = nullptr);

    IMessageLoop& Loop() const { return m_loop; }
    IPeerFactory* PeerFactory() const { return m_factory; }
    ITimerService* Timers() const { return m_timers; }
    TScreen& Screen() { return m_screen; }

    // Joins a form to the application: its windows come from this application's factory.
    void AddForm(TCustomForm& form);
    void RemoveForm(TCustomForm& form);
    TCustomForm* MainForm() const { return m_mainForm; }

    // One message, then the idle hook when the queue ran empty.
    void HandleMessage();
    void ProcessMessages();
    // Runs until Terminate or until the main form closes.
    void Run();
    void Terminate();
    bool Terminated() const { return m_terminated; }

    // Offered every message before dispatch (true means handled) and called when idle (set `done`
    // to false to be called again before waiting).
    std::function<bool(WindowMessage& message)> OnMessage;
    std::function<void(bool& done)> OnIdle;
    // Lets the message loop ask the hook; true when the message was handled.
    bool FilterMessage(WindowMessage& message);

    // Lists folders for the file controls; none leaves their lists empty.
    IFileLister* fileLister = nullptr;
    // The shell namespace for the shell controls; none leaves them empty.
    IShellNamespace* shellNamespace = nullptr;
    // Folder change watches for the shell controls; none leaves them to refresh by hand.
    IFolderWatchService* folderWatch = nullptr;
    // Shows pop-up menus; none leaves them unshown.
    IMenuPresenter* menuPresenter = nullptr;
    // Finds, registers and hosts the Flash player; none leaves Flash frames without a movie.
    IFlashSystem* flashSystem = nullptr;
    // System colours and colour depth for the skinned controls; none gives the standard scheme.
    const skin::ISkinDisplay* skinDisplay = nullptr;
    // The notification area for the tray icons; none leaves them without an icon.
    tray::ITrayPlatform* trayPlatform = nullptr;
    std::string title;
    bool showHint = true;
    // Milliseconds before a hint shows, before it hides, and between hints of neighbours.
    int hintPause = 500;
    int hintHidePause = 2500;
    int hintShortPause = 50;

private:
    IMessageLoop& m_loop;
    IPeerFactory* m_factory;
    ITimerService* m_timers;
    TScreen m_screen;
    TCustomForm* m_mainForm = nullptr;
    bool m_terminated = false;
};

// The application of the first form among the component's owners; null for none.
TApplication* OwningApplication(const forms::TComponent& component);

}  // namespace setup::ui
