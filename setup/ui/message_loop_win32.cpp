#include "setup/ui/message_loop_win32.h"

#include "setup/ui/window_peer_win32.h"

namespace setup::ui {

namespace {

struct Search
{
    HWND modal;
    std::vector<HWND> found;
};

// The visible, enabled top-level windows of the thread other than the modal form.
BOOL CALLBACK CollectEnabled(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    if (window != search->modal && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

bool Win32MessageLoop::HandleMessage()
{
    MSG message;
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1)
        return false;
    Dispatch(message);
    return true;
}

bool Win32MessageLoop::ProcessMessages()
{
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return false;
        Dispatch(message);
    }
    return true;
}

void Win32MessageLoop::Dispatch(MSG& message)
{
    if (m_application) {
        WindowMessage hooked{message.message, message.wParam, message.lParam, 0};
        if (m_application->FilterMessage(hooked))
            return;
        // Tab, Enter and Escape move and press within the active form, as in a dialog.
        if (TCustomForm* active = m_application->Screen().ActiveForm())
            if (HWND window = WindowOf(*active); window && ::IsDialogMessageA(window, &message))
                return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
}

void Win32MessageLoop::DisableOtherWindows(TCustomForm& modal, bool disable)
{
    if (!disable) {
        if (m_disabled.empty())
            return;
        for (HWND window : m_disabled.back())
            ::EnableWindow(window, TRUE);
        m_disabled.pop_back();
        return;
    }
    Search search{WindowOf(modal), {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.found)
        ::EnableWindow(window, FALSE);
    m_disabled.push_back(std::move(search.found));
}

Win32TimerService::Win32TimerService()
{
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &Win32TimerService::WindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "SetupUiTimers";
        return ::RegisterClassExA(&windowClass) != 0;
    }();
    (void)registered;
    m_window.Reset(::CreateWindowExA(0, "SetupUiTimers", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr));
    ::SetWindowLongPtrA(m_window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

std::uintptr_t Win32TimerService::StartTimer(unsigned milliseconds, std::function<void()> callback)
{
    const std::uintptr_t id = m_nextId++;
    if (!::SetTimer(m_window.Get(), id, milliseconds, nullptr))
        return 0;
    m_callbacks[id] = std::move(callback);
    return id;
}

void Win32TimerService::StopTimer(std::uintptr_t id)
{
    ::KillTimer(m_window.Get(), id);
    m_callbacks.erase(id);
}

LRESULT CALLBACK Win32TimerService::WindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) noexcept
{
    if (message != WM_TIMER)
        return ::DefWindowProcA(window, message, wParam, lParam);
    auto* self = reinterpret_cast<Win32TimerService*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return 0;
    const auto found = self->m_callbacks.find(wParam);
    if (found == self->m_callbacks.end())
        return 0;
    // A copy: the handler may stop its own timer.
    const std::function<void()> callback = found->second;
    try {
        callback();
    } catch (...) {
    }
    return 0;
}

}  // namespace setup::ui
