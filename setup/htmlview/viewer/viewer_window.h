// What the viewer's core asks of the window that shows it and of the system: files, scroll bars,
// repainting, cursors, timers, posted messages and the clipboard. The Win32 window implements it;
// tests give a recording fake.
#pragma once

#include <optional>
#include <string>

#include "setup/htmlview/viewer/scroll_layout.h"

namespace htmlview {

enum class ViewerCursor
{
    Default,  // the control's own cursor
    Arrow,
    Hand,  // over a link or an image button
    Text,  // selecting text
    Pan,   // panning, not moving
    PanUp,
    PanDown
};

class IViewerFiles
{
public:
    virtual ~IViewerFiles() = default;
    virtual bool FileExists(const std::string& path) const = 0;
    // The file's bytes; none when it cannot be read.
    virtual std::optional<std::string> ReadFile(const std::string& path) const = 0;
    // The full path of a path relative to the current folder (or rooted on the current drive).
    virtual std::string FullPath(const std::string& path) const = 0;
};

class IViewerWindow
{
public:
    virtual ~IViewerWindow() = default;
    virtual void Invalidate() = 0;
    // Moves the painted contents by dy pixels and repaints the uncovered strip.
    virtual void ScrollContents(int dy) = 0;
    // Shows the bars and the paint area as arranged, with the scroll positions.
    virtual void ArrangeBars(const BarArrangement& bars, int vertical, int horizontal) = 0;
    virtual void SetScrollPositions(int vertical, int horizontal) = 0;
    virtual void SetCursor(ViewerCursor cursor) = 0;
    // The 200 ms check whether the mouse has left the document.
    virtual void SetHoverTimer(bool on) = 0;
    // The 100 ms steps that scroll while a selection is dragged past an edge or while panning.
    virtual void SetDragScrollTimer(bool on) = 0;
    // Runs ActivateLink once the current input has been handled.
    virtual void PostLinkActivation() = 0;
    // Runs DeliverFormSubmit likewise.
    virtual void PostFormSubmit() = 0;
    virtual void CopyText(const std::u16string& text) = 0;
    virtual void TakeFocus() = 0;
    // The system's wheel-scroll lines.
    virtual int WheelLines() const = 0;
};

}  // namespace htmlview
