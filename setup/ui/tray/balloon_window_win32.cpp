#include "setup/ui/tray/balloon_window_win32.h"

#include "setup/ui/tray/ico_directory.h"
#include "setup/ui/tray/taskbar_win32.h"

namespace setup::ui::tray {

namespace {

constexpr const char* kBalloonClass = "TrayBalloonWindow";
constexpr UINT_PTR kHideTimer = 1;
// Posted by the owner watch: the balloon goes at once.
constexpr UINT kDismiss = WM_APP + 0x51;

// The watch on the window the balloon belongs to. Process-wide: the hook procedure takes no
// argument of its own, and one balloon shows at a time.
struct OwnerWatch
{
    HHOOK hook = nullptr;
    HWND owner = nullptr;
    HWND balloon = nullptr;
};
OwnerWatch g_ownerWatch;

bool Overlaps(HWND window, HWND other)
{
    RECT a;
    RECT b;
    RECT both;
    return other && ::GetWindowRect(window, &a) && ::GetWindowRect(other, &b) &&
           ::IntersectRect(&both, &a, &b);
}

LRESULT CALLBACK WatchOwner(int code, WPARAM first, LPARAM second)
{
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(second);
        const OwnerWatch& watch = g_ownerWatch;
        bool dismiss = false;
        if (call->hwnd == watch.owner) {
            switch (call->message) {
            case WM_DESTROY:
            case WM_SIZE:
            case WM_CLOSE:
            case WM_MOVING:
                dismiss = true;
                break;
            case WM_ACTIVATE: {
                const auto other = reinterpret_cast<HWND>(call->lParam);
                dismiss = ::IsIconic(watch.owner) ||
                          (LOWORD(call->wParam) == WA_INACTIVE && other != watch.balloon &&
                           Overlaps(watch.balloon, other));
                break;
            }
            default:
                break;
            }
        } else if (call->hwnd == watch.balloon && call->message == WM_ACTIVATE) {
            const auto other = reinterpret_cast<HWND>(call->lParam);
            dismiss = LOWORD(call->wParam) == WA_INACTIVE && other != watch.owner &&
                      Overlaps(watch.balloon, other);
        }
        if (dismiss && watch.balloon)
            ::PostMessageA(watch.balloon, kDismiss, 0, 0);
    }
    return ::CallNextHookEx(nullptr, code, first, second);
}

bool IsFrameWindow(HWND window)
{
    if (GetWindowClassText(window) == "#32770")
        return true;
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongA(window, GWL_EXSTYLE);
    if (!(style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION &&
        (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU | WS_POPUP)))
        return true;
    return (exStyle & WS_EX_MDICHILD) != 0;
}

// The frame among the ancestors of the window under the point, from its parent up.
HWND OwnerFrameAt(Point at)
{
    const HWND under = ::WindowFromPoint({at.x, at.y});
    for (HWND window = under ? ::GetParent(under) : nullptr; window; window = ::GetParent(window))
        if (IsFrameWindow(window))
            return window;
    return nullptr;
}

// Only a window of this process can be watched.
void WatchOwnerOf(HWND balloon, HWND owner)
{
    DWORD process = 0;
    const DWORD thread = owner ? ::GetWindowThreadProcessId(owner, &process) : 0;
    if (!owner || process != ::GetCurrentProcessId())
        return;
    g_ownerWatch.owner = owner;
    g_ownerWatch.balloon = balloon;
    g_ownerWatch.hook = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchOwner, nullptr, thread);
}

void StopWatchingOwner()
{
    if (g_ownerWatch.hook)
        ::UnhookWindowsHookEx(g_ownerWatch.hook);
    g_ownerWatch = {};
}

LRESULT CALLBACK BalloonProcedure(HWND window, UINT message, WPARAM first, LPARAM second);

void RegisterBalloonClass()
{
    static const bool registered = [] {
        WNDCLASSEXA type{};
        type.cbSize = sizeof(type);
        type.style = CS_DROPSHADOW;
        type.lpfnWndProc = BalloonProcedure;
        type.hInstance = ::GetModuleHandleA(nullptr);
        type.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        type.lpszClassName = kBalloonClass;
        return ::RegisterClassExA(&type) != 0;
    }();
    (void)registered;
}

