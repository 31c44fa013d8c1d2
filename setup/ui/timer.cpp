#include "setup/ui/timer.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/application.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TTimer::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TTimer>("TTimer", &forms::TComponent::StaticClass())
                                      .Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
                                      .Property("Interval", &TTimer::Interval, &TTimer::SetInterval)
                                      .Property("OnTimer", &TTimer::GetOnTimer, &TTimer::SetOnTimer)
                                      .Build();
    return info;
}

TTimer::TTimer(forms::TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer()
{
    if (m_id && m_service)
        m_service->StopTimer(m_id);
}

void TTimer::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(std::uint32_t interval)
{
    m_interval = interval;
    UpdateTimer();
}

void TTimer::SetOnTimer(forms::TNotifyEvent event)
{
    onTimer = event;
    UpdateTimer();
}

void TTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

ITimerService* TTimer::Service() const
{
    const TApplication* application = OwningApplication(*this);
    return application ? application->Timers() : nullptr;
}

void TTimer::UpdateTimer()
{
    if (m_id && m_service)
        m_service->StopTimer(m_id);
    m_id = 0;
    if (HasState(forms::csLoading) || !m_enabled || m_interval == 0 || !onTimer)
        return;
    m_service = Service();
    if (!m_service)
        return;
    m_id = m_service->StartTimer(m_interval, [this] { onTimer(this); });
}

}  // namespace setup::ui
