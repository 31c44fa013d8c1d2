// The media workers' watchdog without the page pool: one window timer a worker kind.
#pragma once

#include <windows.h>

#include <array>

#include "core/unique_handle.h"
#include "setup/engine/media/worker_watchdog.h"

namespace setup::engine {

class WindowTimerWatchdog final : public IWorkerWatchdog
{
public:
    explicit WindowTimerWatchdog(unsigned milliseconds = kWorkerWatchdogMs);
    ~WindowTimerWatchdog() override;
    WindowTimerWatchdog(const WindowTimerWatchdog&) = delete;
    WindowTimerWatchdog& operator=(const WindowTimerWatchdog&) = delete;

    void Enable(MediaWorkerKind kind, std::function<void()> end) override;
    void Disable(MediaWorkerKind kind) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;

    unsigned m_milliseconds;
    core::UniqueWindow m_window;
    std::array<std::function<void()>, 3> m_ends;
};

}  // namespace setup::engine
