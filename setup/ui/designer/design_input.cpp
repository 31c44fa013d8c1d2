// Mouse and key editing in design mode: every queued message passes here before its control sees
// it; a message the designer acts on is swallowed (its code set to 0).
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "setup/ui/containers.h"
#include "setup/ui/designer/component_container.h"
#include "setup/ui/designer/grab_handles.h"
#include "setup/ui/designer/key_table.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/menus.h"

namespace setup::ui {

namespace msg = design_msg;

namespace {

// Where a control's client area starts, in its form's client coordinates.
TPoint FormOrigin(const TControl* control, const TCustomForm* form)
{
    TPoint origin;
    for (; control && control != form; control = control->Parent()) {
        origin.x += control->Left();
        origin.y += control->Top();
    }
    return origin;
}

bool AcceptsControls(const TWinControl* control)
{
    return dynamic_cast<const TCustomForm*>(control) ||
           dynamic_cast<const TCustomPanel*>(control) || dynamic_cast<const TGroupBox*>(control) ||
           dynamic_cast<const TTabSheet*>(control);
}

bool ShowingUpTo(const TControl* control, const TCustomForm* form)
{
    for (; control && control != form; control = control->Parent())
        if (!control->Visible())
            return false;
    return true;
}

std::string Format2(const char* format, int a, int b)
{
    char text[48];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// Swallowing a message: the window never sees it.
void Swallow(DesignMessage& message)
{
    message.code = msg::kNull;
}

}  // namespace

// The editing steps that need the designer's private state, one per kind of message.
class DesignInput
{
public:
    DesignInput(TFormDesigner& designer, DesignMessage& message)
        : d(designer), m(message), form(designer.Form())
    {}

    void Dispatch();

private:
    void MouseMove();
    void LeftDown();
    void Press(TControl* x);
    void StartBand();
    void LeftUp();
    void DoubleClick();
    void RightDown();
    void RightUp();
    void KeyDown();
    void KeyUp();
    void ArrowKey(const DesignKey& key);
    TControl* First() const { return d.m_selection.empty() ? nullptr : d.m_selection.front(); }
    bool OnHandle() const { return dynamic_cast<TGrabHandle*>(m.window) != nullptr; }
    void EnableHandles()
    {
        if (d.m_grabHandles) {
            d.m_grabHandles->SetEnabled(true);
            d.m_grabHandles->Update(false);
        }
    }
    void ShowHint(const std::string& text, HintKind kind)
    {
        if (d.showMoveSizeHint && !text.empty())
            d.Surface().ShowHint(text, kind);
        else
            d.Surface().HideHint();
    }

