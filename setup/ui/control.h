// The control classes every page control builds on. TControl keeps position, size, visibility,
// font, colour and text in fields; TWinControl owns a window through a peer made by the form's
// peer factory, created only when first needed (lazy), so a page loads and can be inspected with
// no display. Every change of a field reaches the window through the peer once one exists.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "setup/forms/component.h"
#include "setup/forms/property_types.h"
#include "setup/ui/canvas.h"
#include "setup/ui/geometry.h"
#include "setup/ui/graphics.h"
#include "setup/ui/ui_types.h"

namespace setup::ui {

using forms::TCursor;
using forms::TNotifyEvent;
using forms::TObject;

enum TAlign
{
    alNone,
    alTop,
    alBottom,
    alLeft,
    alRight,
    alClient,
    alCustom,
};
enum TAnchorKind
{
    akLeft,
    akTop,
    akRight,
    akBottom,
};
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton
{
    mbLeft,
    mbRight,
    mbMiddle,
};
enum TShiftStateItem
{
    ssShift,
    ssAlt,
    ssCtrl,
    ssLeft,
    ssRight,
    ssMiddle,
    ssDouble,
};
using TShiftState = TSet<TShiftStateItem>;
enum TBevelCut
{
    bvNone,
    bvLowered,
    bvRaised,
    bvSpace,
};
enum TBorderStyle
{
    bsNone,
    bsSingle,
};
enum TAlignment
{
    taLeftJustify,
    taRightJustify,
    taCenter,
};

struct TMouseEvent : forms::TEvent<TMouseButton, TShiftState, int, int>
{
};
struct TKeyEvent : forms::TEvent<std::uint16_t&, TShiftState>
{
};
struct TKeyPressEvent : forms::TEvent<char&>
{
};

// What of a control changed, for its window to catch up.
enum class Aspect
{
    Bounds,
    Text,
    Visible,
    Enabled,
    Font,
    Color,
    Items,
    ItemIndex,
    State,
    Range,
    Position,
    Style,
    ReadOnly,
    Pages,
    Nodes,
    Paint,
    Shape,      // a form's window region
    UserMove,   // a form starts the system's move loop
    EditLabel,  // a tree or list view starts editing a caption
    Columns,    // a list view's columns or their sort marks
    DropHighlight,  // where a drag would drop
    Glass,      // a form's glass frame
};

class TWinControl;

// The window of a windowed control.
class IControlPeer
{
public:
    virtual ~IControlPeer() = default;
    virtual void Update(Aspect aspect) = 0;
    virtual bool Focused() const = 0;
    virtual void SetFocus() = 0;
    // The system's window handle as a number, for code that must name it (tests, capture).
    virtual std::uintptr_t Handle() const = 0;
};

class IPeerFactory
{
public:
    virtual ~IPeerFactory() = default;
    // The control's parent, if any, has its window already.
    virtual std::unique_ptr<IControlPeer> CreatePeer(TWinControl& control) = 0;
};

class TControl : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    explicit TControl(forms::TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return m_parent; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(forms::TComponent* parent) override;
    forms::TComponent* GetParentComponent() const override;

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetLeft(std::int32_t value) { SetBounds(value, m_top, m_width, m_height); }
    void SetTop(std::int32_t value) { SetBounds(m_left, value, m_width, m_height); }
    void SetWidth(std::int32_t value) { SetBounds(m_left, m_top, value, m_height); }
    void SetHeight(std::int32_t value) { SetBounds(m_left, m_top, m_width, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return TRect::Bounds(m_left, m_top, m_width, m_height); }
    virtual TRect ClientRect() const { return {0, 0, m_width, m_height}; }

    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint) { m_hint = hint; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool show) { m_showHint = show; }

    // The control's text: published as Caption or as Text, as the class says.
    const std::string& Caption() const { return m_text; }
    virtual void SetCaption(const std::string& text);
    const std::string& Text() const { return m_text; }
    void SetText(const std::string& text) { SetCaption(text); }

    TFont* Font() const { return m_font.get(); }
    void SetFont(TFont* font) { m_font->Assign(*font); }
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool parentFont);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool parentColor);

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return m_anchors; }
    void SetAnchors(TAnchors anchors) { m_anchors = anchors; }
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor cursor) { m_cursor = cursor; }

    // A click from the user or from code: the OnClick handler runs.
    virtual void Click();
    // A mouse button went down or up over the control (in its own coordinates); releasing the
    // left button is a click.
    virtual void MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x, int y);

    TNotifyEvent onClick;
    TNotifyEvent onDblClick;
    TMouseEvent onMouseDown;
    TMouseEvent onMouseUp;

    // Draws a windowless control on its parent's canvas; windowed controls paint in their window.
    virtual void Paint(TCanvas& canvas) {}
    // Tells the window (of a windowed control) or the parent (of a windowless one) of a change.
    virtual void Changed(Aspect aspect);
    void Loaded() override;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;
    // OnMouseDown or OnMouseUp.
    void MouseEvent(bool down, TMouseButton button, TShiftState shift, int x, int y);
    // Parent font and colour follow the parent's.
    void ParentFontChanged();
    void ParentColorChanged();
    friend class TWinControl;

    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    std::string m_text;