HRGN OutlineRegion(const BalloonLayout& layout)
{
    const Rect& body = layout.body;
    HRGN region = ::CreateRoundRectRgn(body.left, body.top, body.right + 1, body.bottom + 1,
                                       kBalloonCorner, kBalloonCorner);
    if (layout.stem) {
        POINT points[3];
        for (int i = 0; i < 3; ++i)
            points[i] = {(*layout.stem)[i].x, (*layout.stem)[i].y};
        HRGN stem = ::CreatePolygonRgn(points, 3, WINDING);
        ::CombineRgn(region, region, stem, RGN_OR);
        ::DeleteObject(stem);
    }
    return region;
}

HICON FlagIcon(TSxTrayIconInfoFlags flags)
{
    switch (flags) {
    case niifError:
        return ::LoadIcon(nullptr, IDI_ERROR);
    case niifInfo:
        return ::LoadIcon(nullptr, IDI_INFORMATION);
    case niifWarning:
        return ::LoadIcon(nullptr, IDI_WARNING);
    case niifApplication:
        return ::LoadIcon(nullptr, IDI_APPLICATION);
    default:
        return nullptr;
    }
}

HICON IconOfFile(const std::string& file)
{
    const auto image = PickIcoImage(file, 16);
    if (!image)
        return nullptr;
    auto* bytes = reinterpret_cast<BYTE*>(const_cast<char*>(file.data() + image->offset));
    return ::CreateIconFromResourceEx(bytes, static_cast<DWORD>(image->size), TRUE, 0x00030000,
                                      16, 16, LR_DEFAULTCOLOR);
}

