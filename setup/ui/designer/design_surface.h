// What design mode asks of the window system: routing the thread's messages to the designer,
// the screen cursor, mouse capture, the exclusive-or drag pictures, the hint window and letting
// pending messages run. The Win32 version is in design_surface_win32; without one nothing is
// drawn and the designer still decides everything.
#pragma once

#include <string>
#include <vector>

#include "setup/ui/designer/design_geometry.h"
#include "setup/ui/geometry.h"

namespace setup::ui {

class TControl;
class TWinControl;
class TFormDesigner;

enum class DesignCursor
{
    Arrow,    // the screen cursor forced to the arrow
    Default,  // the window's own cursor shows
};

enum class HintKind
{
    Component = 0,
    Move = 1,
    Size = 2,
};

class IDesignSurface
{
public:
    virtual ~IDesignSurface() = default;
    // Design mode starts and ends: the designer joins or leaves the message routing.
    virtual void Attach(TFormDesigner& designer) {}
    virtual void Detach(TFormDesigner& designer) {}
    virtual void ProcessMessages() {}
    virtual void SetCursor(DesignCursor cursor) {}
    // Capture on the form's window; the cursor confined to a rectangle in form client
    // coordinates, or freed.
    virtual void CaptureMouse(bool capture) {}
    virtual void ConfineCursor(const TRect* formRect) {}
    // Drawn with exclusive-or: drawing the same again erases. Frames are in the parent's client
    // coordinates, the band in the form's.
    virtual void DrawFrames(TWinControl& parent, const std::vector<TRect>& rects) {}
    virtual void DrawBand(const TRect& formRect) {}
    virtual void DrawMultiSelectMarks(TControl& control) {}
    virtual void ShowHint(const std::string& text, HintKind kind) {}
    virtual void HideHint() {}
    // The popup menu's place: the cursor, in screen coordinates.
    virtual TPoint CursorScreenPos() { return {}; }
};

}  // namespace setup::ui
