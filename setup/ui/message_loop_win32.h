// The system's message queue and timers for an application: the loop dispatches through the
// application's message hook and the active form's dialog navigation (Tab, Enter, Escape); timers
// run on a message-only window, so they work with no display.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "core/unique_handle.h"
#include "setup/ui/application.h"

namespace setup::ui {

class Win32MessageLoop final : public IMessageLoop
{
public:
    void SetApplication(TApplication* application) { m_application = application; }
    bool HandleMessage() override;
    bool ProcessMessages() override;
    void PostQuit() override { ::PostQuitMessage(0); }
    void DisableOtherWindows(TCustomForm& modal, bool disable) override;

private:
    void Dispatch(MSG& message);

    TApplication* m_application = nullptr;
    std::vector<std::vector<HWND>> m_disabled;
};

class Win32TimerService final : public ITimerService
{
public:
    Win32TimerService();
    std::uintptr_t StartTimer(unsigned milliseconds, std::function<void()> callback) override;
    void StopTimer(std::uintptr_t id) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    core::UniqueWindow m_window;
    std::map<std::uintptr_t, std::function<void()>> m_callbacks;
    std::uintptr_t m_nextId = 1;
};

}  // namespace setup::ui
