#include "setup/ui/html_pane_win32.h"

#include <windows.h>

#include <array>
#include <map>
#include <vector>

#include "core/unique_handle.h"
#include "setup/htmlview/forms/control_host_win32.h"
#include "setup/htmlview/images/image_screen_win32.h"
#include "setup/htmlview/layout/canvas_win32.h"
#include "setup/htmlview/util/platform_win32.h"
#include "setup/htmlview/viewer/cursor_shapes.h"
#include "setup/ui/html_pane.h"
#include "setup/ui/window_peer_win32.h"

namespace setup::ui {

namespace {

constexpr char kPaneClass[] = "SetupHtmlPane";
constexpr UINT kFormSubmitMessage = WM_USER + 100;
constexpr UINT kActivateLinkMessage = WM_USER + 103;
constexpr UINT_PTR kHoverTimer = 1, kDragTimer = 2;

class FilesWin32 : public htmlview::IViewerFiles
{
public:
    bool FileExists(const std::string& path) const override
    {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    std::optional<std::string> ReadFile(const std::string& path) const override
    {
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return std::nullopt;
        std::string text;
        char buffer[65536];
        DWORD read = 0;
        while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            text.append(buffer, read);
        ::CloseHandle(file);
        return text;
    }
    std::string FullPath(const std::string& path) const override
    {
        char full[MAX_PATH * 2] = {};
        const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
        return length > 0 && length < sizeof(full) ? std::string(full, length) : path;
    }
};

class PlatformWin32 : public HtmlPanePlatform
{
public:
    htmlview::ViewerServices Services() override
    {
        return {m_measurer, m_fonts, m_codePages, m_files, m_screen};
    }

private:
    htmlview::ScreenColors m_screen = htmlview::ReadScreenColors();
    htmlview::TextMeasurerWin32 m_measurer;
    htmlview::FontCatalogWin32 m_fonts;
    htmlview::CodePagesWin32 m_codePages;
    FilesWin32 m_files;
};

// The viewer's own cursors, made once from their pictures.
HCURSOR CursorFor(htmlview::ViewerCursor cursor)
{
    static std::map<htmlview::ViewerCursor, HCURSOR> made;
    if (const auto found = made.find(cursor); found != made.end())
        return found->second;
    HCURSOR handle = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    if (const htmlview::CursorShape* shape = htmlview::ShapeOf(cursor)) {
        std::array<BYTE, 128> andMask{}, xorMask{};
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const char c = shape->rows[y][x];
                const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
                if (c != '#' && c != '.')
                    andMask[y * 4 + x / 8] |= bit;
                if (c == '.')
                    xorMask[y * 4 + x / 8] |= bit;
            }
        if (HCURSOR own = ::CreateCursor(::GetModuleHandleA(nullptr), shape->hotX, shape->hotY, 32,
                                         32, andMask.data(), xorMask.data()))
            handle = own;
    }
    made[cursor] = handle;
    return handle;
}

LRESULT CALLBACK PaneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// The shared palette of a 256-colour screen as a palette object; none on deeper screens.
core::UniqueGdiObject MakeScreenPalette(const htmlview::ScreenColors& screen)
{
    if (screen.depth != 8 || screen.globalPalette.empty())
        return core::UniqueGdiObject();
    struct
    {
        WORD version;
        WORD count;
        PALETTEENTRY entries[256];
    } log{0x300, 0, {}};
    for (const htmlview::Rgb& color : screen.globalPalette) {
        if (log.count == 256)
            break;
        log.entries[log.count++] = {color.red, color.green, color.blue, 0};
    }
    return core::UniqueGdiObject(::CreatePalette(reinterpret_cast<LOGPALETTE*>(&log)));
}

class HtmlPanePeer final : public IControlPeer, public htmlview::IViewerWindow
{
public:
    HtmlPanePeer(THtmlPane& pane, HWND parent) : m_pane(pane)
    {
        static const bool registered = [] {
            WNDCLASSEXA windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.style = CS_DBLCLKS;
            windowClass.lpfnWndProc = PaneWindowProc;
            windowClass.hInstance = ::GetModuleHandleA(nullptr);
            windowClass.hCursor = nullptr;
            windowClass.lpszClassName = kPaneClass;
            return ::RegisterClassExA(&windowClass) != 0;
        }();
        (void)registered;
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        if (pane.Visible())
            style |= WS_VISIBLE;
        if (!pane.Enabled())
            style |= WS_DISABLED;
        if (pane.TabStop())
            style |= WS_TABSTOP;
        const TRect bounds = pane.BoundsRect();
        m_window =
            ::CreateWindowExA(0, kPaneClass, "", style, bounds.left, bounds.top, bounds.Width(),
                              bounds.Height(), parent, nullptr, ::GetModuleHandleA(nullptr), this);
        pane.Viewer().pane.barWidth = ::GetSystemMetrics(SM_CXVSCROLL);
        pane.AttachWindow(this);
        if (m_window) {
            m_controls = std::make_unique<htmlview::ControlHostWin32>(m_window);
            pane.AttachControlHost(m_controls.get());
        }
    }
    ~HtmlPanePeer() override
    {
        m_pane.AttachControlHost(nullptr);
        m_controls.reset();
        m_pane.AttachWindow(nullptr);
        if (m_window && ::IsWindow(m_window)) {
            ::SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
            ::DestroyWindow(m_window);
        }
    }

