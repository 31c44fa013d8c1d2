#include "setup/ui/designer/design_surface_win32.h"

#include <algorithm>
#include <vector>

#include "setup/ui/application.h"
#include "setup/ui/designer/grab_handles.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/gdi_canvas_win32.h"
#include "setup/ui/window_peer_win32.h"

namespace setup::ui {
namespace {

// Process-wide on purpose: the hook has no argument to carry them, and one hook serves every
// designer of the thread.
std::vector<TFormDesigner*> g_activeDesigners;
HHOOK g_hook = nullptr;

bool IsMouseMessage(UINT code)
{
    return (code >= WM_MOUSEFIRST && code <= WM_MOUSELAST) ||
           (code >= WM_NCMOUSEMOVE && code <= WM_NCMBUTTONDBLCLK);
}

bool IsNonClient(UINT code)
{
    return code >= WM_NCMOUSEMOVE && code <= WM_NCMBUTTONDBLCLK;
}

// The designed control whose window it is, climbing to the nearest window the library made.
TWinControl* ControlForWindow(HWND window, HWND form, bool& inside)
{
    inside = false;
    for (HWND current = window; current; current = ::GetParent(current)) {
        if (TWinControl* control = ControlOfWindow(current))
            return control;
        inside = true;
        if (current == form)
            break;
    }
    return nullptr;
}

TShiftState KeysHeld()
{
    TShiftState shift = KeyShift();
    if (::GetKeyState(VK_LBUTTON) < 0)
        shift.Include(ssLeft);
    if (::GetKeyState(VK_RBUTTON) < 0)
        shift.Include(ssRight);
    return shift;
}

// The system cursor's number (the build's UNICODE names would be wide).
WORD GrabCursorId(TGrabPosition position)
{
    switch (position) {
        case gpLeftTop:
        case gpRightBottom:
            return 32642;  // IDC_SIZENWSE
        case gpLeftMiddle:
        case gpRightMiddle:
            return 32644;  // IDC_SIZEWE
        case gpLeftBottom:
        case gpRightTop:
            return 32643;  // IDC_SIZENESW
        case gpMiddleTop:
        case gpMiddleBottom:
            return 32645;  // IDC_SIZENS
        default:
            return 32512;  // IDC_ARROW
    }
}

HCURSOR SystemCursor(WORD id)
{
    return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
}

// The system's message as the designer sees it; false when it is not the form's.
bool Translate(const MSG& raw, TFormDesigner& designer, DesignMessage& message)
{
    TCustomForm* form = designer.Form();
    HWND formWindow = form ? WindowOf(*form) : nullptr;
    if (!formWindow)
        return false;
    message.code = raw.message;
    message.wParam = raw.wParam;
    message.lParam = raw.lParam;
    message.shift = KeysHeld();
    if (raw.message >= WM_MOUSEFIRST && raw.message <= WM_MOUSELAST &&
        raw.message != WM_MOUSEWHEEL) {
        // A client mouse message carries the buttons and keys of its own moment.
        const bool alt = message.shift.Has(ssAlt);
        message.shift = {};
        if (raw.wParam & MK_LBUTTON)
            message.shift.Include(ssLeft);
        if (raw.wParam & MK_RBUTTON)
            message.shift.Include(ssRight);
        if (raw.wParam & MK_SHIFT)
            message.shift.Include(ssShift);
        if (raw.wParam & MK_CONTROL)
            message.shift.Include(ssCtrl);
        if (alt)
            message.shift.Include(ssAlt);
    }
    const bool belongs = raw.hwnd == formWindow || ::IsChild(formWindow, raw.hwnd);
    if (belongs)
        message.window = ControlForWindow(raw.hwnd, formWindow, message.insideWindow);
    if (IsMouseMessage(raw.message)) {
        POINT point{static_cast<short>(LOWORD(raw.lParam)), static_cast<short>(HIWORD(raw.lParam))};
        if (IsNonClient(raw.message)) {
            ::ScreenToClient(formWindow, &point);
            message.hitTest = static_cast<int>(raw.wParam);
        } else {
            ::MapWindowPoints(raw.hwnd, formWindow, &point, 1);
        }
        message.pos = {point.x, point.y};
    }
    return true;
}

void Route(MSG& raw)
{
    for (TFormDesigner* designer : std::vector<TFormDesigner*>(g_activeDesigners)) {
        if (std::find(g_activeDesigners.begin(), g_activeDesigners.end(), designer) ==
            g_activeDesigners.end())
            continue;
        DesignMessage message;
        if (!Translate(raw, *designer, message))
            continue;
        designer->HandleMessage(message);
        const bool buttonUp = raw.message == WM_LBUTTONUP || raw.message == WM_RBUTTONUP ||
                              raw.message == WM_NCLBUTTONUP || raw.message == WM_NCRBUTTONUP;
        if (designer->BusyCount() > 0 && buttonUp && message.code != 0)
            designer->HandleMessage(message);
        if (message.code == design_msg::kNull) {
            raw.message = WM_NULL;
            return;
        }
        raw.wParam = message.wParam;
        // Over a grab handle the sizing cursor of its corner shows.
        if (raw.message == WM_MOUSEMOVE)
            if (auto* handle = dynamic_cast<TGrabHandle*>(message.window))
                ::SetCursor(SystemCursor(GrabCursorId(handle->Position())));
    }
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (code >= 0 && wParam == PM_REMOVE) {
        try {
            Route(*reinterpret_cast<MSG*>(lParam));
        } catch (...) {
            // A handler's failure must not cross the system's call.
        }
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

Win32DesignSurface::~Win32DesignSurface()
{
    if (m_designer)
        Detach(*m_designer);
    HideHint();
}

HWND Win32DesignSurface::FormWindow() const
{
    TCustomForm* form = m_designer ? m_designer->Form() : nullptr;
    return form ? WindowOf(*form) : nullptr;
}

void Win32DesignSurface::Attach(TFormDesigner& designer)
{
    m_designer = &designer;
    if (TCustomForm* form = designer.Form()) {
        m_savedHook = form->MessageHook;
        form->MessageHook = [this](TCustomForm& target, WindowMessage& message) {
            return FormMessage(target, message);
        };
        m_hookedForm = form;
    }
    if (std::find(g_activeDesigners.begin(), g_activeDesigners.end(), &designer) ==
        g_activeDesigners.end())
        g_activeDesigners.push_back(&designer);
    if (!g_hook)
        g_hook =
            ::SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, ::GetCurrentThreadId());
}

void Win32DesignSurface::Detach(TFormDesigner& designer)
{
    if (m_hookedForm && m_hookedForm == designer.Form()) {
        m_hookedForm->MessageHook = std::move(m_savedHook);
        m_savedHook = nullptr;
    }
    m_hookedForm = nullptr;
    std::erase(g_activeDesigners, &designer);
    if (g_activeDesigners.empty() && g_hook) {
        ::UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
    HideHint();
    m_designer = nullptr;
}

bool Win32DesignSurface::FormMessage(TCustomForm& form, WindowMessage& message)
{
    const auto chain = [&] { return m_savedHook && m_savedHook(form, message); };
    if (!m_designer || !m_designer->displayGrid || !WindowOf(form))
        return chain();
    switch (message.message) {
        case WM_ACTIVATE:
            // The form's own handling still runs: it keeps the screen's active form.
            if (LOWORD(message.wParam) != WA_INACTIVE)
                m_designer->UpdateGrabs();
            return chain();
        case WM_MOUSEACTIVATE: {
            TApplication* app = form.Application();
            const TCustomForm* active = app ? app->Screen().ActiveForm() : nullptr;
            bool isActive = false;
            for (const TControl* control = &form; control; control = control->Parent())
                isActive = isActive || control == active;
            if (m_designer->BusyCount() == 0 && !isActive) {
                // The click that activates the form does not also edit it.
                ::SetFocus(WindowOf(form));
                message.result = MA_ACTIVATEANDEAT;
                return true;
            }
            return chain();
        }
        default:
            return chain();
    }
}

void Win32DesignSurface::ProcessMessages()
{
    if (HWND form = FormWindow())
        ::RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32DesignSurface::SetCursor(DesignCursor cursor)
{
    if (cursor == DesignCursor::Arrow)
        ::SetCursor(SystemCursor(32512));
}

void Win32DesignSurface::CaptureMouse(bool capture)
{
    HWND form = FormWindow();
    if (capture) {
        if (form && !::GetCapture())
            ::SetCapture(form);
    } else if (form && ::GetCapture() == form) {
        ::ReleaseCapture();
    }
}

void Win32DesignSurface::ConfineCursor(const TRect* formRect)
{
    HWND form = FormWindow();
    if (!formRect || !form) {
        ::ClipCursor(nullptr);
        return;
    }
    RECT rect{formRect->left, formRect->top, formRect->right, formRect->bottom};
    ::MapWindowPoints(form, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    ::ClipCursor(&rect);
}

namespace {

void XorRectangles(HWND window, const std::vector<TRect>& rects, int penStyle, int width,
                   COLORREF colour)
{
    if (!window)
        return;
    HDC dc = ::GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_PARENTCLIP);
    if (!dc)
        return;
    HPEN pen = ::CreatePen(penStyle, width, colour);
    const int oldRop = ::SetROP2(dc, R2_XORPEN);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    for (const TRect& rect : rects)
        ::Rectangle(dc, rect.left + 1, rect.top + 1, rect.right, rect.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::SetROP2(dc, oldRop);
    ::DeleteObject(pen);
    ::ReleaseDC(window, dc);
}

}  // namespace

void Win32DesignSurface::DrawFrames(TWinControl& parent, const std::vector<TRect>& rects)
{
    XorRectangles(WindowOf(parent), rects, PS_SOLID, 2, ToColorRef(clGray));
}

void Win32DesignSurface::DrawBand(const TRect& formRect)
{
    const TRect band{
        std::min(formRect.left, formRect.right), std::min(formRect.top, formRect.bottom),
        std::max(formRect.left, formRect.right), std::max(formRect.top, formRect.bottom)};
    XorRectangles(FormWindow(), {band}, PS_DOT, 1, RGB(255, 255, 255));
}

void Win32DesignSurface::DrawMultiSelectMarks(TControl& control)
{
    if (!m_designer)
        return;
    // A windowless control is drawn on its parent's window, at its place there.
    TWinControl* host = dynamic_cast<TWinControl*>(&control);
    TPoint offset;
    if (!host || !host->HandleAllocated()) {
        host = control.Parent();
        offset = {control.Left(), control.Top()};
    }
    HWND window = host && host->HandleAllocated() ? WindowOf(*host) : nullptr;
    if (!window)
        return;
    HDC dc = ::GetDC(window);
    const int g = m_designer->GrabSize();
    HPEN pen = ::CreatePen(PS_SOLID, 1, ToColorRef(m_designer->multiGrabBorder));
    HBRUSH brush = ::CreateSolidBrush(ToColorRef(m_designer->multiGrabFill));
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    const int w = control.Width();
    const int h = control.Height();
    for (const TPoint corner :
         {TPoint{0, 0}, TPoint{0, h - g}, TPoint{w - g, 0}, TPoint{w - g, h - g}})
        ::Rectangle(dc, offset.x + corner.x, offset.y + corner.y, offset.x + corner.x + g,
                    offset.y + corner.y + g);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
    ::ReleaseDC(window, dc);
}

void Win32DesignSurface::ShowHint(const std::string& text, HintKind kind)
{
    HideHint();
    if (!m_designer || text.empty())
        return;
    if (m_designer->ControlCount() > 1)
        for (std::size_t i = 0; i < m_designer->ControlCount(); ++i)
            DrawMultiSelectMarks(*m_designer->Controls(static_cast<int>(i)));
    POINT at{};
    ::GetCursorPos(&at);
    at.y += kind == HintKind::Component ? 24 : kind == HintKind::Move ? 18 : 8;
    m_hint = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC",
                               text.c_str(), WS_POPUP | WS_BORDER | SS_LEFT, at.x, at.y, 10, 10,
                               nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!m_hint)
        return;
    HDC dc = ::GetDC(m_hint);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    RECT measure{0, 0, 255, 0};
    ::DrawTextA(dc, text.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hint, dc);
    ::SendMessageA(m_hint, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                   FALSE);
    ::SetWindowPos(m_hint, HWND_TOPMOST, at.x, at.y, measure.right + 6, measure.bottom + 4,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Win32DesignSurface::HideHint()
{
    if (m_hint) {
        ::DestroyWindow(m_hint);
        m_hint = nullptr;
    }
}

TPoint Win32DesignSurface::CursorScreenPos()
{
    POINT point{};
    ::GetCursorPos(&point);
    return {point.x, point.y};
}

}  // namespace setup::ui
