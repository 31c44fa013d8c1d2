#include "setup/deployrun/startup_windows_win32.h"

#include <commctrl.h>

#include <algorithm>

namespace setup::deployrun {

namespace {

constexpr const char* kSplashClass = "TSetupSplash";
constexpr int kPreparingWidth = 420;
constexpr int kPreparingHeight = 150;

void RegisterSplashClass(WNDPROC procedure)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kSplashClass;
    ::RegisterClassA(&windowClass);  // a second registration fails harmlessly
}

// Windows XP (5.1) on gets the newer icon.
HICON PreparingIcon()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&version);
#pragma GCC diagnostic pop
    const bool newer =
        version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1);
    return ::LoadIcon(nullptr, newer ? IDI_INFORMATION : IDI_APPLICATION);
}

}  // namespace

LRESULT CALLBACK Win32StartupWindows::SplashProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) noexcept
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(window, &paint);
        const auto bitmap = reinterpret_cast<HBITMAP>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        BITMAP info{};
        if (bitmap && ::GetObjectA(bitmap, sizeof info, &info)) {
            const HDC memory = ::CreateCompatibleDC(dc);
            const HGDIOBJ old = ::SelectObject(memory, bitmap);
            ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
            ::SelectObject(memory, old);
            ::DeleteDC(memory);
        }
        ::EndPaint(window, &paint);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void Win32StartupWindows::Show(const std::string& splashBitmap, const std::string& caption,
                               const std::string& text)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);

    int left = (screenWidth - kPreparingWidth) / 2;
    int top = (screenHeight - kPreparingHeight) / 2;
    m_bitmap.Reset(
        ::LoadImageA(nullptr, splashBitmap.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    BITMAP info{};
    if (m_bitmap && ::GetObjectA(m_bitmap.Get(), sizeof info, &info)) {
        RegisterSplashClass(&SplashProc);
        const int splashLeft = (screenWidth - info.bmWidth) / 2;
        const int splashTop = (screenHeight - info.bmHeight) / 2;
        m_splash.Reset(::CreateWindowExA(WS_EX_TOOLWINDOW, kSplashClass, "", WS_POPUP, splashLeft,
                                         splashTop, info.bmWidth, info.bmHeight, nullptr, nullptr,
                                         instance, nullptr));
        if (m_splash) {
            ::SetWindowLongPtrA(m_splash.Get(), GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(m_bitmap.Get()));
            ::ShowWindow(m_splash.Get(), SW_SHOWNOACTIVATE);
            ::UpdateWindow(m_splash.Get());
            left = splashLeft + info.bmWidth / 2 + 50;
            top = splashTop + info.bmHeight + 25;
            top = std::min(top, screenHeight - kPreparingHeight - 45);
            left = std::min(left, screenWidth - kPreparingWidth - 25);
        }
    }

    m_preparing.Reset(::CreateWindowExA(
        WS_EX_DLGMODALFRAME, "#32770", caption.c_str(), WS_POPUP | WS_CAPTION | WS_BORDER, left,
        top, kPreparingWidth, kPreparingHeight, nullptr, nullptr, instance, nullptr));
    if (!m_preparing)
        return;  // no display: start-up goes on without its windows
    const HWND icon = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 12, 12,
                                        32, 32, m_preparing.Get(), nullptr, instance, nullptr);
    ::SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(PreparingIcon()), 0);
    ::CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, 56, 12,
                      kPreparingWidth - 72, 48, m_preparing.Get(), nullptr, instance, nullptr);
    m_progress =
        ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 12, 72,
                          kPreparingWidth - 32, 18, m_preparing.Get(), nullptr, instance, nullptr);
    ::ShowWindow(m_preparing.Get(), SW_SHOWNORMAL);
    Repaint();
}

void Win32StartupWindows::SetProgressRange(int maximum)
{
    if (!m_progress)
        return;
    ::SendMessageA(m_progress, PBM_SETRANGE32, 0, maximum);
    ::SendMessageA(m_progress, PBM_SETPOS, 1, 0);
}

void Win32StartupWindows::StepProgress()
{
    if (!m_progress)
        return;
    ::SendMessageA(m_progress, PBM_DELTAPOS, 1, 0);
    Repaint();
}

void Win32StartupWindows::Repaint()
{
    if (m_preparing)
        ::UpdateWindow(m_preparing.Get());
    if (m_splash && ::IsWindowVisible(m_splash.Get()))
        ::UpdateWindow(m_splash.Get());
}

void Win32StartupWindows::Close()
{
    if (m_preparing)
        ::ShowWindow(m_preparing.Get(), SW_HIDE);
    m_preparing.Reset();
    m_progress = nullptr;
    if (m_splash)
        ::ShowWindow(m_splash.Get(), SW_HIDE);
    m_splash.Reset();
    m_bitmap.Reset();
}

}  // namespace setup::deployrun
