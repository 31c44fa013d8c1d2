// What each control class asks of its window: the system class and styles it is made with, the
// state it pushes after a change, and the notifications it turns into events.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "setup/ui/control.h"

namespace setup::ui {

struct WindowParams
{
    const char* className = nullptr;  // null: the library's own class, painted by the control
    DWORD style = 0;
    DWORD exStyle = 0;
    HINSTANCE instance = nullptr;  // where a class's resources come from (common animations)
    int extraHeight = 0;           // a combo box's list below its edit
};

class ControlBinding
{
public:
    virtual ~ControlBinding() = default;
    virtual WindowParams Params(TWinControl& control) const = 0;
    // State the class keeps beyond text, bounds, visibility, enabling and font.
    virtual void Push(HWND window, TWinControl& control, Aspect aspect) const {}
    // Everything Push sets, once, right after the window is made.
    virtual void PushAll(HWND window, TWinControl& control) const {}
    // A notification of the control's window to its parent: WM_COMMAND's code, WM_NOTIFY, a
    // scroll message. True when handled (with the result for WM_NOTIFY).
    virtual bool Command(HWND window, TWinControl& control, int code) const { return false; }
    virtual bool Notify(HWND window, TWinControl& control, NMHDR& header, LRESULT& result) const
    {
        return false;
    }
    virtual bool Scroll(HWND window, TWinControl& control) const { return false; }
    virtual bool DrawItem(HWND window, TWinControl& control, DRAWITEMSTRUCT& item) const
    {
        return false;
    }
    // The window is about to go; the control may be going too.
    virtual void Destroying(HWND window) const {}
    // A message to the control's own window, before the class's handling.
    virtual bool OwnMessage(HWND window, TWinControl& control, UINT message, WPARAM wParam,
                            LPARAM lParam, LRESULT& result) const
    {
        return false;
    }
};

const ControlBinding& BindingFor(const TWinControl& control);

// The text an ended caption edit reports, on the heap to be posted to the control once the edit
// box is gone; none when the edit was cancelled.
std::string* NewEditedText(const char* text, bool wide);

class TTreeNode;
// The item of a tree view's window that carries the node; null when none does.
HTREEITEM TreeItemOf(HWND window, const TTreeNode* node);

}  // namespace setup::ui