    // IControlPeer
    void Update(Aspect aspect) override
    {
        switch (aspect) {
            case Aspect::Bounds: {
                const TRect r = m_pane.BoundsRect();
                ::MoveWindow(m_window, r.left, r.top, r.Width(), r.Height(), TRUE);
                break;
            }
            case Aspect::Visible:
                ::ShowWindow(m_window, m_pane.Visible() ? SW_SHOWNA : SW_HIDE);
                break;
            case Aspect::Enabled:
                ::EnableWindow(m_window, m_pane.Enabled());
                break;
            default:
                ::InvalidateRect(m_window, nullptr, FALSE);
                break;
        }
    }
    bool Focused() const override { return ::GetFocus() == m_window; }
    void SetFocus() override { ::SetFocus(m_window); }
    std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(m_window); }

    // IViewerWindow
    void Invalidate() override { ::InvalidateRect(m_window, nullptr, FALSE); }
    void ScrollContents(int dy) override
    {
        const RECT area = PaintRect();
        ::ScrollWindowEx(m_window, 0, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE);
        ::UpdateWindow(m_window);
    }
    void ArrangeBars(const htmlview::BarArrangement& bars, int vertical, int horizontal) override
    {
        m_bars = bars;
        const bool keep = m_pane.HtOptions().Has(htShowVScroll);
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (keep ? SIF_DISABLENOSCROLL : 0);
        info.nMax = bars.vertical ? bars.verticalMax : 0;
        info.nPage = static_cast<UINT>(bars.verticalPage);
        info.nPos = vertical;
        ::ShowScrollBar(m_window, SB_VERT, bars.vertical);
        ::SetScrollInfo(m_window, SB_VERT, &info, TRUE);
        if (bars.vertical)
            ::EnableScrollBar(m_window, SB_VERT,
                              bars.verticalEnabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = bars.horizontal ? bars.horizontalMax : 0;
        info.nPage = static_cast<UINT>(bars.horizontalPage);
        info.nPos = horizontal;
        ::ShowScrollBar(m_window, SB_HORZ, bars.horizontal);
        ::SetScrollInfo(m_window, SB_HORZ, &info, TRUE);
        Invalidate();
    }
    void SetScrollPositions(int vertical, int horizontal) override
    {
        ::SetScrollPos(m_window, SB_VERT, vertical, TRUE);
        ::SetScrollPos(m_window, SB_HORZ, horizontal, TRUE);
    }
    void SetCursor(htmlview::ViewerCursor cursor) override
    {
        m_cursor = cursor;
        POINT point{};
        ::GetCursorPos(&point);
        if (::WindowFromPoint(point) == m_window)
            ::SetCursor(CursorFor(cursor));
    }
    void SetHoverTimer(bool on) override
    {
        if (on)
            ::SetTimer(m_window, kHoverTimer, 200, nullptr);
        else
            ::KillTimer(m_window, kHoverTimer);
    }
    void SetDragScrollTimer(bool on) override
    {
        if (on)
            ::SetTimer(m_window, kDragTimer, 100, nullptr);
        else
            ::KillTimer(m_window, kDragTimer);
    }
    void PostLinkActivation() override { ::PostMessageA(m_window, kActivateLinkMessage, 0, 0); }
    void PostFormSubmit() override { ::PostMessageA(m_window, kFormSubmitMessage, 0, 0); }
    void CopyText(const std::u16string& text) override
    {
        if (!::OpenClipboard(m_window))
            return;
        ::EmptyClipboard();
        const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
        if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
            auto* target = static_cast<char16_t*>(::GlobalLock(memory));
            std::copy(text.begin(), text.end(), target);
            target[text.size()] = 0;
            ::GlobalUnlock(memory);
            if (!::SetClipboardData(CF_UNICODETEXT, memory))
                ::GlobalFree(memory);
        }
        ::CloseClipboard();
    }
    void TakeFocus() override
    {
        if (::GetFocus() != m_window)
            ::SetFocus(m_window);
    }
    int WheelLines() const override
    {
        UINT lines = 3;
        ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        return static_cast<int>(lines);
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window) { m_window = window; }
    THtmlPane& Pane() const { return m_pane; }

private:
    int Edge() const { return m_pane.BorderStyle() == htNone ? 0 : 1; }
    RECT PaintRect() const
    {
        RECT client{};
        ::GetClientRect(m_window, &client);
        ::InflateRect(&client, -Edge(), -Edge());
        return client;
    }
    void Paint();
    void Scroll(int bar, int code);
    htmlview::MouseButton ButtonOf(UINT message) const
    {
        switch (message) {
            case WM_RBUTTONDOWN:
            case WM_RBUTTONUP:
                return htmlview::MouseButton::Right;
            case WM_MBUTTONDOWN:
            case WM_MBUTTONUP:
                return htmlview::MouseButton::Middle;
            default:
                return htmlview::MouseButton::Left;
        }
    }

