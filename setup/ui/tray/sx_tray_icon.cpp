#include "setup/ui/tray/sx_tray_icon.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/application.h"
#include "setup/ui/menus.h"
#include "setup/ui/picture.h"

namespace setup::ui::tray {

using forms::ClassBuilder;
using forms::ClassInfo;

constexpr std::size_t kShellBalloonTextLimit = 255;

std::uint32_t ShellBalloonIcon(TSxTrayIconInfoFlags flags)
{
    switch (flags) {
    case niifError:
        return kNiifError;
    case niifWarning:
        return kNiifWarning;
    case niifNone:
        return kNiifNone;
    default:  // information, and the application's icon, which the shell cannot show
        return kNiifInfo;
    }
}

bool UseCustomBalloon(bool useOwnInfo, const WindowsVersion& version, const std::string& text)
{
    return useOwnInfo || version.major <= 4 || text.size() > kShellBalloonTextLimit;
}

const ClassInfo& TSxTrayIcon::StaticClass()
{
    using T = TSxTrayIcon;
    static const ClassInfo info =
        ClassBuilder<TSxTrayIcon>("TSxTrayIcon", &forms::TComponent::StaticClass())
            .Property("Icon", &T::Icon, &T::SetIcon)
            .Property("Active", &T::Active, &T::SetActive)
            .Property("ShowDesignTime", &T::ShowDesignTime, &T::SetShowDesignTime)
            .Property("PopupMenu", &T::PopupMenu, &T::SetPopupMenu)
            .Property("Tip", &T::Tip, &T::SetTip)
            .Property("InfoText", &T::infoText)
            .Property("InfoTitle", &T::InfoTitle, &T::SetInfoTitle)
            .Property("InfoTimeout", &T::infoTimeout)
            .Property("InfoFlags", &T::infoFlags)
            .Property("UseOwnInfo", &T::useOwnInfo)
            .Property("FadeEffect", &T::fadeEffect)
            .Property("OnClick", &T::onClick)
            .Property("OnDblClick", &T::onDblClick)
            .Property("OnMouseMove", &T::onMouseMove)
            .Property("OnMouseDown", &T::onMouseDown)
            .Property("OnMouseUp", &T::onMouseUp)
            .Property("OnBalloonShow", &T::onBalloonShow)
            .Property("OnBalloonHide", &T::onBalloonHide)
            .Property("OnBalloonTimeout", &T::onBalloonTimeout)
            .Property("OnBalloonUserClick", &T::onBalloonUserClick)
            .Property("OnFail", &T::onFail)
            .Build();
    return info;
}

TSxTrayIcon::TSxTrayIcon(forms::TComponent* owner)
    : TComponent(owner), m_icon(std::make_unique<TIcon>())
{
    EnsureWindow();
}

TSxTrayIcon::~TSxTrayIcon()
{
    if (m_active)
        RemoveIcon();
    ITrayPlatform* platform = Platform();
    if (!platform)
        return;
    if (BalloonManager* balloons = platform->Balloons())
        balloons->CloseBalloon(true);
    if (m_iconHandle)
        platform->DestroyIcon(m_iconHandle);
}

void TSxTrayIcon::SetPlatform(ITrayPlatform* platform)
{
    m_link.SetPlatform(platform);
    EnsureWindow();
    IconChanged();
}

void TSxTrayIcon::EnsureWindow()
{
    m_link.Ensure([this](std::uint32_t message, std::uintptr_t first, std::intptr_t second) {
        return TrayWindowProc(message, first, second);
    });
}

void TSxTrayIcon::Loaded()
{
    TComponent::Loaded();
    EnsureWindow();
    IconChanged();
}

void TSxTrayIcon::Notification(forms::TComponent* component, forms::Operation operation)
{
    TComponent::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_popupMenu)
        m_popupMenu = nullptr;
}

void TSxTrayIcon::SetPopupMenu(TPopupMenu* menu)
{
    if (m_popupMenu)
        m_popupMenu->RemoveFreeNotification(this);
    m_popupMenu = menu;
    if (m_popupMenu)
        m_popupMenu->FreeNotification(this);
}

void TSxTrayIcon::SetIcon(TIcon* icon)
{
    if (icon)
        m_icon->Assign(*icon);
    else
        m_icon->LoadFromBytes({});
    IconChanged();
}

void TSxTrayIcon::IconChanged()
{
    ITrayPlatform* platform = Platform();
    if (!platform)
        return;
    if (m_iconHandle)
        platform->DestroyIcon(m_iconHandle);
    m_iconHandle = m_icon->Empty() ? 0 : platform->IconFromFile(m_icon->FileBytes());
    UpdateIcon();
}

void TSxTrayIcon::SetActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (active)
        AddIcon();
    else
        RemoveIcon();
}

void TSxTrayIcon::SetShowDesignTime(bool show)
{
    if (show == m_showDesignTime)
        return;
    if (!show && m_active && Designing())
        RemoveIcon();
    m_showDesignTime = show;
    if (show && m_active)
        AddIcon();
}

void TSxTrayIcon::SetTip(const std::string& tip)
{
    m_tip = tip;
    UpdateIcon();
}

void TSxTrayIcon::SetInfoTitle(const std::string& title)
{
    m_infoTitle = title;
    UpdateIcon();
}

bool TSxTrayIcon::NotifyShell(NotifyMessage message)
{
    if (Designing() && !m_showDesignTime)
        return true;
    ITrayPlatform* platform = Platform();
    bool done = platform && platform->NotifyShell(message, m_data);
    while (!done && onFail) {
        bool retry = false;
        onFail(this, retry);
        if (!retry)
            break;
        done = platform && platform->NotifyShell(message, m_data);
    }
    return done;
}

