// A drop onto a shell control: each step finds the folder under the mouse and hands the step to
// that folder's own drop target, highlighting where the drop would go; the control scrolls while
// the mouse rests near an edge, and a tree opens a node the mouse rests on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "setup/ui/geometry.h"
#include "setup/ui/shell_namespace.h"

namespace setup::ui {

// The system's extra drop-effect bit: the target scrolls.
inline constexpr std::uint32_t kDropScroll = 0x80000000u;

// Where a drop at a point would go.
struct DropSpot
{
    enum Kind
    {
        // Nothing can be dropped here.
        Nothing,
        // Answered with a copy, told to no folder.
        CopyOnly,
        // Handed to the drop target of `item` in `folder`.
        Forward,
    };
    Kind kind = Nothing;
    IdList folder;
    IdList item;
    // What the control highlights (a list item, a tree node); -1 for nothing.
    std::intptr_t highlight = -1;
    // A drop here may copy or link but not move.
    bool noMove = false;
    // Where the drop goes, unhighlighted, when `item` takes no drops.
    bool hasFallback = false;
    IdList fallbackFolder;
    IdList fallbackItem;
};

// What a control tells the drop of itself.
class IDropSite
{
public:
    virtual ~IDropSite() = default;
    // Whether the control takes drops at all.
    virtual bool AcceptsDrops() const = 0;
    // The spot at what the window found under the mouse (a list item's index, a tree node; -1
    // for none); `dropping` for the drop itself rather than a move over it.
    virtual DropSpot DropSpotAt(std::intptr_t hit, std::uint32_t keyState, bool dropping) = 0;
    virtual void Highlight(std::intptr_t spot) = 0;
    // After a drop went to a folder.
    virtual void Dropped() = 0;
    // The mouse rested on what the window found there while dragging.
    virtual void RestedOn(std::intptr_t hit) {}
};

class ShellDrop
{
public:
    ShellDrop(IShellNamespace& shell, IDropSite& site) : m_shell(shell), m_site(site) {}

    // `hit` is what the window found under the mouse; the folders are told the screen point.
    std::uint32_t Enter(IDragData& data, std::uint32_t keyState, std::intptr_t hit, TPoint screen,
                        std::uint32_t effect);
    std::uint32_t Over(std::uint32_t keyState, std::intptr_t hit, TPoint screen,
                       std::uint32_t effect);
    void Leave();
    std::uint32_t Drop(IDragData& data, std::uint32_t keyState, std::intptr_t hit, TPoint screen,
                       std::uint32_t effect);

private:
    // The spot's drop target, or its fallback's with the highlight dropped; none for none.
    std::unique_ptr<IShellDropTarget> TargetOf(DropSpot& spot);
    // What the spot's folder would take, asked as a fresh enter, over and leave; the highlight
    // follows.
    std::uint32_t Ask(std::uint32_t keyState, std::intptr_t hit, TPoint screen,
                      std::uint32_t effect);

    IShellNamespace& m_shell;
    IDropSite& m_site;
    IDragData* m_data = nullptr;
    // The mouse buttons held when the drag came in; the drop itself reports none.
    std::uint32_t m_buttons = 0;
};

// The scroll an auto-scrolling control takes for the mouse at a client point: -1, 0 or 1 column
// and line. Nothing within 100 ms of the last step.
struct ScrollStep
{
    int columns = 0;
    int lines = 0;
};
class AutoScroller
{
public:
    ScrollStep Step(TPoint point, const TRect& client, std::uint32_t now);

private:
    std::uint32_t m_last = 0;
    bool m_started = false;
};

// True once the mouse has rested within a small box around where it stopped for the hover time.
class HoverWatch
{
public:
    HoverWatch(int width = 2, int height = 2, std::uint32_t time = 400)
        : m_width(width), m_height(height), m_time(time)
    {}
    bool Rested(TPoint point, std::uint32_t now);
    void Reset() { m_started = false; }

private:
    int m_width;
    int m_height;
    std::uint32_t m_time;
    bool m_started = false;
    TPoint m_at;
    std::uint32_t m_since = 0;
};

}  // namespace setup::ui
