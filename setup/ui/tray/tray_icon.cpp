#include "setup/ui/tray/tray_icon.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/application.h"
#include "setup/ui/image_list.h"
#include "setup/ui/menus.h"
#include "setup/ui/picture.h"

namespace setup::ui::tray {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TCustomTrayIcon::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCustomTrayIcon>("TCustomTrayIcon", &forms::TComponent::StaticClass())
            .Build();
    return info;
}

const ClassInfo& TTrayIcon::StaticClass()
{
    using T = TCustomTrayIcon;
    static const ClassInfo info =
        ClassBuilder<TTrayIcon>("TTrayIcon", &TCustomTrayIcon::StaticClass())
            .Property("Animate", &T::Animate, &T::SetAnimate)
            .Property("AnimateInterval", &T::AnimateInterval, &T::SetAnimateInterval)
            .Property("Hint", &T::Hint, &T::SetHint)
            .Property("BalloonHint", &T::BalloonHint, &T::SetBalloonHint)
            .Property("BalloonTitle", &T::BalloonTitle, &T::SetBalloonTitle)
            .Property("BalloonTimeout", &T::BalloonTimeout, &T::SetBalloonTimeout)
            .Property("BalloonFlags", &T::balloonFlags)
            .Property("Icon", &T::Icon, &T::SetIcon)
            .Property("Icons", &T::Icons, &T::SetIcons)
            .Property("IconIndex", &T::IconIndex, &T::SetIconIndex)
            .Property("PopupMenu", &T::PopupMenu, &T::SetPopupMenu)
            .Property("Visible", &T::Visible, &T::SetVisible)
            .Property("OnClick", &T::onClick)
            .Property("OnDblClick", &T::onDblClick)
            .Property("OnAnimate", &T::onAnimate)
            .Property("OnMouseMove", &T::onMouseMove)
            .Property("OnMouseUp", &T::onMouseUp)
            .Property("OnMouseDown", &T::onMouseDown)
            .Build();
    return info;
}

TCustomTrayIcon::TCustomTrayIcon(forms::TComponent* owner)
    : TComponent(owner), m_icon(std::make_unique<TIcon>())
{
    m_data.timeout = 3000;
    m_data.flags = kNifMessage | kNifIcon;
    m_data.callbackMessage = kTrayCallbackMessage;
    if (const TApplication* application = OwningApplication(*this); application) {
        m_data.SetTip(application->title);
        if (!application->title.empty())
            m_data.flags |= kNifTip;
    }
    EnsureWindow();
    RefreshIcon();
}

TCustomTrayIcon::~TCustomTrayIcon()
{
    UpdateAnimationTimer(false);
    ITrayPlatform* platform = Platform();
    if (platform && !Designing())
        platform->NotifyShell(nimDelete, m_data);
    if (platform && m_ownsIconHandle)
        platform->DestroyIcon(m_iconHandle);
}

void TCustomTrayIcon::SetPlatform(ITrayPlatform* platform)
{
    m_link.SetPlatform(platform);
    EnsureWindow();
    SetCurrentIcon(m_current);
}

// The hidden window is both the record's window and its identifier.
void TCustomTrayIcon::EnsureWindow()
{
    if (Designing() || m_data.window)
        return;
    if (!m_link.Ensure([this](std::uint32_t message, std::uintptr_t first, std::intptr_t second) {
            return TrayWindowProc(message, first, second);
        }))
        return;
    m_data.window = m_link.Window();
    m_data.id = static_cast<std::uint32_t>(m_link.Window());
}

void TCustomTrayIcon::Loaded()
{
    TComponent::Loaded();
    EnsureWindow();
    SetCurrentIcon(m_current);
}

void TCustomTrayIcon::Notification(forms::TComponent* component, forms::Operation operation)
{
    TComponent::Notification(component, operation);
    if (operation != forms::Operation::Remove)
        return;
    if (component == m_icons)
        m_icons = nullptr;
    if (component == m_popupMenu)
        m_popupMenu = nullptr;
}

bool TCustomTrayIcon::NotifyShell(NotifyMessage message)
{
    ITrayPlatform* platform = Platform();
    return platform && platform->NotifyShell(message, m_data);
}

