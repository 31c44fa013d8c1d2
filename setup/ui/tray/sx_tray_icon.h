// TSxTrayIcon: a notification-area icon whose balloons are the shell's or, where the shell has
// none, the text is too long for it or the program asks, the program's own balloon window. Shell
// refusals go to OnFail, which may ask for another try.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "setup/forms/component.h"
#include "setup/ui/control.h"
#include "setup/ui/tray/balloon_manager.h"
#include "setup/ui/tray/tray_icon.h"
#include "setup/ui/tray/tray_platform.h"
#include "setup/ui/tray/tray_window_link.h"

namespace setup::ui::tray {

// The callback message of this icon's record.
constexpr std::uint32_t kSxTrayCallbackMessage = 0xB05A;

struct TSxOnTrayIconFailEvent : forms::TEvent<bool&>
{
};

// The shell's balloon icon for the component's flags.
std::uint32_t ShellBalloonIcon(TSxTrayIconInfoFlags flags);
// A custom balloon: asked for, no balloons in the shell, or a text the shell cannot hold.
bool UseCustomBalloon(bool useOwnInfo, const WindowsVersion& version, const std::string& text);

class TSxTrayIcon : public forms::TComponent, private IBalloonEvents
{
public:
    FORMS_CLASS_INFO()
    explicit TSxTrayIcon(forms::TComponent* owner);
    ~TSxTrayIcon() override;

    TIcon* Icon() const { return m_icon.get(); }
    void SetIcon(TIcon* icon);
    bool Active() const { return m_active; }
    void SetActive(bool active);
    bool ShowDesignTime() const { return m_showDesignTime; }
    void SetShowDesignTime(bool show);
    TPopupMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(TPopupMenu* menu);
    const std::string& Tip() const { return m_tip; }
    void SetTip(const std::string& tip);
    std::string infoText;
    const std::string& InfoTitle() const { return m_infoTitle; }
    void SetInfoTitle(const std::string& title);
    std::int32_t infoTimeout = 10000;
    TSxTrayIconInfoFlags infoFlags = niifNone;
    bool useOwnInfo = false;
    bool fadeEffect = true;

    forms::TNotifyEvent onClick;
    forms::TNotifyEvent onDblClick;
    TMouseMoveEvent onMouseMove;
    TMouseEvent onMouseDown;
    TMouseEvent onMouseUp;
    forms::TNotifyEvent onBalloonShow;
    forms::TNotifyEvent onBalloonHide;
    forms::TNotifyEvent onBalloonTimeout;
    forms::TNotifyEvent onBalloonUserClick;
    TSxOnTrayIconFailEvent onFail;

    void ShowBalloon();
    void ShowBalloonEx(const std::string& text, const std::string& title,
                       const std::string& icoFile, TSxTrayIconInfoFlags flags);
    void HideBalloon(bool closeCustom);
    bool GetIconRect(Rect& rect);
    void GetIconCenter(int& x, int& y);

    virtual void FillNotifyData();
    virtual void AddIcon();
    virtual void RemoveIcon();
    virtual void UpdateIcon();
    virtual std::intptr_t TrayWindowProc(std::uint32_t message, std::uintptr_t first,
                                         std::intptr_t second);

    // The platform comes from the owner's application unless one is set here (tests).
    void SetPlatform(ITrayPlatform* platform);
    const NotifyIconData& Data() const { return m_data; }

    void Loaded() override;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    ITrayPlatform* Platform() const { return m_link.Platform(); }
    bool Designing() const { return HasState(forms::csDesigning); }
    bool NotifyShell(NotifyMessage message);
    void EnsureWindow();
    void IconChanged();
    void DispatchCallback(std::intptr_t event);

    void BalloonShown() override { onBalloonShow(this); }
    void BalloonHidden() override { onBalloonHide(this); }
    void BalloonTimedOut() override { onBalloonTimeout(this); }
    void BalloonClicked() override { onBalloonUserClick(this); }

    NotifyIconData m_data;
    std::unique_ptr<TIcon> m_icon;
    std::uintptr_t m_iconHandle = 0;
    bool m_active = false;
    bool m_showDesignTime = false;
    TPopupMenu* m_popupMenu = nullptr;
    std::string m_tip;
    std::string m_infoTitle;
    bool m_leftPressed = false;
    bool m_rightPressed = false;
    TrayWindowLink m_link{*this};
};

}  // namespace setup::ui::tray

namespace setup::forms {
FORMS_TYPE_OF(::setup::ui::tray::TSxTrayIconInfoFlags,
              EnumType("TSxTrayIconInfoFlags",
                       {"niifError", "niifInfo", "niifNone", "niifWarning", "niifApplication"}))
FORMS_TYPE_OF(::setup::ui::tray::TSxOnTrayIconFailEvent,
              MethodType("TSxOnTrayIconFailEvent",
                         typeid(::setup::ui::tray::TSxOnTrayIconFailEvent::Handler)))
}  // namespace setup::forms
