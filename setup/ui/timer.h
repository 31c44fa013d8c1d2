// TTimer: a non-visual component that runs OnTimer every Interval milliseconds while enabled. It
// starts through its form's application; a form with none (loaded for inspection) never ticks.
#pragma once

#include <cstdint>

#include "setup/forms/component.h"
#include "setup/forms/property_types.h"

namespace setup::ui {

class ITimerService;

class TTimer : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    explicit TTimer(forms::TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    std::uint32_t Interval() const { return m_interval; }
    void SetInterval(std::uint32_t interval);
    bool Running() const { return m_id != 0; }

    forms::TNotifyEvent onTimer;
    void SetOnTimer(forms::TNotifyEvent event);
    forms::TNotifyEvent GetOnTimer() const { return onTimer; }

    void Loaded() override;
    // Starts or stops the system timer to match the fields (the application may have come later).
    void UpdateTimer();

private:
    ITimerService* Service() const;

    bool m_enabled = true;
    std::uint32_t m_interval = 1000;
    std::uintptr_t m_id = 0;
    ITimerService* m_service = nullptr;
};

}  // namespace setup::ui