void TCustomTrayIcon::SetCurrentIcon(TrayPicture picture)
{
    m_current = std::move(picture);
    ITrayPlatform* platform = Platform();
    if (platform && m_ownsIconHandle)
        platform->DestroyIcon(m_iconHandle);
    m_iconHandle = 0;
    m_ownsIconHandle = false;
    if (platform && !Designing()) {
        if (m_current.application) {
            m_iconHandle = platform->ApplicationIcon();
        } else {
            m_iconHandle = m_current.pixels ? platform->IconFromPixels(*m_current.pixels)
                           : m_current.icoFile.empty() ? 0
                                                       : platform->IconFromFile(m_current.icoFile);
            m_ownsIconHandle = m_iconHandle != 0;
        }
    }
    RefreshIcon();
}

void TCustomTrayIcon::RefreshIcon()
{
    if (Designing())
        return;
    m_data.icon = m_iconHandle;
    if (m_visible)
        NotifyShell(nimModify);
}

void TCustomTrayIcon::ApplyDefaultIcon()
{
    if (!m_keptFrame.Empty()) {
        SetCurrentIcon(m_keptFrame);
        return;
    }
    TrayPicture picture;
    if (m_icon->Empty())
        picture.application = true;
    else
        picture.icoFile = m_icon->FileBytes();
    SetCurrentIcon(std::move(picture));
}

void TCustomTrayIcon::SetHint(const std::string& hint)
{
    if (hint == m_hint)
        return;
    m_hint = hint;
    m_data.SetTip(hint);
    if (hint.empty())
        m_data.flags &= ~kNifTip;
    else
        m_data.flags |= kNifTip;
    RefreshIcon();
}

void TCustomTrayIcon::SetBalloonHint(const std::string& text)
{
    if (text == m_balloonHint)
        return;
    m_balloonHint = text;
    m_data.SetInfo(text);
    NotifyShell(nimModify);
}

void TCustomTrayIcon::SetBalloonTitle(const std::string& title)
{
    if (title == m_balloonTitle)
        return;
    m_balloonTitle = title;
    m_data.SetInfoTitle(title);
    NotifyShell(nimModify);
}

void TCustomTrayIcon::SetBalloonTimeout(std::int32_t timeout)
{
    m_data.timeout = static_cast<std::uint32_t>(timeout);
}

bool TCustomTrayIcon::ShowBalloonTip()
{
    m_data.flags |= kNifInfo;
    m_data.infoFlags = static_cast<std::uint32_t>(balloonFlags);
    return NotifyShell(nimModify);
}

void TCustomTrayIcon::SetIcon(TIcon* icon)
{
    if (icon)
        m_icon->Assign(*icon);
    else
        m_icon->LoadFromBytes({});
    m_keptFrame = {};
    TrayPicture picture;
    picture.icoFile = m_icon->FileBytes();
    SetCurrentIcon(std::move(picture));
}

void TCustomTrayIcon::SetIcons(TImageList* icons)
{
    if (m_icons)
        m_icons->RemoveFreeNotification(this);
    m_icons = icons;
    if (m_icons)
        m_icons->FreeNotification(this);
    else
        ApplyDefaultIcon();
}

void TCustomTrayIcon::SetPopupMenu(TPopupMenu* menu)
{
    if (m_popupMenu)
        m_popupMenu->RemoveFreeNotification(this);
    m_popupMenu = menu;
    if (m_popupMenu)
        m_popupMenu->FreeNotification(this);
}

void TCustomTrayIcon::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    if (!m_animate || m_current.Empty())
        ApplyDefaultIcon();
    if (Designing())
        return;
    EnsureWindow();
    if (visible) {
        if (!NotifyShell(nimAdd))
            throw EOutOfResources("Cannot create shell notification icon");
    } else if (!HasState(forms::csLoading)) {
        if (!NotifyShell(nimDelete))
            throw EOutOfResources("Cannot remove shell notification icon");
    }
    if (m_animate)
        UpdateAnimationTimer(visible);
}

void TCustomTrayIcon::SetAnimate(bool animate)
{
    if (animate == m_animate)
        return;
    m_animate = animate;
    if (Designing())
        return;
    if (m_icons && m_icons->Count() > 0 && m_visible)
        UpdateAnimationTimer(animate);
    // The frame shown when the animation stops stays, as if it were the icon.
    if (!animate && !m_current.Empty())
        m_keptFrame = m_current;
}

