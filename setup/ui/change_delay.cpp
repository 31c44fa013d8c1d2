#include "setup/ui/change_delay.h"

#include "setup/ui/application.h"
#include "setup/ui/shell_namespace.h"

namespace setup::ui {

namespace {

constexpr unsigned kFocusedMilliseconds = 400;
constexpr unsigned kUnfocusedMilliseconds = 2000;

}  // namespace

ChangeDelay::ChangeDelay(const TControl& control, std::function<void()> action)
    : m_control(control), m_action(std::move(action))
{}

ChangeDelay::~ChangeDelay()
{
    Stop();
}

void ChangeDelay::Restart(bool focused)
{
    Start(focused ? kFocusedMilliseconds : kUnfocusedMilliseconds);
}

void ChangeDelay::Start(unsigned milliseconds)
{
    Stop();
    TApplication* application = ApplicationOf(m_control);
    m_service = application ? application->Timers() : nullptr;
    if (!m_service)
        return;
    m_id = m_service->StartTimer(milliseconds, [this] { Flush(); });
}

void ChangeDelay::Stop()
{
    if (m_id && m_service)
        m_service->StopTimer(m_id);
    m_id = 0;
}

void ChangeDelay::Flush()
{
    if (!m_id)
        return;
    Stop();
    m_action();
}

}  // namespace setup::ui
