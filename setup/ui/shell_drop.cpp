#include "setup/ui/shell_drop.h"

#include <cstdlib>

#include "setup/ui/shell_transfer.h"

namespace setup::ui {

namespace {

constexpr std::uint32_t kScrollInterval = 100;
constexpr int kScrollMarginX = 26;
constexpr int kScrollMarginY = 20;

}  // namespace

std::unique_ptr<IShellDropTarget> ShellDrop::TargetOf(DropSpot& spot)
{
    if (spot.kind != DropSpot::Forward)
        return nullptr;
    if (auto target = m_shell.DropTarget(spot.folder, spot.item))
        return target;
    if (!spot.hasFallback)
        return nullptr;
    spot.highlight = -1;
    return m_shell.DropTarget(spot.fallbackFolder, spot.fallbackItem);
}

std::uint32_t ShellDrop::Ask(std::uint32_t keyState, std::intptr_t hit, TPoint screen,
                             std::uint32_t effect)
{
    DropSpot spot = m_site.DropSpotAt(hit, keyState, false);
    std::uint32_t answer = 0;
    if (spot.kind == DropSpot::CopyOnly) {
        answer = kDropCopy;
    } else if (auto target = TargetOf(spot); target && m_data) {
        answer = target->DragEnter(*m_data, keyState, screen.x, screen.y, effect);
        answer = target->DragOver(keyState, screen.x, screen.y, answer ? answer : effect);
        target->DragLeave();
    }
    m_site.Highlight(answer ? spot.highlight : -1);
    return answer;
}

std::uint32_t ShellDrop::Enter(IDragData& data, std::uint32_t keyState, std::intptr_t hit,
                               TPoint screen, std::uint32_t effect)
{
    m_data = &data;
    m_buttons = keyState & (kKeyLeftButton | kKeyRightButton);
    return Ask(keyState, hit, screen, effect);
}

std::uint32_t ShellDrop::Over(std::uint32_t keyState, std::intptr_t hit, TPoint screen,
                              std::uint32_t effect)
{
    return m_data ? Ask(keyState, hit, screen, effect) : 0;
}

void ShellDrop::Leave()
{
    m_data = nullptr;
    m_site.Highlight(-1);
}

std::uint32_t ShellDrop::Drop(IDragData& data, std::uint32_t keyState, std::intptr_t hit,
                              TPoint screen, std::uint32_t effect)
{
    // The drop reports no buttons: the ones that started the drag tell the folder which it was.
    keyState |= m_buttons;
    DropSpot spot = m_site.DropSpotAt(hit, keyState, true);
    std::uint32_t done = 0;
    if (auto target = TargetOf(spot)) {
        effect &= m_shell.AllowedEffects(data);
        if (spot.noMove)
            effect &= ~kDropMove;
        if (effect) {
            target->DragEnter(data, keyState, screen.x, screen.y, effect);
            target->DragOver(keyState, screen.x, screen.y, effect);
            done = target->Drop(data, keyState, screen.x, screen.y, effect);
            m_site.Dropped();
        } else {
            target->DragLeave();
        }
    }
    m_data = nullptr;
    m_site.Highlight(-1);
    return done;
}

ScrollStep AutoScroller::Step(TPoint point, const TRect& client, std::uint32_t now)
{
    ScrollStep step;
    if (m_started && now - m_last <= kScrollInterval)
        return step;
    if (point.x < client.left + kScrollMarginX)
        step.columns = -1;
    else if (point.x >= client.right - kScrollMarginX)
        step.columns = 1;
    if (point.y < client.top + kScrollMarginY)
        step.lines = -1;
    else if (point.y >= client.bottom - kScrollMarginY)
        step.lines = 1;
    if (step.columns || step.lines) {
        m_last = now;
        m_started = true;
    }
    return step;
}

bool HoverWatch::Rested(TPoint point, std::uint32_t now)
{
    // The box reaches half its size back and its whole size on, from where the mouse stopped.
    const bool inside = m_started && point.x >= m_at.x - m_width / 2 &&
                        point.x <= m_at.x + m_width && point.y >= m_at.y - m_height / 2 &&
                        point.y <= m_at.y + m_height;
    if (!inside) {
        m_started = true;
        m_at = point;
        m_since = now;
        return false;
    }
    if (now - m_since <= m_time)
        return false;
    // Once per rest: the next wait starts anew.
    m_since = now;
    return true;
}

}  // namespace setup::ui