void TCustomTrayIcon::SetAnimateInterval(std::uint32_t interval)
{
    m_animateInterval = interval;
    if (m_animationTimer)
        UpdateAnimationTimer(true);
}

void TCustomTrayIcon::UpdateAnimationTimer(bool run)
{
    if (m_animationTimer && m_timers)
        m_timers->StopTimer(m_animationTimer);
    m_animationTimer = 0;
    if (!run)
        return;
    const TApplication* application = OwningApplication(*this);
    m_timers = application ? application->Timers() : nullptr;
    if (m_timers)
        m_animationTimer = m_timers->StartTimer(m_animateInterval, [this] { AdvanceAnimation(); });
}

void TCustomTrayIcon::SetIconIndex(std::int32_t index)
{
    if (index == m_iconIndex)
        return;
    m_iconIndex = index;
    if (Designing() || !m_icons)
        return;
    TrayPicture picture;
    if (const htmlview::PixelImage* image = m_icons->Image(index))
        picture.pixels = std::make_shared<const htmlview::PixelImage>(*image);
    SetCurrentIcon(std::move(picture));
}

void TCustomTrayIcon::AdvanceAnimation()
{
    onAnimate(this);
    if (m_icons && m_iconIndex < m_icons->Count() - 1)
        SetIconIndex(m_iconIndex + 1);
    else
        SetIconIndex(0);
    RefreshIcon();
}

std::intptr_t TCustomTrayIcon::TrayWindowProc(std::uint32_t message, std::uintptr_t first,
                                              std::intptr_t second)
{
    if (message == kWmQueryEndSession)
        return 1;
    if (message == kWmEndSession) {
        if (first != 0)
            NotifyShell(nimDelete);
    } else if (message == kTrayCallbackMessage) {
        DispatchCallback(second);
    } else if (m_link.IsTaskbarCreated(message)) {
        if (m_visible)
            NotifyShell(nimAdd);
    }
    return 0;
}

void TCustomTrayIcon::DispatchCallback(std::intptr_t event)
{
    ITrayPlatform* platform = Platform();
    if (!platform)
        return;
    TShiftState shift = platform->KeyboardShift();
    const ScreenPoint at = platform->CursorPos();
    auto withButton = [shift](TShiftStateItem button) {
        TShiftState state = shift;
        state.Include(button);
        return state;
    };
    switch (static_cast<std::uint32_t>(event)) {
    case kWmMouseMove:
        onMouseMove(this, shift, at.x, at.y);
        break;
    case kWmLButtonDown:
        onMouseDown(this, mbLeft, withButton(ssLeft), at.x, at.y);
        m_clicked = true;
        break;
    case kWmLButtonUp:
        if (m_clicked && onClick) {
            onClick(this);
            m_clicked = false;
        }
        onMouseUp(this, mbLeft, withButton(ssLeft), at.x, at.y);
        break;
    case kWmRButtonDown:
        onMouseDown(this, mbRight, withButton(ssRight), at.x, at.y);
        break;
    case kWmRButtonUp:
        onMouseUp(this, mbRight, withButton(ssRight), at.x, at.y);
        if (m_popupMenu) {
            platform->ForegroundApplication(m_link.Window());
            if (TApplication* application = OwningApplication(*this))
                application->ProcessMessages();
            m_popupMenu->autoPopup = false;
            m_popupMenu->Popup(at.x, at.y);
        }
        break;
    case kWmMButtonDown:
        onMouseDown(this, mbMiddle, withButton(ssMiddle), at.x, at.y);
        break;
    case kWmMButtonUp:
        onMouseUp(this, mbMiddle, withButton(ssMiddle), at.x, at.y);
        break;
    case kWmLButtonDblClk:
    case kWmRButtonDblClk:
    case kWmMButtonDblClk:
        onDblClick(this);
        break;
    // A balloon the shell took away, or the user clicked, must not come back with the next
    // change of the record.
    case kNinBalloonHide:
    case kNinBalloonTimeout:
    case kNinBalloonUserClick:
        m_data.flags &= ~kNifInfo;
        break;
    default:
        break;
    }
}

}  // namespace setup::ui::tray
