#include "setup/ui/application.h"

#include <algorithm>

namespace setup::ui {

void TScreen::AddForm(TCustomForm* form)
{
    if (std::find(m_forms.begin(), m_forms.end(), form) == m_forms.end())
        m_forms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    std::erase(m_forms, form);
    if (m_activeForm == form)
        m_activeForm = nullptr;
}

TApplication::TApplication(IMessageLoop& loop, IPeerFactory* factory, ITimerService* timers)
    : m_loop(loop), m_factory(factory), m_timers(timers)
{}

void TApplication::AddForm(TCustomForm& form)
{
    form.SetApplication(this);
    m_screen.AddForm(&form);
    if (!m_mainForm)
        m_mainForm = &form;
}

void TApplication::RemoveForm(TCustomForm& form)
{
    m_screen.RemoveForm(&form);
    if (m_mainForm == &form)
        m_mainForm = nullptr;
    if (form.Application() == this)
        form.SetApplication(nullptr);
}

void TApplication::HandleMessage()
{
    if (!m_loop.HandleMessage()) {
        m_terminated = true;
        return;
    }
    if (OnIdle) {
        bool done = true;
        OnIdle(done);
    }
}

void TApplication::ProcessMessages()
{
    if (!m_loop.ProcessMessages())
        m_terminated = true;
}

void TApplication::Run()
{
    while (!m_terminated) {
        if (m_mainForm && !m_mainForm->Visible())
            break;
        HandleMessage();
    }
}

void TApplication::Terminate()
{
    if (m_terminated)
        return;
    m_terminated = true;
    m_loop.PostQuit();
}

bool TApplication::FilterMessage(WindowMessage& message)
{
    return OnMessage && OnMessage(message);
}

TApplication* OwningApplication(const forms::TComponent& component)
{
    for (const forms::TComponent* owner = component.Owner(); owner; owner = owner->Owner())
        if (const auto* form = dynamic_cast<const TCustomForm*>(owner))
            if (form->Application())
                return form->Application();
    return nullptr;
}

}  // namespace setup::ui
