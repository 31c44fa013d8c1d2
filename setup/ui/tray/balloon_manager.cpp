#include "setup/ui/tray/balloon_manager.h"

#include <algorithm>
#include <cctype>

namespace setup::ui::tray {

namespace {

std::string Trimmed(const std::string& text)
{
    auto blank = [](unsigned char c) { return c <= ' '; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

}  // namespace

BalloonManager::BalloonManager(IBalloonWindows& windows, ITaskbarProbe& taskbar)
    : m_windows(windows), m_taskbar(taskbar)
{}

BalloonManager::~BalloonManager()
{
    CloseBalloon(true);
}

bool BalloonManager::HasBalloon() const
{
    std::lock_guard guard(m_lock);
    return m_current != nullptr;
}

bool BalloonManager::ShowBalloonAt(const BalloonRequest& request)
{
    std::lock_guard guard(m_lock);
    if (m_current)
        return false;

    Rect anchor;
    if (request.anchor.kind == BalloonAnchor::TrayIcon) {
        ShowTaskbar(m_taskbar);
        GetTrayIconRect(m_taskbar, request.anchor.window, request.anchor.id, anchor, false);
    } else if (request.anchor.kind == BalloonAnchor::Area) {
        anchor = request.anchor.rect;
    }
    const Point centre{(anchor.left + anchor.right) / 2, (anchor.top + anchor.bottom) / 2};
    const bool inTray = anchor.Empty() || IsPointInNotificationArea(m_taskbar, centre);

    BalloonRequest shown = request;
    shown.title = Trimmed(request.title);
    shown.text = Trimmed(request.text);
    if (request.anchor.kind != BalloonAnchor::TrayIcon)
        shown.events = nullptr;

    BalloonLayoutInput input;
    input.anchor = anchor;
    input.workArea = GetDesktopWorkArea(m_taskbar);
    input.screen = m_taskbar.ScreenSize();
    input.inTray = inTray;
    input.taskbarEdge = GetTaskbarEdge(m_taskbar);
    input.hasIcon = !shown.icoFile.empty() || shown.flags != niifNone;
    input.title = m_windows.MeasureTitle(shown.title);
    input.textVisible = !shown.text.empty();
    input.textHeightAt = [this, &shown](int width) {
        return m_windows.TextHeightAt(shown.text, width);
    };
    input.closeButton = m_windows.CloseButtonSize();
    const BalloonLayout layout = ComputeBalloonLayout(input);

    m_events = shown.events;
    m_fade = shown.fade;
    m_current = m_windows.Open(shown, layout, inTray, *this);
    if (!m_current)
        m_events = nullptr;
    return m_current != nullptr;
}

void BalloonManager::CloseBalloon(bool immediate)
{
    std::lock_guard guard(m_lock);
    if (immediate)
        m_fadeAllowed = false;
    if (m_current && !m_closing) {
        m_closing = true;
        m_current->Close(m_fade && m_fadeAllowed);
        if (m_current)
            m_current->Flush();
        m_closing = false;
        m_current.reset();
        m_events = nullptr;
    }
    m_fadeAllowed = true;
}

void BalloonManager::BalloonShown()
{
    if (m_events)
        m_events->BalloonShown();
}

void BalloonManager::BalloonEnded(BalloonEnd end)
{
    IBalloonEvents* events = m_events;
    if (end == BalloonEnd::Dismissed)
        m_fadeAllowed = false;
    if (end == BalloonEnd::Timeout && events)
        events->BalloonTimedOut();
    CloseBalloon(end == BalloonEnd::Dismissed);
    if (end == BalloonEnd::UserClick && events)
        events->BalloonClicked();
}

void BalloonManager::BalloonHidden()
{
    if (m_events)
        m_events->BalloonHidden();
}

}  // namespace setup::ui::tray
