#include "setup/ui/window_peer_win32.h"

#include <commctrl.h>

#include <string>

#include "core/unique_handle.h"
#include "setup/ui/control_windows_win32.h"
#include "setup/ui/form.h"
#include "setup/ui/gdi_canvas_win32.h"
#include "setup/ui/html_pane.h"
#include "setup/ui/html_pane_win32.h"

namespace setup::ui {
namespace {

constexpr char kWindowClass[] = "SetupUiWindow";
constexpr char kPeerProperty[] = "SetupUiPeer";

LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

void RegisterOwnClass()
{
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = OwnWindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = kWindowClass;
        return ::RegisterClassExA(&windowClass) != 0;
    }();
    (void)registered;
}


class WindowPeer final : public IControlPeer
{
public:
    WindowPeer(TWinControl& control, HWND parent);
    ~WindowPeer() override;

    void Update(Aspect aspect) override;
    bool Focused() const override { return ::GetFocus() == m_window; }
    void SetFocus() override { ::SetFocus(m_window); }
    std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(m_window); }

    HWND Window() const { return m_window; }
    TWinControl& Control() const { return m_control; }
    const ControlBinding& Binding() const { return m_binding; }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window) { m_window = window; }

private:
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    bool RouteToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Paint();
    // What the parent shows under the control, drawn on the control's off-screen picture.
    void PaintParentBehind(HDC memory, GdiCanvasDevice& device);
    TControl* GraphicChildAt(int x, int y) const;
    // Key and focus events of the control (and of a form that previews keys); true when a
    // handler swallowed the key.
    bool KeyOrFocus(UINT message, WPARAM wParam);
    void PlaceWindow();
    void ApplyFont();
    HBRUSH ColorBrush();

    TWinControl& m_control;
    const ControlBinding& m_binding;
    WindowParams m_params;
    HWND m_window = nullptr;
    WNDPROC m_oldProc = nullptr;
    core::UniqueGdiObject m_font;
    core::UniqueGdiObject m_brush;
    TColor m_brushColor = clNone;
    TControl* m_pressed = nullptr;
    bool m_trackingLeave = false;
};

WindowPeer* PeerOf(HWND window)
{
    return window ? static_cast<WindowPeer*>(::GetPropA(window, kPeerProperty)) : nullptr;
}

LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* peer =
            static_cast<WindowPeer*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        peer->Attach(window);
        ::SetPropA(window, kPeerProperty, peer);
    }
    WindowPeer* peer = PeerOf(window);
    if (!peer)
        return ::DefWindowProcA(window, message, wParam, lParam);
    try {
        return peer->Handle(message, wParam, lParam);
    } catch (...) {
        // An event handler's failure must not cross the system's call into the window.
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    WindowPeer* peer = PeerOf(window);
    if (!peer)
        return ::DefWindowProcA(window, message, wParam, lParam);
    try {
        return peer->Handle(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

WindowPeer::WindowPeer(TWinControl& control, HWND parent)
    : m_control(control), m_binding(BindingFor(control)), m_params(m_binding.Params(control))
{
    DWORD style = m_params.style;
    if (parent)
        style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (control.Visible() && parent)
        style |= WS_VISIBLE;
    if (!control.Enabled())
        style |= WS_DISABLED;
    if (control.TabStop())
        style |= WS_TABSTOP;
    const TRect bounds = control.BoundsRect();
    // Child windows get their control's id so their notifications name them.
    const auto id = reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(parent ? 1 : 0));
    const auto* form = dynamic_cast<const TCustomForm*>(&control);
    const HWND owner = !parent && form ? reinterpret_cast<HWND>(form->OwnerWindow()) : nullptr;
    if (!m_params.className) {
        RegisterOwnClass();
        m_window = ::CreateWindowExA(m_params.exStyle, kWindowClass, control.Caption().c_str(),
                                     style | WS_CLIPCHILDREN, bounds.left, bounds.top,
                                     bounds.Width(), bounds.Height(), parent ? parent : owner,
                                     parent ? id : nullptr, ::GetModuleHandleA(nullptr), this);
    } else {
        m_window = ::CreateWindowExA(
            m_params.exStyle, m_params.className, control.Caption().c_str(), style, bounds.left,
            bounds.top, bounds.Width(), bounds.Height() + m_params.extraHeight, parent, id,
            m_params.instance ? m_params.instance : ::GetModuleHandleA(nullptr), nullptr);
        if (m_window) {
            ::SetPropA(m_window, kPeerProperty, this);
            m_oldProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
                m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
        }
    }
    if (!m_window)
        throw rtl::Exception("Error creating window of control '" + control.Name() + "' (" +
                             std::to_string(::GetLastError()) + ")");
    ApplyFont();
    if (!parent)
        PlaceWindow();
    m_binding.PushAll(m_window, control);
}

WindowPeer::~WindowPeer()
{
    if (!m_window || !::IsWindow(m_window))
        return;
    m_binding.Destroying(m_window);
    if (m_oldProc)
        ::SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
    ::RemovePropA(m_window, kPeerProperty);
    ::DestroyWindow(m_window);
}

void WindowPeer::PlaceWindow()
{
    auto* form = dynamic_cast<TCustomForm*>(&m_control);
    if (!form) {
        const TRect r = m_control.BoundsRect();
        ::MoveWindow(m_window, r.left, r.top, r.Width(), r.Height() + m_params.extraHeight, TRUE);
        return;
    }
    // The window's size follows from the client size the form keeps.
    RECT rect{0, 0, form->ClientWidth(), form->ClientHeight()};
    ::AdjustWindowRectEx(&rect, static_cast<DWORD>(::GetWindowLongPtrA(m_window, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(m_window, GWL_EXSTYLE)));
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int left = form->Left();
    int top = form->Top();
    // A centred form centres on its owner's window when asked to and it is on screen, else on
    // the work area.
    const HWND owner = reinterpret_cast<HWND>(form->OwnerWindow());
    RECT centre{};
    bool centred = false;
    switch (form->Position()) {
        case TPosition::poOwnerFormCenter:
            if (owner && ::IsWindowVisible(owner) && ::GetWindowRect(owner, &centre)) {
                centred = true;
                break;
            }
            [[fallthrough]];
        case TPosition::poScreenCenter:
        case TPosition::poDesktopCenter:
        case TPosition::poMainFormCenter:
            centred = ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &centre, 0) != FALSE;
            break;
        default:
            break;
    }
    if (centred) {
        left = centre.left + (centre.right - centre.left - width) / 2;
        top = centre.top + (centre.bottom - centre.top - height) / 2;
    }
    ::SetWindowPos(m_window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPeer::ApplyFont()
{
    m_font = CreateFontFor(*m_control.Font());
    ::SendMessageA(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
}

HBRUSH WindowPeer::ColorBrush()
{
    if (!m_brush || m_brushColor != m_control.Color()) {
        m_brush.Reset(::CreateSolidBrush(ToColorRef(m_control.Color())));
        m_brushColor = m_control.Color();
    }
    return static_cast<HBRUSH>(m_brush.Get());
}

void WindowPeer::Update(Aspect aspect)
{
    switch (aspect) {
        case Aspect::Bounds:
            PlaceWindow();
            break;
        case Aspect::Text: {
            char current[1024] = {};
            ::GetWindowTextA(m_window, current, sizeof(current));
            if (m_control.Caption() != current || m_control.Caption().size() >= sizeof(current) - 1)
                ::SetWindowTextA(m_window, m_control.Caption().c_str());
            break;
        }
        case Aspect::Visible:
            if (dynamic_cast<TCustomForm*>(&m_control) && m_control.Visible()) {
                ::ShowWindow(m_window, SW_SHOW);
                ::SetForegroundWindow(m_window);
                ::UpdateWindow(m_window);
            } else {
                ::ShowWindow(m_window, m_control.Visible() ? SW_SHOWNA : SW_HIDE);
            }
            break;
        case Aspect::Enabled:
            ::EnableWindow(m_window, m_control.Enabled());
            break;
        case Aspect::Font:
            ApplyFont();
            ::InvalidateRect(m_window, nullptr, TRUE);
            break;
        case Aspect::Color:
        case Aspect::Paint:
            ::InvalidateRect(m_window, nullptr, TRUE);
            break;
        default:
            break;
    }
    m_binding.Push(m_window, m_control, aspect);
}

LRESULT WindowPeer::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_oldProc)
        return ::CallWindowProcA(m_oldProc, m_window, message, wParam, lParam);
    return ::DefWindowProcA(m_window, message, wParam, lParam);
}

bool WindowPeer::RouteToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
        case WM_COMMAND:
            if (WindowPeer* child = PeerOf(reinterpret_cast<HWND>(lParam)))
                return child->m_binding.Command(child->m_window, child->m_control, HIWORD(wParam));
            return false;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (WindowPeer* child = PeerOf(header->hwndFrom))
                return child->m_binding.Notify(child->m_window, child->m_control, *header, result);
            return false;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (WindowPeer* child = PeerOf(reinterpret_cast<HWND>(lParam)))
                return child->m_binding.Scroll(child->m_window, child->m_control);
            return false;
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (WindowPeer* child = PeerOf(item->hwndItem)) {
                result = TRUE;
                return child->m_binding.DrawItem(child->m_window, child->m_control, *item);
            }
            return false;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            if (WindowPeer* child = PeerOf(reinterpret_cast<HWND>(lParam))) {
                auto dc = reinterpret_cast<HDC>(wParam);
                ::SetBkColor(dc, ToColorRef(child->m_control.Color()));
                ::SetTextColor(dc, ToColorRef(child->m_control.Font()->Color()));
                result = reinterpret_cast<LRESULT>(child->ColorBrush());
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool WindowPeer::KeyOrFocus(UINT message, WPARAM wParam)
{
    switch (message) {
        case WM_SETFOCUS:
            m_control.onEnter(&m_control);
            m_control.FocusFromWindow(true);
            return false;
        case WM_KILLFOCUS:
            m_control.onExit(&m_control);
            m_control.FocusFromWindow(false);
            return false;
        case WM_KEYDOWN:
        case WM_KEYUP: {
            auto key = static_cast<std::uint16_t>(wParam);
            const TShiftState shift = KeyShift();
            TKeyEvent TWinControl::*event =
                message == WM_KEYDOWN ? &TWinControl::onKeyDown : &TWinControl::onKeyUp;
            // A form with key preview sees its controls' keys first.
            for (TWinControl* parent = m_control.Parent(); parent && key; parent = parent->Parent())
                if (auto* form = dynamic_cast<TCustomForm*>(parent); form && form->KeyPreview())
                    (form->*event)(form, key, shift);
            if (key)
                (m_control.*event)(&m_control, key, shift);
            if (key && message == WM_KEYDOWN)
                m_control.KeyDownFromWindow(key, shift);
            // A handler that cleared the key keeps it from the control.
            return key == 0 || m_control.KeyFromWindow(message == WM_KEYDOWN, key, shift);
        }
        case WM_CHAR: {
            char c = static_cast<char>(wParam);
            for (TWinControl* parent = m_control.Parent(); parent && c; parent = parent->Parent())
                if (auto* form = dynamic_cast<TCustomForm*>(parent); form && form->KeyPreview())
                    form->onKeyPress(form, c);
            if (c)
                m_control.onKeyPress(&m_control, c);
            if (c)
                m_control.KeyPressFromWindow(c);
            return c == 0;
        }
        default:
            return false;
    }
}

TControl* WindowPeer::GraphicChildAt(int x, int y) const
{
    const auto& children = m_control.Controls();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        TControl* child = *it;
        if (dynamic_cast<TWinControl*>(child) || !child->Visible() || !child->Enabled())
            continue;
        const TRect r = child->BoundsRect();
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return child;
    }
    return nullptr;
}

void WindowPeer::Paint()
{
    PAINTSTRUCT paint;
    HDC target = ::BeginPaint(m_window, &paint);
    RECT client;
    ::GetClientRect(m_window, &client);
    // Painted off screen first, so a page does not flicker while its parts draw.
    core::UniqueMemoryDc memory(::CreateCompatibleDC(target));
    core::UniqueGdiObject bitmap(::CreateCompatibleBitmap(target, client.right, client.bottom));
    HGDIOBJ old = ::SelectObject(memory.Get(), bitmap.Get());
    GdiCanvasDevice device(memory.Get());
    {
        TCanvas canvas(&device);
        canvas.Brush().SetColor(m_control.Color());
        canvas.FillRect({0, 0, client.right, client.bottom});
        if (m_control.PaintsParentBehind())
            PaintParentBehind(memory.Get(), device);
        m_control.Paint(canvas);
    }
    for (TControl* child : m_control.Controls()) {
        if (dynamic_cast<TWinControl*>(child) || !child->Visible())
            continue;
        const TRect r = child->BoundsRect();
        const int saved = ::SaveDC(memory.Get());
        ::SetViewportOrgEx(memory.Get(), r.left, r.top, nullptr);
        ::IntersectClipRect(memory.Get(), 0, 0, r.Width(), r.Height());
        TCanvas canvas(&device);
        child->Paint(canvas);
        ::RestoreDC(memory.Get(), saved);
    }
    ::BitBlt(target, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    ::SelectObject(memory.Get(), old);
    ::EndPaint(m_window, &paint);
}

void WindowPeer::PaintParentBehind(HDC memory, GdiCanvasDevice& device)
{
    TWinControl* parent = m_control.Parent();
    if (!parent)
        return;
    const int saved = ::SaveDC(memory);
    ::SetViewportOrgEx(memory, -m_control.Left(), -m_control.Top(), nullptr);
    {
        TCanvas canvas(&device);
        canvas.Brush().SetColor(parent->Color());
        canvas.FillRect(parent->ClientRect());
        parent->Paint(canvas);
    }
    for (TControl* sibling : parent->Controls()) {
        if (dynamic_cast<TWinControl*>(sibling) || !sibling->Visible())
            continue;
        const TRect r = sibling->BoundsRect();
        const int inner = ::SaveDC(memory);
        ::SetViewportOrgEx(memory, r.left - m_control.Left(), r.top - m_control.Top(), nullptr);
        ::IntersectClipRect(memory, 0, 0, r.Width(), r.Height());
        TCanvas canvas(&device);
        sibling->Paint(canvas);
        ::RestoreDC(memory, inner);
    }
    ::RestoreDC(memory, saved);
}

LRESULT WindowPeer::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = dynamic_cast<TCustomForm*>(&m_control);
    if (form && form->MessageHook) {
        WindowMessage hooked{message, wParam, lParam, 0};
        if (form->MessageHook(*form, hooked))
            return hooked.result;
    }
    LRESULT result = 0;
    if (RouteToChild(message, wParam, lParam, result))
        return result;
    if (m_binding.OwnMessage(m_window, m_control, message, wParam, lParam, result))
        return result;
    if (KeyOrFocus(message, wParam))
        return 0;
    // The wheel turns at the focused window; a control may scroll for it (an editor inside a
    // grid passes it to the grid) before the window's own handling.
    if (message == WM_MOUSEWHEEL &&
        m_control.MouseWheelFromWindow(GET_WHEEL_DELTA_WPARAM(wParam),
                                       ShiftOfMouseKeys(GET_KEYSTATE_WPARAM(wParam))))
        return 0;
    if (m_oldProc) {
        result = Default(message, wParam, lParam);
        // A system control that takes more keys than its class does (an edit that acts on
        // Enter) says so to dialog navigation.
        if (message == WM_GETDLGCODE) {
            const unsigned wanted = m_control.WantedKeys();
            result |= (wanted & kwArrows ? DLGC_WANTARROWS : 0) |
                      (wanted & kwChars ? DLGC_WANTCHARS : 0) |
                      (wanted & kwAllKeys ? DLGC_WANTALLKEYS : 0);
        }
        // Clicks of system controls arrive as their notifications; the release is still told.
        if (message == WM_LBUTTONUP || message == WM_RBUTTONUP)
            m_control.onMouseUp(&m_control, message == WM_LBUTTONUP ? mbLeft : mbRight,
                                ShiftOfMouseKeys(wParam), static_cast<short>(LOWORD(lParam)),
                                static_cast<short>(HIWORD(lParam)));
        return result;
    }

    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_GETDLGCODE: {
            const unsigned wanted = m_control.WantedKeys();
            return (wanted & kwArrows ? DLGC_WANTARROWS : 0) |
                   (wanted & kwChars ? DLGC_WANTCHARS : 0) |
                   (wanted & kwAllKeys ? DLGC_WANTALLKEYS : 0) |
                   (wanted & kwButton ? DLGC_BUTTON : 0);
        }
        case WM_MOUSEMOVE:
            if (!m_trackingLeave) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_window, 0};
                m_trackingLeave = ::TrackMouseEvent(&track) != 0;
            }
            m_control.MouseMoveFromWindow(ShiftOfMouseKeys(wParam), static_cast<short>(LOWORD(lParam)),
                                          static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_MOUSELEAVE:
            m_trackingLeave = false;
            m_control.MouseLeaveFromWindow();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            const int x = static_cast<short>(LOWORD(lParam));
            const int y = static_cast<short>(HIWORD(lParam));
            // The second press of a double click is a press too.
            const bool down = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
                              message == WM_RBUTTONDOWN;
            const TMouseButton button =
                message == WM_RBUTTONDOWN || message == WM_RBUTTONUP ? mbRight : mbLeft;
            TShiftState shift = ShiftOfMouseKeys(wParam);
            if (message == WM_LBUTTONDBLCLK)
                shift.Include(ssDouble);
            TControl* target = GraphicChildAt(x, y);
            if (down) {
                m_pressed = target;
                // A control tracking its own press hears of the release outside it too.
                if (target || !form)
                    ::SetCapture(m_window);
            } else {
                ::ReleaseCapture();
                // A click is a release over the control the button went down on.
                if (target != m_pressed)
                    target = nullptr;
                m_pressed = nullptr;
            }
            if (target)
                target->MouseFromWindow(down, button, shift, x - target->Left(), y - target->Top());
            else if (!form || !down)
                m_control.MouseFromWindow(down, button, shift, x, y);
            return 0;
        }
        case WM_CLOSE:
            if (form) {
                form->Close();
                return 0;
            }
            break;
        case WM_ACTIVATE:
            if (form) {
                if (LOWORD(wParam) != WA_INACTIVE)
                    form->Activated();
                else
                    form->Deactivated();
            }
            break;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace

Win32PeerFactory::Win32PeerFactory()
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS |
                                                        ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                        ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS |
                                                        ICC_ANIMATE_CLASS};
    ::InitCommonControlsEx(&controls);
    // The rich edit's window class comes with its library; it stays loaded for the process.
    ::LoadLibraryA("riched20.dll");
}