    THtmlPane& m_pane;
    HWND m_window = nullptr;
    core::UniqueGdiObject m_palette = MakeScreenPalette(m_pane.Viewer().Screen());
    std::unique_ptr<htmlview::ControlHostWin32> m_controls;  // the document's form controls
    htmlview::BarArrangement m_bars;
    htmlview::ViewerCursor m_cursor = htmlview::ViewerCursor::Arrow;
};

void HtmlPanePeer::Paint()
{
    PAINTSTRUCT paint;
    HDC target = ::BeginPaint(m_window, &paint);
    // On a 256-colour screen both the off-screen bitmap and the window draw through the shared
    // palette, so pictures reduced to it and palette-relative colours come out exact.
    const auto palette = static_cast<HPALETTE>(m_palette.Get());
    HPALETTE targetPalette = nullptr;
    if (palette) {
        targetPalette = ::SelectPalette(target, palette, FALSE);
        ::RealizePalette(target);
    }
    const RECT area = PaintRect();
    RECT dirty{};
    if (::IntersectRect(&dirty, &paint.rcPaint, &area)) {
        const int width = dirty.right - dirty.left, height = dirty.bottom - dirty.top;
        HDC memory = ::CreateCompatibleDC(target);
        HBITMAP bitmap = ::CreateCompatibleBitmap(target, width, height);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        HPALETTE memoryPalette = nullptr;
        if (palette) {
            memoryPalette = ::SelectPalette(memory, palette, FALSE);
            ::RealizePalette(memory);
        }
        htmlview::HtmlViewer& viewer = m_pane.Viewer();
        // Paint-area coordinates; the plan's X are the document's.
        const htmlview::Rect clip{dirty.left - area.left, dirty.top - area.top,
                                  dirty.right - area.left, dirty.bottom - area.top};
        ::SetWindowOrgEx(memory, clip.left + viewer.HorizontalPosition(), clip.top, nullptr);
        // Painting places the document's controls, in its coordinates.
        if (m_controls)
            m_controls->SetOrigin(area.left - viewer.HorizontalPosition(), area.top);
        htmlview::DrawPlan(memory, viewer.Paint(clip), [&viewer](const std::string& source) {
            return viewer.ImageFor(source);
        });
        ::SetWindowOrgEx(memory, 0, 0, nullptr);
        ::BitBlt(target, dirty.left, dirty.top, width, height, memory, 0, 0, SRCCOPY);
        if (memoryPalette)
            ::SelectPalette(memory, memoryPalette, FALSE);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
    }
    // The one-pixel frame: while focused, or always, as the border style says.
    if (Edge() > 0) {
        RECT client{};
        ::GetClientRect(m_window, &client);
        const bool shown = m_pane.BorderStyle() == htSingle ||
                           (m_pane.BorderStyle() == htFocused && ::GetFocus() == m_window);
        const std::uint32_t background = m_pane.Viewer().BackgroundColor();
        HBRUSH brush = ::CreateSolidBrush(shown ? ::GetSysColor(COLOR_WINDOWFRAME)
                                                : (background & 0xFFFFFF) | 0x02000000);
        ::FrameRect(target, &client, brush);
        ::DeleteObject(brush);
    }
    if (targetPalette)
        ::SelectPalette(target, targetPalette, FALSE);
    ::EndPaint(m_window, &paint);
}

void HtmlPanePeer::Scroll(int bar, int code)
{
    htmlview::HtmlViewer& viewer = m_pane.Viewer();
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(m_window, bar, &info);
    if (bar == SB_HORZ) {
        int x = viewer.HorizontalPosition();
        switch (code) {
            case SB_LINELEFT:
                x -= htmlview::kHorizontalSmallChange;
                break;
            case SB_LINERIGHT:
                x += htmlview::kHorizontalSmallChange;
                break;
            case SB_PAGELEFT:
                x -= m_bars.horizontalLargeChange;
                break;
            case SB_PAGERIGHT:
                x += m_bars.horizontalLargeChange;
                break;
            case SB_THUMBTRACK:
                x = info.nTrackPos;
                break;
            default:
                return;
        }
        viewer.SetHorizontalPosition(x);
        return;
    }
    int y = viewer.VerticalPosition();
    switch (code) {
        case SB_THUMBTRACK:
            y = info.nTrackPos;
            break;
        case SB_LINEUP:
            y -= htmlview::kVerticalSmallChange;
            break;
        case SB_LINEDOWN:
            y += htmlview::kVerticalSmallChange;
            break;
        case SB_PAGEUP:
            y -= m_bars.verticalLargeChange;
            break;
        case SB_PAGEDOWN:
            y += m_bars.verticalLargeChange;
            break;
        case SB_TOP:
            y = 0;
            break;
        case SB_BOTTOM:
            y = viewer.DocumentHeight();
            break;
        default:
            return;
    }
    viewer.ScrollToY(y);
}

LRESULT HtmlPanePeer::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_pane.HasViewer())  // the pane is going
        return ::DefWindowProcA(m_window, message, wParam, lParam);
    htmlview::HtmlViewer& viewer = m_pane.Viewer();
    const RECT area = PaintRect();
    const int x = static_cast<short>(LOWORD(lParam)) - area.left;
    const int y = static_cast<short>(HIWORD(lParam)) - area.top;
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        m_pane.inputShift = ShiftOfMouseKeys(wParam);
        m_pane.RelayPointerEvents();
    }
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(CursorFor(m_cursor));
                return TRUE;
            }
            break;
        case WM_VSCROLL:
            Scroll(SB_VERT, LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
            Scroll(SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            viewer.Wheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            const htmlview::MouseButton button = ButtonOf(message);
            if (button == htmlview::MouseButton::Left)
                ::SetCapture(m_window);
            m_pane.onMouseDown(&m_pane,
                               button == htmlview::MouseButton::Left    ? mbLeft
                               : button == htmlview::MouseButton::Right ? mbRight
                                                                        : mbMiddle,
                               ShiftOfMouseKeys(wParam), x, y);
            viewer.MouseDown(button, (wParam & MK_SHIFT) != 0, x, y);
            return 0;
        }
        case WM_LBUTTONDBLCLK:
            viewer.DoubleClick(x, y);
            return 0;
        case WM_MOUSEMOVE:
            viewer.MouseMove((wParam & MK_LBUTTON) != 0, x, y);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            if (message == WM_LBUTTONUP && ::GetCapture() == m_window)
                ::ReleaseCapture();
            const htmlview::MouseButton button = ButtonOf(message);
            viewer.MouseUp(button, (wParam & MK_SHIFT) != 0, x, y);
            m_pane.onMouseUp(&m_pane,
                             button == htmlview::MouseButton::Left    ? mbLeft
                             : button == htmlview::MouseButton::Right ? mbRight
                                                                      : mbMiddle,
                             ShiftOfMouseKeys(wParam), x, y);
            return 0;
        }
        case WM_KEYDOWN: {
            auto key = static_cast<std::uint16_t>(wParam);
            const TShiftState shift = KeyShift();
            m_pane.onKeyDown(&m_pane, key, shift);
            if (key && viewer.KeyDown(key, shift.Has(ssShift), shift.Has(ssCtrl)))
                return 0;
            break;
        }
        case WM_TIMER:
            if (wParam == kHoverTimer) {
                POINT point{};
                ::GetCursorPos(&point);
                viewer.HoverTimerTick(::WindowFromPoint(point) == m_window);
            } else if (wParam == kDragTimer) {
                POINT point{};
                ::GetCursorPos(&point);
                ::ScreenToClient(m_window, &point);
                viewer.DragScrollStep(point.y - area.top);
            }
            return 0;
        case kActivateLinkMessage:
            viewer.ActivateLink();
            return 0;
        case kFormSubmitMessage:
            viewer.DeliverFormSubmit();
            return 0;
        case WM_COMMAND:
            if (m_controls && m_controls->HandleCommand(wParam, lParam))
                return 0;
            break;
        case WM_DRAWITEM:
            return TRUE;  // a link's tab stop shows nothing of its own
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            m_pane.FocusFromWindow(message == WM_SETFOCUS);
            (message == WM_SETFOCUS ? m_pane.onEnter : m_pane.onExit)(&m_pane);
            ::InvalidateRect(m_window, nullptr, FALSE);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcA(m_window, message, wParam, lParam);
}

