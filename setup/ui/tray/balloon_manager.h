// The program's own balloons: at most one at a time. A request while one shows is ignored; the
// manager finds the anchor's rectangle through the taskbar helpers, lays the balloon out and has
// the window layer show it. The window reports how the balloon ended (click, close button, the
// hide timer, the owner going away) and the manager fires the tray icon's balloon events.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "setup/ui/tray/balloon_layout.h"
#include "setup/ui/tray/taskbar.h"

namespace setup::ui::tray {

// The balloon's icon: error, information, none, warning, or the application's icon.
enum TSxTrayIconInfoFlags
{
    niifError,
    niifInfo,
    niifNone,
    niifWarning,
    niifApplication,
};

// Who hears how a balloon went: the tray icon it points at.
class IBalloonEvents
{
public:
    virtual ~IBalloonEvents() = default;
    virtual void BalloonShown() = 0;
    virtual void BalloonHidden() = 0;
    virtual void BalloonTimedOut() = 0;
    virtual void BalloonClicked() = 0;
};

struct BalloonAnchor
{
    enum Kind
    {
        None,
        TrayIcon,  // the icon of a hidden window and identifier
        Area,      // a control's rectangle on the screen
    } kind = None;
    std::uintptr_t window = 0;
    std::uint32_t id = 0;
    Rect rect;
};

struct BalloonRequest
{
    std::string title;
    std::string text;
    TSxTrayIconInfoFlags flags = niifNone;
    std::string icoFile;  // an icon of its own instead of the flags' one
    bool fade = true;
    int alpha = 255;
    int timeoutSeconds = 0;  // 0: until closed
    BalloonAnchor anchor;
    IBalloonEvents* events = nullptr;  // only a tray icon anchor hears the events
};

// How a shown balloon ends.
enum class BalloonEnd
{
    UserClick,    // a click on the balloon
    CloseButton,
    Timeout,      // the hide timer
    Dismissed,    // the owner window went away or the application was left
};

class BalloonManager;

// One balloon on the screen.
class IBalloonWindow
{
public:
    virtual ~IBalloonWindow() = default;
    // Takes the balloon away (fading out when asked); the window then reports Hidden.
    virtual void Close(bool fade) = 0;
    // Dispatches the messages the window still has waiting.
    virtual void Flush() = 0;
};

// The window layer: measures texts in the balloon's fonts and opens balloon windows.
class IBalloonWindows
{
public:
    virtual ~IBalloonWindows() = default;
    virtual Size MeasureTitle(const std::string& title) = 0;
    virtual int TextHeightAt(const std::string& text, int width) = 0;
    virtual Size CloseButtonSize() = 0;
    virtual std::unique_ptr<IBalloonWindow> Open(const BalloonRequest& request,
                                                 const BalloonLayout& layout, bool inTray,
                                                 BalloonManager& manager) = 0;
};

class BalloonManager
{
public:
    BalloonManager(IBalloonWindows& windows, ITaskbarProbe& taskbar);
    ~BalloonManager();
    BalloonManager(const BalloonManager&) = delete;
    BalloonManager& operator=(const BalloonManager&) = delete;

    bool HasBalloon() const;
    // Shows the balloon unless one shows already; false when it was ignored.
    bool ShowBalloonAt(const BalloonRequest& request);
    // Takes the current balloon away; immediate skips the fading.
    void CloseBalloon(bool immediate);

    // From the balloon window.
    void BalloonShown();
    void BalloonEnded(BalloonEnd end);
    void BalloonHidden();
    // The fading the window layer uses now (CloseBalloon(true) switches it off meanwhile).
    bool FadeAllowed() const { return m_fadeAllowed; }

private:
    IBalloonWindows& m_windows;
    ITaskbarProbe& m_taskbar;
    mutable std::recursive_mutex m_lock;
    std::unique_ptr<IBalloonWindow> m_current;
    IBalloonEvents* m_events = nullptr;
    bool m_fade = true;
    bool m_fadeAllowed = true;
    bool m_closing = false;
};

}  // namespace setup::ui::tray
