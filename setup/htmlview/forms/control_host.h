// What form controls need from the window system: a real control per object, parked off-screen
// until painting places it, and its state read back. A Win32 host makes child windows of the
// viewer's paint panel; tests use a fake that records the calls.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace htmlview {

enum class ControlKind
{
    Edit,
    Password,
    Button,
    CheckBox,
    Radio,
    ListBox,
    MultiListBox,  // several items may be selected
    ComboBox,      // a drop-down list
    Memo,          // several lines, wrapped at the right edge
    MemoNoWrap,    // several lines, scrolled sideways
    Panel,         // a white framed area its owner fills
    LinkStop       // an unseen tab stop that gives a link the keyboard focus
};

struct ControlSize
{
    int width = 0, height = 0;
};

// What the user did to a control.
enum class ControlEvent
{
    Click,
    Enter,   // it took the focus
    Leave,   // it lost the focus
    Return,  // the Enter key in a one-line text box or on a link's tab stop
    ArrowBack,
    ArrowForward
};

class IControlHost
{
public:
    virtual ~IControlHost() = default;
    // A new control with its caption or text; an id for the calls below.
    virtual int Create(ControlKind kind, const std::u16string& text, bool enabled) = 0;
    virtual void Destroy(int id) = 0;
    virtual void Move(int id, int x, int y, int width, int height) = 0;
    virtual ControlSize Size(int id) const = 0;
    virtual std::u16string Text(int id) const = 0;
    virtual void SetText(int id, const std::u16string& text) = 0;
    virtual bool Checked(int id) const = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual void SetTabStop(int id, bool tabStop) = 0;
    virtual void SetMaxLength(int id, int length) = 0;
    virtual void SetFocus(int id) = 0;
    // Tab moves through these controls in this order, before any others; none: the parent has
    // no tab stops of the document's.
    virtual void SetTabOrder(const std::vector<int>& ids) = 0;
    // The control font's average character width and the size of a text in it.
    virtual int AverageCharWidth(int id) const = 0;
    virtual ControlSize TextSize(int id, const std::u16string& text) const = 0;
    virtual int ScrollBarWidth() const = 0;

    // Lists and drop-down lists.
    virtual void ClearItems(int id) = 0;
    virtual void AddItem(int id, const std::u16string& text) = 0;
    virtual int ItemCount(int id) const = 0;
    virtual bool ItemSelected(int id, int index) const = 0;
    virtual void SelectItem(int id, int index, bool selected) = 0;
    // The one selected item of a single-selection list; -1 for none.
    virtual int ItemIndex(int id) const = 0;
    virtual void SetItemIndex(int id, int index) = 0;

    // A memo's lines as they are shown, wrapped at its width.
    virtual std::vector<std::u16string> ShownLines(int id) const = 0;

    // Where the host reports what the user did.
    std::function<void(int id, ControlEvent event)> onEvent;
};

}  // namespace htmlview