LRESULT CALLBACK PaneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* peer =
            static_cast<HtmlPanePeer*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
        peer->Attach(window);
    }
    auto* peer = reinterpret_cast<HtmlPanePeer*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!peer)
        return ::DefWindowProcA(window, message, wParam, lParam);
    try {
        return peer->Handle(message, wParam, lParam);
    } catch (const std::exception&) {
        // A link to a missing file leaves the page shown.
        return 0;
    }
}

}  // namespace

std::unique_ptr<HtmlPanePlatform> MakeHtmlPanePlatform()
{
    return std::make_unique<PlatformWin32>();
}

THtmlPane* PaneOfWindow(void* window)
{
    const auto handle = static_cast<HWND>(window);
    char name[32] = {};
    if (!handle || !::GetClassNameA(handle, name, sizeof(name)) || std::string(name) != kPaneClass)
        return nullptr;
    auto* peer = reinterpret_cast<HtmlPanePeer*>(::GetWindowLongPtrA(handle, GWLP_USERDATA));
    return peer ? &peer->Pane() : nullptr;
}

std::unique_ptr<IControlPeer> CreateHtmlPanePeer(THtmlPane& pane, void* parentWindow)
{
    return std::make_unique<HtmlPanePeer>(pane, static_cast<HWND>(parentWindow));
}

}  // namespace setup::ui
