// Runs an action once after a delay that every new start begins again: the shell controls wait
// for a burst of change notices to end before they refresh. The time comes from the control's
// application; without one nothing runs.
#pragma once

#include <cstdint>
#include <functional>

namespace setup::ui {

class TControl;
class ITimerService;

class ChangeDelay
{
public:
    ChangeDelay(const TControl& control, std::function<void()> action);
    ~ChangeDelay();
    ChangeDelay(const ChangeDelay&) = delete;
    ChangeDelay& operator=(const ChangeDelay&) = delete;

    // Shorter when the user is looking at the control.
    void Restart(bool focused);
    void Start(unsigned milliseconds);
    void Stop();
    bool Pending() const { return m_id != 0; }
    // Runs a pending action now.
    void Flush();

private:
    const TControl& m_control;
    std::function<void()> m_action;
    ITimerService* m_service = nullptr;
    std::uintptr_t m_id = 0;
};

}  // namespace setup::ui