class Win32BalloonWindow final : public IBalloonWindow
{
public:
    Win32BalloonWindow(Win32BalloonWindows& owner, const BalloonRequest& request,
                       const BalloonLayout& layout, bool inTray, BalloonManager& manager)
        : m_owner(owner), m_request(request), m_layout(layout), m_inTray(inTray),
          m_manager(manager), m_plan(PlanBlend(request.alpha, request.fade,
                                               Win32WindowsVersion().major))
    {
        RegisterBalloonClass();
        if (!request.icoFile.empty()) {
            m_icon = IconOfFile(request.icoFile);
            m_ownsIcon = m_icon != nullptr;
        }
        if (!m_icon)
            m_icon = FlagIcon(request.flags);
        DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
        if (m_plan.layered)
            exStyle |= WS_EX_LAYERED;
        const HWND parent = inTray ? ::FindWindowA("Shell_TrayWnd", nullptr) : nullptr;
        const Rect& at = layout.window;
        m_window = ::CreateWindowExA(exStyle, kBalloonClass, "", WS_POPUP, at.left, at.top,
                                     at.Width(), at.Height(), parent, nullptr,
                                     ::GetModuleHandleA(nullptr), this);
        if (!m_window)
            return;
        // The window owns the region from here on.
        ::SetWindowRgn(m_window, OutlineRegion(layout), FALSE);
        ::SetWindowPos(m_window, nullptr, at.left, at.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_owner.SetCurrentWindow(m_window);
    }

    ~Win32BalloonWindow() override
    {
        if (g_ownerWatch.balloon == m_window)
            StopWatchingOwner();
        if (m_window) {
            ::SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
            ::DestroyWindow(m_window);
        }
        if (m_owner.CurrentWindow() == m_window)
            m_owner.SetCurrentWindow(nullptr);
        if (m_ownsIcon)
            ::DestroyIcon(m_icon);
    }

    bool Created() const { return m_window != nullptr; }

    void Show()
    {
        if (m_plan.layered)
            ::SetLayeredWindowAttributes(m_window, 0, static_cast<BYTE>(m_plan.initialAlpha),
                                         LWA_ALPHA);
        ::ShowWindow(m_window, SW_SHOWNA);
        ::SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const Rect& anchor = m_layout.anchor;
        if (!anchor.Empty())
            WatchOwnerOf(m_window, OwnerFrameAt({(anchor.left + anchor.right) / 2,
                                                 (anchor.top + anchor.bottom) / 2}));
        m_manager.BalloonShown();
        if (m_plan.fadeIn)
            StepAlpha(FadeInSteps(m_request.alpha, m_inTray));
        if (m_request.timeoutSeconds > 0)
            ::SetTimer(m_window, kHideTimer, static_cast<UINT>(m_request.timeoutSeconds) * 1000,
                       nullptr);
    }

    void Close(bool fade) override
    {
        if (!m_window || m_closed)
            return;
        m_closed = true;
        ::KillTimer(m_window, kHideTimer);
        if (g_ownerWatch.balloon == m_window)
            StopWatchingOwner();
        if (fade && m_plan.layered)
            StepAlpha(FadeOutSteps(m_request.alpha, m_inTray));
        m_manager.BalloonHidden();
        ::ShowWindow(m_window, SW_HIDE);
    }

    void Flush() override
    {
        MSG message;
        while (m_window && ::PeekMessageA(&message, m_window, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
    }

    LRESULT Handle(UINT message, WPARAM first, LPARAM second)
    {
        switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_MOUSEMOVE:
            Track(Point{GET_X(second), GET_Y(second)});
            return 0;
        case WM_MOUSELEAVE:
            m_hover = false;
            m_tracking = false;
            InvalidateClose();
            return 0;
        case WM_LBUTTONDOWN:
            if (InClose(Point{GET_X(second), GET_Y(second)})) {
                m_pressed = true;
                ::SetCapture(m_window);
                InvalidateClose();
            }
            return 0;
        case WM_LBUTTONUP: {
            const bool wasPressed = m_pressed;
            m_pressed = false;
            ::ReleaseCapture();
            const bool inClose = InClose(Point{GET_X(second), GET_Y(second)});
            InvalidateClose();
            // The manager may free this window: nothing of it is touched after.
            if (wasPressed && inClose)
                m_manager.BalloonEnded(BalloonEnd::CloseButton);
            else if (!wasPressed && !inClose)
                m_manager.BalloonEnded(BalloonEnd::UserClick);
            return 0;
        }
        case WM_TIMER:
            if (first == kHideTimer) {
                ::KillTimer(m_window, kHideTimer);
                m_manager.BalloonEnded(BalloonEnd::Timeout);
            }
            return 0;
        case WM_ACTIVATEAPP:
            if (first == 0 && !m_inTray)
                m_manager.BalloonEnded(BalloonEnd::Dismissed);
            return 0;
        case kDismiss:
            m_manager.BalloonEnded(BalloonEnd::Dismissed);
            return 0;
        default:
            return ::DefWindowProcA(m_window, message, first, second);
        }
    }

    HWND Window() const { return m_window; }

private:
    static int GET_X(LPARAM value) { return static_cast<short>(LOWORD(value)); }
    static int GET_Y(LPARAM value) { return static_cast<short>(HIWORD(value)); }

    RECT CloseRect() const
    {
        const Size size = m_owner.CloseButtonSize();
        const Point& at = m_layout.closeButton;
        return {at.x, at.y, at.x + size.width, at.y + size.height};
    }

    bool InClose(Point at) const
    {
        const RECT rect = CloseRect();
        return ::PtInRect(&rect, POINT{at.x, at.y}) != FALSE;
    }

    void InvalidateClose()
    {
        const RECT rect = CloseRect();
        ::InvalidateRect(m_window, &rect, FALSE);
    }

    void Track(Point at)
    {
        if (!m_tracking) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_window, 0};
            m_tracking = ::TrackMouseEvent(&track) != FALSE;
        }
        const bool hover = InClose(at);
        if (hover != m_hover) {
            m_hover = hover;
            InvalidateClose();
        }
    }

    // A cross; framed while the mouse is over it, sunk while pressed.
    void PaintCloseButton(HDC dc)
    {
        RECT close = CloseRect();
        if (m_hover || m_pressed) {
            ::FillRect(dc, &close, ::GetSysColorBrush(m_pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE));
            ::FrameRect(dc, &close, ::GetSysColorBrush(COLOR_INFOTEXT));
        }
        const int inset = 4 + (m_pressed ? 1 : 0);
        const HPEN pen = ::CreatePen(PS_SOLID, 2, ::GetSysColor(COLOR_INFOTEXT));
        const HGDIOBJ before = ::SelectObject(dc, pen);
        ::MoveToEx(dc, close.left + inset, close.top + inset, nullptr);
        ::LineTo(dc, close.right - inset + (m_pressed ? 1 : 0), close.bottom - inset + (m_pressed ? 1 : 0));
        ::MoveToEx(dc, close.right - inset - 1 + (m_pressed ? 1 : 0), close.top + inset, nullptr);
        ::LineTo(dc, close.left + inset - 1, close.bottom - inset + (m_pressed ? 1 : 0));
        ::SelectObject(dc, before);
        ::DeleteObject(pen);
    }

