#include "setup/wizard/progress/progress_runtime.h"

#include "setup/ui/common_controls.h"
#include "setup/ui/containers.h"
#include "setup/ui/form.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/placeholders.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/timer.h"
#include "setup/wizard/progress/progress_page_cycle.h"
#include "setup/wizard/progress/progress_values.h"

namespace setup::wizard {

namespace {

constexpr std::int32_t kProgressTag = 1;
constexpr std::int32_t kPercentTag = 100;
// The interval a marquee bar is asked to move at, in milliseconds.
constexpr std::int32_t kMarqueeInterval = 100;

}  // namespace

void ProgressRuntime::SetThreadProgress(std::string_view text, std::int64_t position,
                                        std::int64_t max, std::int64_t min)
{
    engine::SetThreadProgress(m_env.variables.Store(), text, position, max, min);
}

IProgressPage* ProgressRuntime::ActivePage()
{
    const std::string name = m_env.pages.ActiveDialogName();
    return name.empty() ? nullptr : m_env.pages.FindPage(name);
}

bool ProgressRuntime::UpdateProgressDialog(std::string_view text, bool writeCancelled,
                                           std::int64_t position, std::int64_t max,
                                           std::int64_t min)
{
    const bool cancelled = m_env.flags.cancelled;
    if (writeCancelled)
        m_env.variables.Store().SetValue("TARQ_thCancelled", cancelled ? "TRUE" : "FALSE");
    if (m_env.variables.SilentMode)
        return cancelled;
    Progress progress{std::string(text), position, max, min};
    if (text == engine::kKeepProgress) {
        engine::StoredProgress stored = engine::ReadThreadProgress(m_env.variables.Store());
        progress = {std::move(stored.text), stored.position, stored.max, stored.min};
    }
    if (IProgressPage* page = ActivePage())
        Refresh(*page, progress);
    return cancelled;
}

void ProgressRuntime::Refresh(IProgressPage& page, const Progress& progress)
{
    ui::TForm& form = page.Form();
    for (std::size_t i = 0; i < form.ComponentCount(); ++i) {
        forms::TComponent* component = form.Component(i);
        if (component->Name() == "cmpFormDesigner")
            continue;
        if (auto* label = dynamic_cast<ui::TLabel*>(component)) {
            page.AttachClickHandler(*label, PageClickHandler::Label1Click);
            page.RefreshCaption(*label);
        } else if (dynamic_cast<ui::TPanel*>(component) ||
                   dynamic_cast<ui::TTabSheet*>(component)) {
            page.RefreshCaption(*static_cast<ui::TControl*>(component));
        } else if (dynamic_cast<ui::TButton*>(component) ||
                   dynamic_cast<ui::TSkBmpButton*>(component)) {
            auto& button = *static_cast<ui::TControl*>(component);
            page.AttachClickHandler(button, PageClickHandler::Button1Click);
            page.RefreshCaption(button);
        } else if (auto* staticText = dynamic_cast<ui::TStaticText*>(component)) {
            if (staticText->Tag() == kProgressTag)
                staticText->SetCaption(progress.text);
            else
                page.RefreshCaption(*staticText);
        } else if (auto* bar = dynamic_cast<ui::TProgressBar*>(component)) {
            RefreshBar(*bar, progress);
        } else if (auto* gauge = dynamic_cast<ui::TGauge*>(component)) {
            RefreshGauge(*gauge, progress);
        }
    }
    page.ApplyControlRules();
}

void ProgressRuntime::RefreshBar(ui::TControl& control, const Progress& progress)
{
    auto& bar = static_cast<ui::TProgressBar&>(control);
    bool failed = false;
    if (bar.Tag() == kProgressTag) {
        if (m_env.variables.ValueOf("$PROGRESSMODE$") != "MARQUEE") {
            if (m_env.xpOrLater && bar.Style() == ui::pbstMarquee)
                bar.SetStyle(ui::pbstNormal);
            if (progress.position && progress.max && progress.min) {
                const BarRange range = FitBarRange(*progress.position, *progress.max, *progress.min);
                bar.SetMax(range.max);
                bar.SetMin(range.min);
                bar.SetPosition(range.position);
            } else {
                failed = true;
            }
        } else if (m_env.xpOrLater) {
            if (bar.Style() != ui::pbstMarquee) {
                bar.marqueeInterval = kMarqueeInterval;
                bar.SetStyle(ui::pbstMarquee);
            }
        } else {
            m_marqueeTick = (m_marqueeTick + 1) % 10;
            if (m_marqueeTick == 0) {
                const std::int64_t next = static_cast<std::int64_t>(bar.Position()) + 1;
                bar.SetPosition(next > bar.Max() ? bar.Min() : static_cast<std::int32_t>(next));
            }
        }
    } else if (bar.Tag() == kPercentTag) {
        if (bar.Max() != 100)
            bar.SetMax(100);
        if (bar.Min() != 0)
            bar.SetMin(0);
        const auto value = PercentValue(m_env.variables.Expand("$" + bar.Hint() + "$"));
        if (!value)
            failed = true;
        else if (bar.Position() != *value)
            bar.SetPosition(*value);
    }
    if (failed && bar.Position() != bar.Max())
        bar.SetPosition(bar.Max());
}

void ProgressRuntime::RefreshGauge(ui::TControl& control, const Progress& progress)
{
    auto& gauge = static_cast<ui::TGauge&>(control);
    bool failed = false;
    if (gauge.Tag() == kProgressTag) {
        if (progress.position && progress.max && progress.min) {
            gauge.SetMaxValue(Low32(*progress.max));
            gauge.SetMinValue(Low32(*progress.min));
            gauge.SetProgress(Low32(*progress.position));
        } else {
            failed = true;
        }
    } else if (gauge.Tag() == kPercentTag) {
        if (gauge.MaxValue() != 100)
            gauge.SetMaxValue(100);
        if (gauge.MinValue() != 0)
            gauge.SetMinValue(0);
        const auto value = PercentValue(m_env.variables.Expand("$" + gauge.Hint() + "$"));
        if (!value)
            failed = true;
        else if (gauge.Progress() != *value)
            gauge.SetProgress(*value);
    }
    if (failed && gauge.Progress() != gauge.MaxValue())
        gauge.SetProgress(gauge.MaxValue());
}

void ProgressRuntime::StartInstallThread(bool start)
{
    if (m_env.variables.SilentMode) {
        if (start)
            m_env.installer.RunToEnd();
        return;
    }
    IProgressPage* page = ActivePage();
    if (page == nullptr)
        return;
    m_env.installer.SetProgressWindow(page->WindowHandle());
    if (start)
        page->Cycle().BeginInstall();
    else
        page->Cycle().StopPolling();
}

}  // namespace setup::wizard
