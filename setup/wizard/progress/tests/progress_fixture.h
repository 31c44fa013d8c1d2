// A progress page built in memory (controls keep their values in fields, no windows), the pool
// that holds it, and an install thread that only records what it was asked.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "setup/engine/script/variables.h"
#include "setup/engine/workers/worker_protocol.h"
#include "setup/forms/class_info.h"
#include "setup/ui/form.h"
#include "setup/ui/timer.h"
#include "setup/wizard/progress/progress_page_cycle.h"
#include "setup/wizard/progress/progress_runtime.h"

namespace setup::wizard::testing {

class FakeProgressPage final : public IProgressPage
{
public:
    explicit FakeProgressPage(ProgressRuntime& runtime);

    ui::TForm& Form() override { return form; }
    ui::TTimer& PollTimer() override { return *timer; }
    ProgressPageCycle& Cycle() override { return cycle; }
    void AttachClickHandler(ui::TControl& control, PageClickHandler handler) override;
    void RefreshCaption(ui::TControl& control) override;
    void ApplyControlRules() override { events.push_back("rules"); }
    void SetResultCode(int code) override { resultCode = code; }
    std::uintptr_t WindowHandle() override { return window; }

    // Adds a control of the class to the page.
    template <typename Control>
    Control& Add(const std::string& name, std::int32_t tag = 0)
    {
        auto* control = new Control(&form);
        control->SetName(name);
        control->SetTag(tag);
        control->SetParent(&form);
        return *control;
    }

    ui::TForm form;
    ui::TTimer* timer;
    ProgressPageCycle cycle;
    int ticks = 0;  // of the timer, when an application runs it
    // The timer's handler, as the page form publishes it.
    forms::MethodInfo timerHandler;
    std::vector<std::string> events;
    int resultCode = -1;
    std::uintptr_t window = 0x1234;
};

class FakePages final : public IProgressPages
{
public:
    std::string ActiveDialogName() override { return active; }
    IProgressPage* FindPage(const std::string& key) override;

    std::string active;
    std::map<std::string, IProgressPage*> pages;
};

class FakeInstallThread final : public IInstallThread
{
public:
    void SetProgressWindow(std::uintptr_t window) override { progressWindow = window; }
    void Start() override { events.push_back("start"); }
    void RunToEnd() override { events.push_back("run to end"); }

    std::uintptr_t progressWindow = 0;
    std::vector<std::string> events;
};

// One run's variables with the predefined progress values, and its progress runtime.
struct ProgressRun
{
    ProgressRun();

    engine::ScriptVariables variables;
    engine::WorkerFlags flags;
    FakePages pages;
    FakeInstallThread installer;
    ProgressRuntime runtime;
};

}  // namespace setup::wizard::testing
