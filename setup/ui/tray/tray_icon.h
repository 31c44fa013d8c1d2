// TTrayIcon: the program's icon in the notification area, with its tool-tip, the shell's balloon,
// an animation through an image list, mouse events and a pop-up menu. The icon's record goes to
// the shell through the application's tray platform; its hidden window takes the shell's
// callbacks and Explorer's restart.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "setup/forms/component.h"
#include "setup/ui/control.h"
#include "setup/ui/tray/notify_icon_data.h"
#include "setup/ui/tray/tray_platform.h"
#include "setup/ui/tray/tray_window_link.h"
#include "setup/ui/ui_types.h"

namespace setup::ui {
class TIcon;
class TImageList;
class TPopupMenu;
class ITimerService;
}  // namespace setup::ui

namespace setup::ui::tray {

enum TBalloonFlags
{
    bfNone,
    bfInfo,
    bfWarning,
    bfError,
};

struct TMouseMoveEvent : forms::TEvent<TShiftState, int, int>
{
};

// The shell would not show or remove the icon.
class EOutOfResources : public rtl::Exception
{
public:
    using Exception::Exception;
};

// The callback message the icon's record names.
constexpr std::uint32_t kTrayCallbackMessage = kWmUser + 1;

// The icon the shell shows: an icon file, pixels of an image list, or the application's icon.
struct TrayPicture
{
    std::string icoFile;
    std::shared_ptr<const htmlview::PixelImage> pixels;
    bool application = false;
    bool Empty() const { return icoFile.empty() && !pixels && !application; }
};

class TCustomTrayIcon : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    explicit TCustomTrayIcon(forms::TComponent* owner);
    ~TCustomTrayIcon() override;

    bool Animate() const { return m_animate; }
    void SetAnimate(bool animate);
    std::uint32_t AnimateInterval() const { return m_animateInterval; }
    void SetAnimateInterval(std::uint32_t interval);
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint);
    const std::string& BalloonHint() const { return m_balloonHint; }
    void SetBalloonHint(const std::string& text);
    const std::string& BalloonTitle() const { return m_balloonTitle; }
    void SetBalloonTitle(const std::string& title);
    std::int32_t BalloonTimeout() const { return static_cast<std::int32_t>(m_data.timeout); }
    void SetBalloonTimeout(std::int32_t timeout);
    TBalloonFlags balloonFlags = bfNone;
    TIcon* Icon() const { return m_icon.get(); }
    void SetIcon(TIcon* icon);
    TImageList* Icons() const { return m_icons; }
    void SetIcons(TImageList* icons);
    std::int32_t IconIndex() const { return m_iconIndex; }
    void SetIconIndex(std::int32_t index);
    TPopupMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(TPopupMenu* menu);
    bool Visible() const { return m_visible; }
    // Raises EOutOfResources when the shell refuses to add or remove the icon.
    void SetVisible(bool visible);

    forms::TNotifyEvent onClick;
    forms::TNotifyEvent onDblClick;
    forms::TNotifyEvent onAnimate;
    TMouseMoveEvent onMouseMove;
    TMouseEvent onMouseUp;
    TMouseEvent onMouseDown;

    // Shows the balloon with the stored text, title and flags; false when the shell refused.
    virtual bool ShowBalloonTip();
    bool NotifyShell(NotifyMessage message);
    void RefreshIcon();
    virtual std::intptr_t TrayWindowProc(std::uint32_t message, std::uintptr_t first,
                                         std::intptr_t second);
    virtual void AdvanceAnimation();

    // The platform comes from the owner's application unless one is set here (tests).
    void SetPlatform(ITrayPlatform* platform);
    const NotifyIconData& Data() const { return m_data; }
    const TrayPicture& CurrentIcon() const { return m_current; }
    bool AnimationRunning() const { return m_animationTimer != 0; }

    void Loaded() override;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    ITrayPlatform* Platform() const { return m_link.Platform(); }
    bool Designing() const { return HasState(forms::csDesigning); }
    void EnsureWindow();
    void SetCurrentIcon(TrayPicture picture);
    void ApplyDefaultIcon();
    void UpdateAnimationTimer(bool run);
    void DispatchCallback(std::intptr_t event);

    NotifyIconData m_data;
    std::unique_ptr<TIcon> m_icon;
    TrayPicture m_current;
    TrayPicture m_keptFrame;  // the frame an animation stopped on
    std::uintptr_t m_iconHandle = 0;
    bool m_ownsIconHandle = false;
    TImageList* m_icons = nullptr;
    TPopupMenu* m_popupMenu = nullptr;
    std::string m_hint;
    std::string m_balloonHint;
    std::string m_balloonTitle;
    std::int32_t m_iconIndex = 0;
    bool m_visible = false;
    bool m_clicked = false;
    bool m_animate = false;
    std::uint32_t m_animateInterval = 1000;
    std::uintptr_t m_animationTimer = 0;
    ITimerService* m_timers = nullptr;
    TrayWindowLink m_link{*this};
};

class TTrayIcon : public TCustomTrayIcon
{
public:
    FORMS_CLASS_INFO()
    using TCustomTrayIcon::TCustomTrayIcon;
};

}  // namespace setup::ui::tray

namespace setup::forms {
FORMS_TYPE_OF(::setup::ui::tray::TBalloonFlags,
              EnumType("TBalloonFlags", {"bfNone", "bfInfo", "bfWarning", "bfError"}))
FORMS_TYPE_OF(::setup::ui::tray::TMouseMoveEvent,
              MethodType("TMouseMoveEvent",
                         typeid(::setup::ui::tray::TMouseMoveEvent::Handler)))
}  // namespace setup::forms
