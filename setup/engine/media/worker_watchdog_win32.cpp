#include "setup/engine/media/worker_watchdog_win32.h"

#include "setup/media/net/message_window_win32.h"

namespace setup::engine {

namespace {

UINT_PTR TimerId(MediaWorkerKind kind)
{
    return static_cast<UINT_PTR>(kind) + 1;
}

}  // namespace

WindowTimerWatchdog::WindowTimerWatchdog(unsigned milliseconds)
    : m_milliseconds(milliseconds),
      m_window(net::CreateMessageWindow(L"SetupWorkerWatchdog", &WindowProc, this))
{}

WindowTimerWatchdog::~WindowTimerWatchdog()
{
    for (const MediaWorkerKind kind :
         {MediaWorkerKind::Copy, MediaWorkerKind::Download, MediaWorkerKind::Extraction})
        Disable(kind);
}

void WindowTimerWatchdog::Enable(MediaWorkerKind kind, std::function<void()> end)
{
    m_ends[TimerId(kind) - 1] = std::move(end);
    ::SetTimer(m_window.Get(), TimerId(kind), m_milliseconds, nullptr);
}

void WindowTimerWatchdog::Disable(MediaWorkerKind kind)
{
    ::KillTimer(m_window.Get(), TimerId(kind));
    m_ends[TimerId(kind) - 1] = nullptr;
}

LRESULT CALLBACK WindowTimerWatchdog::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) noexcept
{
    if (message != WM_TIMER || wParam < 1 || wParam > 3)
        return ::DefWindowProcW(window, message, wParam, lParam);
    auto* self = reinterpret_cast<WindowTimerWatchdog*>(::GetWindowLongPtrW(window, 0));
    if (self == nullptr)
        return 0;
    // Once only: the timer stops before the worker is ended.
    const auto kind = static_cast<MediaWorkerKind>(wParam - 1);
    const std::function<void()> end = std::move(self->m_ends[wParam - 1]);
    self->Disable(kind);
    if (end) {
        try {
            end();
        } catch (...) {
        }
    }
    return 0;
}

}  // namespace setup::engine