void TSxTrayIcon::FillNotifyData()
{
    m_data.window = m_link.Window();
    m_data.flags = kNifMessage | kNifIcon | kNifTip;
    m_data.callbackMessage = kSxTrayCallbackMessage;
    m_data.icon = m_iconHandle;
    m_data.SetTip(m_tip);
}

void TSxTrayIcon::AddIcon()
{
    FillNotifyData();
    NotifyShell(nimAdd);
}

void TSxTrayIcon::RemoveIcon()
{
    NotifyShell(nimDelete);
}

void TSxTrayIcon::UpdateIcon()
{
    if (!m_active)
        return;
    FillNotifyData();
    NotifyShell(nimModify);
}

void TSxTrayIcon::ShowBalloon()
{
    ShowBalloonEx(infoText, m_infoTitle, {}, infoFlags);
}

void TSxTrayIcon::ShowBalloonEx(const std::string& text, const std::string& title,
                                const std::string& icoFile, TSxTrayIconInfoFlags flags)
{
    ITrayPlatform* platform = Platform();
    const WindowsVersion version = platform ? platform->Version() : WindowsVersion{};
    if (UseCustomBalloon(useOwnInfo, version, text)) {
        HideBalloon(false);
        BalloonManager* balloons = platform ? platform->Balloons() : nullptr;
        if (!balloons)
            return;
        BalloonRequest request;
        request.title = title;
        request.text = text;
        request.flags = flags;
        request.icoFile = icoFile;
        request.fade = fadeEffect;
        request.alpha = 255;
        request.timeoutSeconds = infoTimeout / 1000;
        request.anchor.kind = BalloonAnchor::TrayIcon;
        request.anchor.window = m_data.window;
        request.anchor.id = m_data.id;
        request.events = this;
        balloons->ShowBalloonAt(request);
        return;
    }
    HideBalloon(true);
    FillNotifyData();
    m_data.infoFlags = ShellBalloonIcon(flags);
    m_data.flags = kNifInfo;
    m_data.SetInfo(text);
    m_data.SetInfoTitle(title);
    m_data.timeout = static_cast<std::uint32_t>(infoTimeout);
    NotifyShell(nimModify);
}

void TSxTrayIcon::HideBalloon(bool closeCustom)
{
    ITrayPlatform* platform = Platform();
    if (closeCustom && platform)
        if (BalloonManager* balloons = platform->Balloons())
            balloons->CloseBalloon(false);
    if (platform && !platform->Version().nt)
        return;
    FillNotifyData();
    m_data.infoFlags = 0;
    m_data.flags = kNifInfo;
    m_data.info.clear();
    m_data.infoTitle.clear();
    m_data.timeout = static_cast<std::uint32_t>(infoTimeout);
    NotifyShell(nimModify);
}

bool TSxTrayIcon::GetIconRect(Rect& rect)
{
    rect = {};
    ITrayPlatform* platform = Platform();
    ITaskbarProbe* taskbar = platform ? platform->Taskbar() : nullptr;
    return taskbar && tray::GetTrayIconRect(*taskbar, m_link.Window(), m_data.id, rect, true);
}

void TSxTrayIcon::GetIconCenter(int& x, int& y)
{
    Rect rect;
    GetIconRect(rect);
    x = (rect.left + rect.right) / 2;
    y = (rect.top + rect.bottom) / 2;
}

std::intptr_t TSxTrayIcon::TrayWindowProc(std::uint32_t message, std::uintptr_t, std::intptr_t second)
{
    if (message == kSxTrayCallbackMessage) {
        DispatchCallback(second);
    } else if (m_link.IsTaskbarCreated(message)) {
        if (m_active)
            AddIcon();
    }
    return 0;
}

void TSxTrayIcon::DispatchCallback(std::intptr_t event)
{
    ITrayPlatform* platform = Platform();
    if (!platform)
        return;
    const TShiftState shift = platform->KeyboardShift();
    const ScreenPoint at = platform->CursorPos();
    switch (static_cast<std::uint32_t>(event)) {
    case kWmMouseMove:
        onMouseMove(this, shift, at.x, at.y);
        break;
    case kWmLButtonDown:
        m_leftPressed = true;
        onMouseDown(this, mbLeft, shift, at.x, at.y);
        break;
    case kWmLButtonUp:
        if (m_leftPressed) {
            m_leftPressed = false;
            onClick(this);
        }
        onMouseUp(this, mbLeft, shift, at.x, at.y);
        break;
    case kWmLButtonDblClk:
    case kWmRButtonDblClk:
        if (m_popupMenu && !Designing()) {
            for (TMenuItem* item : m_popupMenu->Items()->Items()) {
                if (item->isDefault) {
                    item->Click();
                    break;
                }
            }
        }
        onDblClick(this);
        break;
    case kWmRButtonDown:
        m_rightPressed = true;
        onMouseDown(this, mbRight, shift, at.x, at.y);
        break;
    case kWmRButtonUp:
        if (m_rightPressed) {
            m_rightPressed = false;
            if (m_popupMenu) {
                platform->ForegroundApplication(m_link.Window());
                if (TApplication* application = OwningApplication(*this))
                    application->ProcessMessages();
                m_popupMenu->Popup(at.x, at.y);
            }
        }
        onMouseUp(this, mbRight, shift, at.x, at.y);
        break;
    case kNinBalloonShow:
        onBalloonShow(this);
        break;
    case kNinBalloonHide:
        onBalloonHide(this);
        break;
    case kNinBalloonTimeout:
        onBalloonTimeout(this);
        break;
    case kNinBalloonUserClick:
        onBalloonUserClick(this);
        break;
    default:
        break;
    }
}

}  // namespace setup::ui::tray
