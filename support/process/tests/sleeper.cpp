// A process for the process-helper tests to count and end. "sleep": waits up to a minute.
// "window": also owns a top-level window of the mail add-in's class and exits with 7 when it is
// asked to close; exits with 3 at once when no window can be made (no display).
#include <windows.h>

#include <cwchar>

namespace {

constexpr UINT kLifetimeMs = 60000;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (message) {
        case WM_CLOSE:
            ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(7);
            return 0;
        case WM_TIMER:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

int RunWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Vontar Mailvane";
    if (!::RegisterClassW(&windowClass))
        return 3;
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0,
                                    100, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return 3;
    ::SetTimer(window, 1, kLifetimeMs, nullptr);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&message);
    return static_cast<int>(message.wParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && std::wcscmp(argv[1], L"window") == 0)
        return RunWindow();
    ::Sleep(kLifetimeMs);
    return 0;
}