    TFormDesigner& d;
    DesignMessage& m;
    TCustomForm* form;
};

void TFormDesigner::HandleMessage(DesignMessage& message)
{
    if (m_containersPending && m_active)
        CreateContainers();
    if (m_busy > 0) {
        if (onMessage && message.window)
            onMessage(message);
        return;
    }
    if (!Form() || !m_active || !FormIsActive())
        return;
    ++m_busy;
    struct Lower
    {
        int& busy;
        ~Lower() { --busy; }
    } lower{m_busy};
    DesignInput(*this, message).Dispatch();
}

void DesignInput::Dispatch()
{
    switch (m.code) {
        case msg::kMouseMove:
        case msg::kNcMouseMove:
            MouseMove();
            break;
        case msg::kLButtonDown:
        case msg::kNcLButtonDown:
            LeftDown();
            break;
        case msg::kLButtonUp:
        case msg::kNcLButtonUp:
            LeftUp();
            break;
        case msg::kLButtonDblClk:
        case msg::kNcLButtonDblClk:
        case msg::kRButtonDblClk:
        case msg::kNcRButtonDblClk:
        case msg::kMButtonDblClk:
        case msg::kNcMButtonDblClk:
            DoubleClick();
            break;
        case msg::kRButtonDown:
        case msg::kNcRButtonDown:
            RightDown();
            break;
        case msg::kRButtonUp:
        case msg::kNcRButtonUp:
            RightUp();
            break;
        // Keys typed into another window of the program (an inspector beside the form) are its.
        case msg::kKeyDown:
            if (m.window)
                KeyDown();
            break;
        case msg::kKeyUp:
            if (m.window)
                KeyUp();
            break;
        case msg::kHScroll:
        case msg::kVScroll:
            d.UpdateGrabs();
            break;
        case msg::kPaint:
            // Painting under the drag frames would leave pieces of them behind.
            if (d.m_drag == DragState::MoveOrSize && m.window && m.window != form)
                Swallow(m);
            break;
        default:
            break;
    }
}

TControl* TFormDesigner::ControlAtMessage(const DesignMessage& message) const
{
    TCustomForm* form = Form();
    if (!form || !message.window)
        return nullptr;
    const auto designed = [&](const TControl* control) {
        const forms::TComponent* owner = control->Owner();
        return owner && (owner == form || owner->Owner() == form) && !IsTransparent(control);
    };
    TControl* x = nullptr;
    if (dynamic_cast<TGrabHandle*>(message.window)) {
        x = message.window;
    } else {
        TWinControl* window = message.window;
        while (window && window != form && !designed(window))
            window = window->Parent();
        if (window && window != form) {
            x = window;
            const TPoint origin = FormOrigin(window, form);
            const TPoint local{message.pos.x - origin.x, message.pos.y - origin.y};
            const auto& children = window->Controls();
            for (auto child = children.rbegin(); child != children.rend(); ++child)
                if (!dynamic_cast<TWinControl*>(*child) && (*child)->Visible() &&
                    RectContains((*child)->BoundsRect(), local)) {
                    x = *child;
                    break;
                }
        } else {
            const auto& children = form->Controls();
            for (auto child = children.rbegin(); child != children.rend(); ++child)
                if ((*child)->Visible() && RectContains((*child)->BoundsRect(), message.pos)) {
                    x = *child;
                    break;
                }
            if (x && IsTransparent(x)) {
                x = nullptr;
                for (std::size_t i = 0; i < form->ComponentCount(); ++i) {
                    auto* control = dynamic_cast<TControl*>(form->Component(i));
                    if (!control || !control->Visible() || IsTransparent(control) ||
                        dynamic_cast<TGrabHandle*>(control))
                        continue;
                    const TPoint origin = FormOrigin(control->Parent(), form);
                    if (RectContains(OffsetRect(control->BoundsRect(), origin.x, origin.y),
                                     message.pos))
                        x = control;
                }
            }
        }
    }
    while (x && x->Owner() != form)
        x = x->Parent();
    while (x && x != form && IsTransparent(x))
        x = x->Parent();
    return x == form ? nullptr : x;
}

TControl* TFormDesigner::FindNextControl(bool forward) const
{
    TCustomForm* form = Form();
    if (!form)
        return nullptr;
    if (m_selection.empty())
        return form->Controls().empty() ? nullptr : form->Controls().front();
    TControl* first = m_selection.front();
    const forms::TComponent* owner = first->Owner();
    if (!owner || owner->ComponentCount() == 0)
        return nullptr;
    const std::size_t count = owner->ComponentCount();
    std::size_t index = 0;
    bool found = false;
    for (std::size_t i = 0; i < count; ++i)
        if (owner->Component(i) == first) {
            index = i;
            found = true;
        }
    if (!found)
        index = forward ? count - 1 : 0;
    const std::size_t start = index;
    while (true) {
        index = forward ? (index + 1) % count : (index + count - 1) % count;
        if (index == start)
            return nullptr;
        auto* control = dynamic_cast<TControl*>(owner->Component(index));
        if (control && !dynamic_cast<TGrabHandle*>(control) && control != first &&
            ShowingUpTo(control, form) && !IsTransparent(control) && !IsProtected(control))
            return control;
    }
}

void DesignInput::MouseMove()
{
    if (!m.window)
        return;
    IDesignSurface& surface = d.Surface();
    TControl* x = d.ControlAtMessage(m);
    const bool leftDown = m.shift.Has(ssLeft);
    if (d.m_drag == DragState::None) {
        if (!leftDown) {
            if (x && d.IsProtected(x))
                surface.SetCursor(DesignCursor::Default);
            d.TrackComponentHint(x);
        }
        if (!x)
            surface.SetCursor(DesignCursor::Default);
        else if (OnHandle() || d.IsProtected(x) || d.IsTransparent(x))
            surface.SetCursor(DesignCursor::Default);
        else
            surface.SetCursor(DesignCursor::Arrow);
        return;
    }
    if (d.m_drag == DragState::MoveOrSize) {
        d.StopHintTimer();
        if (!leftDown) {
            d.CancelDrag();
            return;
        }
        TControl* first = First();
        if (!first)
            return;
        int dx = m.pos.x - d.m_dragStart.x;
        int dy = m.pos.y - d.m_dragStart.y;
        const bool snap = d.snapToGrid && !m.shift.Has(ssAlt);
        if (d.m_dragGrab == gpNone && snap) {
            dx = SnapMoveDelta(dx, d.m_gridStep);
            dy = SnapMoveDelta(dy, d.m_gridStep);
        }
        TRect rect = ApplyGrabDelta(first->BoundsRect(), d.m_dragGrab, dx, dy);
        if (d.m_dragGrab != gpNone && snap)
            rect = SnapSizedRect(rect, d.m_dragGrab, d.m_gridStep);
        if (rect == d.m_dragRect)
            return;
        surface.HideHint();
        d.DrawFrames();
        d.m_dragRect = rect;
        d.DrawFrames();
        if (d.m_dragGrab != gpNone) {
            ShowHint(Format2("%d x %d", std::abs(rect.Width()), std::abs(rect.Height())),
                     HintKind::Size);
        } else {
            int left = first->Left();
            int top = first->Top();
            for (TControl* control : d.m_selection) {
                left = std::min(left, control->Left());
                top = std::min(top, control->Top());
            }
            ShowHint(
                Format2("%d, %d", left + rect.left - first->Left(), top + rect.top - first->Top()),
                HintKind::Move);
        }
        return;
    }
    // Band.
    if (!leftDown) {
        d.CancelDrag();
        return;
    }
    if (d.m_bandMoves > 0)
        surface.DrawBand(d.m_band);
    d.m_band.right = m.pos.x;
    d.m_band.bottom = m.pos.y;
    if (d.m_bandMoves == 0) {
        d.m_band.left = m.pos.x;
        d.m_band.top = m.pos.y;
    } else {
        surface.DrawBand(d.m_band);
    }
    ++d.m_bandMoves;
}

void DesignInput::LeftDown()
{
    IDesignSurface& surface = d.Surface();
    surface.HideHint();
    if (d.m_designControl) {
        bool inside = false;
        for (const TControl* window = m.window; window; window = window->Parent())
            inside = inside || window == d.m_designControl;
        if (!inside)
            return;
    }
    surface.CaptureMouse(false);
    const bool nonClient = m.code == msg::kNcLButtonDown;
    if (!m.window || (nonClient && m.window == form && m.hitTest != msg::kHtClient))
        return;
    d.m_pressLParam = m.lParam;
    TControl* x = d.ControlAtMessage(m);
    bool band = false;
    if (d.m_multiSelect)
        band = (x && x == d.m_designControl) || m.shift.Has(ssCtrl) || (m.window == form && !x);
    if (band)
        StartBand();
    else
        Press(x);
}

void DesignInput::Press(TControl* x)
{
    IDesignSurface& surface = d.Surface();
    d.m_dragStart = m.pos;
    auto* handle = dynamic_cast<TGrabHandle*>(m.window);
    const TGrabPosition grab = handle ? handle->Position() : gpNone;
    if (d.m_grabHandles)
        d.m_grabHandles->SetEnabled(false);
    d.ProcessMessages();
    if (grab != gpNone)
        x = nullptr;
    if (x && d.IsProtected(x)) {
        if (d.protectMode == pmUnselect && x != First()) {
            d.Select(nullptr);
            if (auto* windowed = dynamic_cast<TWinControl*>(x);
                windowed && windowed->HandleAllocated() && windowed->Visible())
                windowed->SetFocus();
        }
        if (x == d.m_designControl)
            d.Select(nullptr);
        return;
    }
    bool swallowOnly = false;
    if (x) {
        if (d.m_multiSelect && m.shift.Has(ssShift)) {
            if (!d.IsSelected(x)) {
                if (d.m_selection.size() == 1)
                    d.DrawMarks(First());
                d.AddControl(x);
            } else if (d.m_selection.size() > 1) {
                d.RemoveControl(x);
                d.Repaint(x);
                if (d.m_selection.size() == 1)
                    d.Repaint(First());
            }
            if (d.m_grabHandles)
                d.m_grabHandles->SetControl(First());
            d.ProcessMessages();
            Swallow(m);
            return;
        }
        if (!d.IsSelected(x) || d.m_selection.size() < 2) {
            if (First() != x || d.m_selection.size() > 1) {
                for (TControl* control : std::vector<TControl*>(d.m_selection)) {
                    d.RemoveFreeNotification(control);
                    d.DoDeleteControl(control);
                    d.Repaint(control);
                }
                d.m_selection.assign(1, x);
                d.FreeNotification(x);
                d.DoAddControl(x);
                d.DoSelectControl(x);
                d.DoSelectionChange();
                d.Repaint(x);
            }
            if (d.m_grabHandles)
                d.m_grabHandles->SetControl(x);
            if (d.IsLocked(x)) {
                Swallow(m);
                return;
            }
        } else {
            d.AddControl(x);
            const std::size_t before = d.m_selection.size();
            const bool lastLocked = !d.m_selection.empty() && d.IsLocked(d.m_selection.back());
            d.KeepSameParent(x);
            swallowOnly = d.m_selection.size() < before && lastLocked;
        }
    } else if (m.window == form && grab == gpNone) {
        d.Select(nullptr);
    }
    d.ProcessMessages();
    TControl* first = First();
    if ((!x || d.IsLocked(x)) && (!first || d.IsLocked(first) || grab == gpNone)) {
        Swallow(m);
        return;
    }
    (void)swallowOnly;
    d.m_dragGrab = grab;
    d.m_dragRect = first->BoundsRect();
    if (d.m_grabHandles)
        d.m_grabHandles->SetControl(first);
    if (TWinControl* parent = first->Parent()) {
        d.DrawFrames();
        TRect limit = parent->ClientRect();
        if (d.onMoveLimit)
            d.onMoveLimit(first, limit);
        const TPoint origin = FormOrigin(parent, form);
        const TRect confine = OffsetRect(limit, origin.x, origin.y);
        surface.CaptureMouse(true);
        surface.ConfineCursor(&confine);
    }
    Swallow(m);
    d.m_drag = DragState::MoveOrSize;
    if (grab != gpNone)
        ShowHint(Format2("%d x %d", first->Width(), first->Height()), HintKind::Size);
    else
        ShowHint(Format2("%d, %d", first->Left(), first->Top()), HintKind::Move);
}

void DesignInput::StartBand()
{
    IDesignSurface& surface = d.Surface();
    if (d.m_grabHandles)
        d.m_grabHandles->SetEnabled(false);
    d.m_band = {m.pos.x, m.pos.y, m.pos.x, m.pos.y};
    d.m_bandMoves = 0;
    const std::vector<TControl*> selection = d.m_selection;
    d.m_selection.clear();
    for (TControl* control : selection) {
        d.RemoveFreeNotification(control);
        d.DoDeleteControl(control);
        if (selection.size() > 1)
            d.Repaint(control);
    }
    if (selection.size() <= 1) {
        d.DoSelectControl(nullptr);
        d.DoSelectionChange();
    }
    if (d.m_grabHandles)
        d.m_grabHandles->SetControl(nullptr);
    TWinControl* container = m.window;
    while (container && container != form && !AcceptsControls(container))
        container = container->Parent();
    if (!container || dynamic_cast<TGrabHandle*>(m.window))
        container = form;
    d.m_bandContainer = container;
    const TPoint origin = FormOrigin(container, form);
    const TRect confine = OffsetRect(container->ClientRect(), origin.x, origin.y);
    surface.ConfineCursor(&confine);
    surface.CaptureMouse(true);
    d.m_drag = DragState::Band;
    Swallow(m);
}

void DesignInput::LeftUp()
{
    IDesignSurface& surface = d.Surface();
    surface.HideHint();
    if (m.code == msg::kNcLButtonUp && (m.window == form || m.hitTest != msg::kHtClient))
        return;
    if (d.m_drag == DragState::MoveOrSize) {
        d.m_drag = DragState::None;
        d.m_dragGrab = gpNone;
        d.DrawFrames();
        if (d.m_selection.size() == 1) {
            TControl* first = First();
            TRect rect = NormalizedRect(d.m_dragRect);
            if (d.onSizeLimit) {
                TPoint minSize{0, 0};
                TPoint maxSize{2147483647, 2147483647};
                d.onSizeLimit(first, minSize, maxSize);
                rect = ClampRectSize(rect, minSize, maxSize);
            }
            if (rect != first->BoundsRect()) {
                first->SetBounds(rect.left, rect.top, rect.Width(), rect.Height());
                d.ProcessMessages();
                d.DoMoveSizeControl();
                d.DoChange();
            }
            d.m_dragRect = first->BoundsRect();
        } else if (TControl* first = First()) {
            const int dx = d.m_dragRect.left - first->Left();
            const int dy = d.m_dragRect.top - first->Top();
            for (TControl* control : std::vector<TControl*>(d.m_selection)) {
                const TRect moved = OffsetRect(control->BoundsRect(), dx, dy);
                if (moved != control->BoundsRect()) {
                    control->SetBounds(moved.left, moved.top, moved.Width(), moved.Height());
                    d.DrawMarks(control);
                }
                d.ProcessMessages();
                d.DoMoveSizeControl();
            }
            d.DoChange();
        }
        d.ProcessMessages();
        Swallow(m);
        if (!OnHandle())
            surface.SetCursor(DesignCursor::Arrow);
        EnableHandles();
        d.ProcessMessages();
        surface.CaptureMouse(false);
        surface.ConfineCursor(nullptr);
        if (form)
            form->Changed(Aspect::Paint);
        return;
    }
    if (d.m_drag == DragState::Band) {
        d.m_drag = DragState::None;
        if (d.m_bandMoves > 0)
            surface.DrawBand(d.m_band);
        ++d.m_busy;
        TWinControl* container = d.m_bandContainer ? d.m_bandContainer : form;
        const TPoint origin = FormOrigin(container, form);
        const TRect band = OffsetRect(NormalizedRect(d.m_band), -origin.x, -origin.y);
        for (TControl* child : std::vector<TControl*>(container->Controls())) {
            if (dynamic_cast<TGrabHandle*>(child) || d.IsTransparent(child) ||
                d.IsProtected(child) || !ShowingUpTo(child->Parent(), form) ||
                !RectsMeet(child->BoundsRect(), band))
                continue;
            if (!d.IsSelected(child)) {
                d.m_selection.insert(d.m_selection.begin(), child);
                d.FreeNotification(child);
                d.ProcessMessages();
                d.DoAddControl(child);
            }
            d.DoSelectControl(child);
        }
        d.DoSelectionChange();
        if (d.m_selection.size() == 1 && d.m_grabHandles)
            d.m_grabHandles->SetControl(First());
        EnableHandles();
        --d.m_busy;
        d.ProcessMessages();
        if (d.m_selection.size() > 1)
            for (TControl* control : d.m_selection)
                d.DrawMarks(control);
        Swallow(m);
        surface.CaptureMouse(false);
        surface.ConfineCursor(nullptr);
        return;
    }
    if (First() && !d.IsProtected(First()) && d.m_grabHandles) {
        if (!OnHandle())
            surface.SetCursor(DesignCursor::Arrow);
        if (!d.m_grabHandles->Enabled())
            EnableHandles();
    }
}

void DesignInput::DoubleClick()
{
    if (!m.window)
        return;
    TControl* x = d.ControlAtMessage(m);
    if (m.lParam != d.m_pressLParam) {
        Swallow(m);
        return;
    }
    const bool ownWindow =
        m.window && m.window != form && m.window->Owner() == form && !d.IsProtected(m.window);
    if (x && !d.IsProtected(x)) {
        d.ProcessMessages();
        if ((m.code == msg::kLButtonDblClk || m.code == msg::kNcLButtonDblClk) &&
            d.onControlDblClick)
            d.onControlDblClick(x);
        Swallow(m);
    }
    if (ownWindow)
        Swallow(m);
    if (x && x == First())
        Swallow(m);
}

void DesignInput::RightDown()
{
    TControl* x = d.ControlAtMessage(m);
    if (!x)
        return;
    if (d.IsProtected(x)) {
        d.m_rightPressed = nullptr;
        return;
    }
    d.m_rightPressed = x;
    if (!d.IsSelected(x))
        d.Select(x);
}

void DesignInput::RightUp()
{
    if (!d.m_rightPressed || d.m_rightPressed != d.ControlAtMessage(m))
        return;
    if (d.popupMenu) {
        const TPoint at = d.Surface().CursorScreenPos();
        ++d.m_busy;
        try {
            d.popupMenu->Popup(at.x, at.y);
        } catch (...) {
            --d.m_busy;
            throw;
        }
        --d.m_busy;
    }
    Swallow(m);
}

void DesignInput::KeyDown()
{
    if (d.protectMode == pmLockKeyboard && m.window && m.window->Focused() &&
        d.IsProtected(m.window))
        return;
    auto key = static_cast<std::uint16_t>(m.wParam);
    const bool shift = m.shift.Has(ssShift);
    const bool ctrl = m.shift.Has(ssCtrl);
    const DesignKey action =
        DecideDesignKey(key, shift, ctrl, d.keySelect, d.keyMove, d.m_gridStep);
    switch (action.action) {
        case DesignKeyAction::Ignore:
            return;
        case DesignKeyAction::Tab:
        case DesignKeyAction::SelectNext:
            d.Select(d.FindNextControl(action.forward));
            if (!d.m_selection.empty())
                Swallow(m);
            if (action.action == DesignKeyAction::SelectNext)
                d.DoChange();
            return;
        case DesignKeyAction::Escape: {
            if (d.m_drag != DragState::None) {
                d.CancelDrag();
                return;
            }
            TControl* first = First();
            TWinControl* parent = first ? first->Parent() : nullptr;
            while (parent && parent != form &&
                   (d.IsLocked(parent) || d.IsTransparent(parent) || d.IsProtected(parent)))
                parent = parent->Parent();
            if (first)
                d.Select(parent == form ? nullptr : parent);
            return;
        }
        case DesignKeyAction::Move:
        case DesignKeyAction::Size:
            ArrowKey(action);
            return;
        case DesignKeyAction::Other:
            if (d.onKeyDown) {
                d.onKeyDown(key, m.shift);
                m.wParam = key;
            }
            return;
    }
}

void DesignInput::ArrowKey(const DesignKey& key)
{
    if (key.pixelMove && First())
        d.KeepSameParent(First());
    for (TControl* control : std::vector<TControl*>(d.m_selection)) {
        // A locked control keeps its place and size whatever the keys.
        if (d.IsLocked(control))
            continue;
        TRect rect = control->BoundsRect();
        if (key.action == DesignKeyAction::Size) {
            rect.right += key.dx;
            rect.bottom += key.dy;
            if (form) {
                TPoint minSize{0, 0};
                TPoint maxSize{2147483647, 2147483647};
                if (d.onSizeLimit)
                    d.onSizeLimit(First(), minSize, maxSize);
                rect = ClampRectSize(rect, minSize, maxSize);
            }
        } else {
            rect = OffsetRect(rect, key.dx, key.dy);
            if (form && control->Parent()) {
                TRect limit = control->Parent()->ClientRect();
                if (d.onMoveLimit)
                    d.onMoveLimit(control, limit);
                rect = KeepInsideLimit(rect, limit, d.m_grabSize);
            }
        }
        if (rect == control->BoundsRect())
            continue;
        control->SetBounds(rect.left, rect.top, rect.Width(), rect.Height());
        if (d.m_selection.size() > 1)
            d.DrawMarks(control);
        d.UpdateGrabs();
        d.ProcessMessages();
        d.DoMoveSizeControl();
    }
    d.DoChange();
    if (!d.m_selection.empty())
        Swallow(m);
}

void DesignInput::KeyUp()
{
    auto key = static_cast<std::uint16_t>(m.wParam);
    if (key == kVkTab || (key >= kVkLeft && key <= kVkDown)) {
        Swallow(m);
        return;
    }
    if (d.onKeyUp) {
        d.onKeyUp(key, m.shift);
        m.wParam = key;
    }
}

}  // namespace setup::ui