    void StepAlpha(const std::vector<int>& steps)
    {
        for (const int value : steps) {
            ::SetLayeredWindowAttributes(m_window, 0, static_cast<BYTE>(value), LWA_ALPHA);
            ::UpdateWindow(m_window);
            ::Sleep(kFadeStepMilliseconds);
        }
    }

    void Paint()
    {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(m_window, &paint);
        RECT client;
        ::GetClientRect(m_window, &client);
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_INFOBK));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
        if (m_icon)
            ::DrawIconEx(dc, m_layout.icon.x, m_layout.icon.y, m_icon, 16, 16, 0, nullptr,
                         DI_NORMAL);
        const HGDIOBJ before = ::SelectObject(dc, m_owner.TitleFont());
        RECT title{m_layout.title.x, m_layout.title.y, client.right, client.bottom};
        ::DrawTextA(dc, m_request.title.c_str(), -1, &title, DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(dc, m_owner.TextFont());
        RECT text{m_layout.text.left, m_layout.text.top, m_layout.text.right,
                  m_layout.text.bottom};
        ::DrawTextA(dc, m_request.text.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX);
        ::SelectObject(dc, before);
        PaintCloseButton(dc);
        HRGN outline = ::CreateRectRgn(0, 0, 0, 0);
        if (::GetWindowRgn(m_window, outline) != ERROR)
            ::FrameRgn(dc, outline, ::GetSysColorBrush(COLOR_INFOTEXT), 1, 1);
        ::DeleteObject(outline);
        ::EndPaint(m_window, &paint);
    }

    Win32BalloonWindows& m_owner;
    BalloonRequest m_request;
    BalloonLayout m_layout;
    bool m_inTray;
    BalloonManager& m_manager;
    BlendPlan m_plan;
    HWND m_window = nullptr;
    HICON m_icon = nullptr;
    bool m_ownsIcon = false;
    bool m_hover = false;
    bool m_pressed = false;
    bool m_tracking = false;
    bool m_closed = false;
};

LRESULT CALLBACK BalloonProcedure(HWND window, UINT message, WPARAM first, LPARAM second)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTA*>(second);
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* balloon = reinterpret_cast<Win32BalloonWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!balloon || !balloon->Window())
        return ::DefWindowProcA(window, message, first, second);
    return balloon->Handle(message, first, second);
}

HFONT BalloonFont(bool bold)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTA font{};
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        font = metrics.lfStatusFont;
    else
        font.lfHeight = -11;
    lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    return ::CreateFontIndirectA(&font);
}

SIZE MeasureText(HFONT font, const std::string& text, UINT format, int width)
{
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ before = ::SelectObject(dc, font);
    RECT rect{0, 0, width, 0};
    ::DrawTextA(dc, text.c_str(), -1, &rect, format | DT_CALCRECT | DT_NOPREFIX);
    ::SelectObject(dc, before);
    ::DeleteDC(dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

Win32BalloonWindows::Win32BalloonWindows()
    : m_textFont(BalloonFont(false)), m_titleFont(BalloonFont(true))
{}

Win32BalloonWindows::~Win32BalloonWindows()
{
    ::DeleteObject(m_textFont);
    ::DeleteObject(m_titleFont);
}

Size Win32BalloonWindows::MeasureTitle(const std::string& title)
{
    const SIZE size = MeasureText(m_titleFont, title.empty() ? " " : title, DT_SINGLELINE, 0);
    return {title.empty() ? 0 : size.cx, size.cy};
}

int Win32BalloonWindows::TextHeightAt(const std::string& text, int width)
{
    return MeasureText(m_textFont, text, DT_WORDBREAK, width).cy;
}

std::unique_ptr<IBalloonWindow> Win32BalloonWindows::Open(const BalloonRequest& request,
                                                          const BalloonLayout& layout,
                                                          bool inTray, BalloonManager& manager)
{
    auto window = std::make_unique<Win32BalloonWindow>(*this, request, layout, inTray, manager);
    if (!window->Created())
        return nullptr;
    window->Show();
    return window;
}

}  // namespace setup::ui::tray