private:
    TWinControl* m_parent = nullptr;
    bool m_visible = true;
    bool m_enabled = true;
    std::string m_hint;
    bool m_showHint = false;
    std::unique_ptr<TFont> m_font;
    bool m_parentFont = true;
    TColor m_color = clBtnFace;
    bool m_parentColor = true;
    TAlign m_align = alNone;
    TAnchors m_anchors;
    TCursor m_cursor = TCursor(0);
};

// Keys the controls act on.
inline constexpr std::uint16_t kKeyBack = 0x08;
inline constexpr std::uint16_t kKeyEnter = 0x0D;
inline constexpr std::uint16_t kKeyEscape = 0x1B;
inline constexpr std::uint16_t kKeySpace = 0x20;
inline constexpr std::uint16_t kKeyF5 = 0x74;

// What a control takes from dialog navigation.
enum KeyWants : unsigned
{
    kwArrows = 1,
    kwChars = 2,
    kwAllKeys = 4,
    kwButton = 8,  // a button: the caption's accelerator clicks it
};

class TWinControl : public TControl
{
public:
    FORMS_CLASS_INFO()
    explicit TWinControl(forms::TComponent* owner);
    ~TWinControl() override;

    // The child controls in z-order, windowless ones included.
    const std::vector<TControl*>& Controls() const { return m_controls; }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void SetChildOrder(forms::TComponent* child, int order) override;

    std::int32_t TabOrder() const { return m_tabOrder; }
    void SetTabOrder(std::int32_t order) { m_tabOrder = order; }
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool stop) { m_tabStop = stop; }
    bool DoubleBuffered() const { return m_doubleBuffered; }
    void SetDoubleBuffered(bool buffered);

    bool HandleAllocated() const { return m_peer != nullptr; }
    // Creates the window (and the parent's first) when none exists yet; raises rtl::Exception
    // when no peer factory is reachable, as on a page that was loaded for inspection only.
    void HandleNeeded();
    IControlPeer* Peer() const { return m_peer.get(); }
    void DestroyHandle();
    // A new window with the same state, for changes a window cannot take in place.
    void RecreateWnd();
    virtual IPeerFactory* PeerFactory() const;

    bool Focused() const { return m_peer && m_peer->Focused(); }
    void SetFocus();

    void Changed(Aspect aspect) override;
    void SetBounds(int left, int top, int width, int height) override;
    // Places aligned children in the client area, in the order of their alignment.
    void AlignControls();

    // What the library's own window reports beyond clicks, for controls that draw themselves.
    virtual void MouseMoveFromWindow(TShiftState shift, int x, int y) {}
    virtual void MouseLeaveFromWindow() {}
    // The wheel turned by `delta` (120 a notch, positive away from the user) over the control or
    // a child that passed it on; true when the control scrolled for it.
    virtual bool MouseWheelFromWindow(int delta, TShiftState shift) { return false; }
    // A key of the control's own window after the key events; true when the control used it.
    virtual bool KeyFromWindow(bool down, std::uint16_t key, TShiftState shift) { return false; }
    virtual void FocusFromWindow(bool gained) {}
    // Keys dialog navigation leaves to the control (the KeyWants flags).
    virtual unsigned WantedKeys() const { return 0; }
    // The parent's look shows through the control's background.
    virtual bool PaintsParentBehind() const { return false; }

    TKeyEvent onKeyDown;
    TKeyEvent onKeyUp;
    TKeyPressEvent onKeyPress;
    // A key went down in the window and OnKeyDown left it: the class's own key commands. Clearing
    // the key keeps it from the window.
    virtual void KeyDownFromWindow(std::uint16_t& key, TShiftState shift) {}
    // A character typed in the window after OnKeyPress; clearing it keeps it from the window.
    virtual void KeyPressFromWindow(char& c) {}
    TNotifyEvent onEnter;
    TNotifyEvent onExit;

protected:
    // Called once the window exists, so a class can push state a window needs all at once.
    virtual void CreateWnd();

private:
    std::vector<TControl*> m_controls;
    std::unique_ptr<IControlPeer> m_peer;
    std::int32_t m_tabOrder = -1;
    bool m_tabStop = false;
    bool m_doubleBuffered = false;
    bool m_aligning = false;
};

// A windowless control painted on its parent (labels, shapes, images).
class TGraphicControl : public TControl
{
public:
    FORMS_CLASS_INFO()
    using TControl::TControl;
};

// A windowed control that paints itself on a canvas (panels, gauges).
class TCustomControl : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    using TWinControl::TWinControl;
};

}  // namespace setup::ui

UI_ENUM_TYPE(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")
UI_ENUM_TYPE(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
UI_ENUM_TYPE(TMouseButton, "mbLeft", "mbRight", "mbMiddle")
UI_ENUM_TYPE(TShiftStateItem, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle",
             "ssDouble")
UI_ENUM_TYPE(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace")
UI_ENUM_TYPE(TBorderStyle, "bsNone", "bsSingle")
UI_ENUM_TYPE(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
UI_EVENT_TYPE(TMouseEvent)
UI_EVENT_TYPE(TKeyEvent)
UI_EVENT_TYPE(TKeyPressEvent)