std::unique_ptr<IControlPeer> Win32PeerFactory::CreatePeer(TWinControl& control)
{
    HWND parent = control.Parent() ? WindowOf(*control.Parent()) : nullptr;
    if (auto* pane = dynamic_cast<THtmlPane*>(&control))
        return CreateHtmlPanePeer(*pane, parent);
    return std::make_unique<WindowPeer>(control, parent);
}

HWND WindowOf(const TWinControl& control)
{
    return control.Peer() ? reinterpret_cast<HWND>(control.Peer()->Handle()) : nullptr;
}

TShiftState ShiftOfMouseKeys(WPARAM keys)
{
    TShiftState shift;
    if (keys & MK_SHIFT)
        shift.Include(ssShift);
    if (keys & MK_CONTROL)
        shift.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        shift.Include(ssLeft);
    if (keys & MK_RBUTTON)
        shift.Include(ssRight);
    return shift;
}

TShiftState KeyShift()
{
    TShiftState shift;
    if (::GetKeyState(VK_SHIFT) < 0)
        shift.Include(ssShift);
    if (::GetKeyState(VK_CONTROL) < 0)
        shift.Include(ssCtrl);
    if (::GetKeyState(VK_MENU) < 0)
        shift.Include(ssAlt);
    return shift;
}

TWinControl* ControlOfWindow(HWND window)
{
    WindowPeer* peer = PeerOf(window);
    if (!peer)
        return PaneOfWindow(window);
    return &peer->Control();
}

}  // namespace setup::ui
