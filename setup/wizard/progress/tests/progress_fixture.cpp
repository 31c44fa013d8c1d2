#include "setup/wizard/progress/tests/progress_fixture.h"

#include "setup/engine/interpreter/interpreter_steps.h"

namespace setup::wizard::testing {

FakeProgressPage::FakeProgressPage(ProgressRuntime& runtime)
    : timer(new ui::TTimer(&form)),
      cycle(runtime, *this),
      timerHandler{"Timer1Timer", forms::HandlerOf<>([this](forms::TObject&, forms::TObject*) {
                       ++ticks;
                       cycle.OnTimer();
                   })}
{
    timer->SetName("Timer1");
    forms::TNotifyEvent event;
    static_cast<forms::TMethod&>(event) = {&timerHandler, &form};
    timer->SetOnTimer(event);
}

void FakeProgressPage::AttachClickHandler(ui::TControl& control, PageClickHandler handler)
{
    events.push_back(control.Name() + (handler == PageClickHandler::Label1Click
                                           ? " Label1Click"
                                           : " Button1Click"));
}

void FakeProgressPage::RefreshCaption(ui::TControl& control)
{
    events.push_back("caption " + control.Name());
}

IProgressPage* FakePages::FindPage(const std::string& key)
{
    const auto found = pages.find(key);
    return found == pages.end() ? nullptr : found->second;
}

ProgressRun::ProgressRun()
    : runtime(ProgressEnvironment{variables, flags, pages, installer, true})
{
    engine::StoreThreadProgressDefaults(variables);
}

}  // namespace setup::wizard::testing
