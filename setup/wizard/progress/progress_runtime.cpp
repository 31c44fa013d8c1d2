#include "setup/wizard/progress/progress_runtime.h"

#include "setup/ui/common_controls.h"
#include "setup/ui/containers.h"
#include "setup/ui/form.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/skin/bmp_button.h"
#include "setup/ui/skin/glyph_buttons.h"
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
                   dynamic_cast<ui::skin::TSkBmpButton*>(component)) {
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

namespace {

// A progress bar and a gauge seen alike: range and position under one set of names.
struct BarElement
{
    ui::TProgressBar& bar;
    std::int32_t Max() const { return bar.Max(); }
    std::int32_t Min() const { return bar.Min(); }
    std::int32_t Position() const { return bar.Position(); }
    void SetMax(std::int32_t value) { bar.SetMax(value); }
    void SetMin(std::int32_t value) { bar.SetMin(value); }
    void SetPosition(std::int32_t value) { bar.SetPosition(value); }
};

struct GaugeElement
{
    ui::TGauge& gauge;
    std::int32_t Max() const { return gauge.MaxValue(); }
    std::int32_t Min() const { return gauge.MinValue(); }
    std::int32_t Position() const { return gauge.Progress(); }
    void SetMax(std::int32_t value) { gauge.SetMaxValue(value); }
    void SetMin(std::int32_t value) { gauge.SetMinValue(value); }
    void SetPosition(std::int32_t value) { gauge.SetProgress(value); }
};

template <class Element>
void SetRange(Element element, const BarRange& range)
{
    element.SetMax(range.max);
    element.SetMin(range.min);
    element.SetPosition(range.position);
}

// The percent in the variable the element's hint names; false when it is not a number.
template <class Element>
bool ShowPercent(Element element, const engine::ScriptVariables& variables,
                 const std::string& hint)
{
    if (element.Max() != 100)
        element.SetMax(100);
    if (element.Min() != 0)
        element.SetMin(0);
    const auto value = PercentValue(variables.Expand("$" + hint + "$"));
    if (!value)
        return false;
    if (element.Position() != *value)
        element.SetPosition(*value);
    return true;
}

// A value the element cannot show fills it rather than failing the refresh.
template <class Element>
void ShowFull(Element element)
{
    if (element.Position() != element.Max())
        element.SetPosition(element.Max());
}

}  // namespace

void ProgressRuntime::RefreshBar(ui::TControl& control, const Progress& progress)
{
    auto& bar = static_cast<ui::TProgressBar&>(control);
    bool shown = true;
    if (bar.Tag() == kProgressTag) {
        if (m_env.variables.ValueOf("$PROGRESSMODE$") != "MARQUEE") {
            if (m_env.xpOrLater && bar.Style() == ui::pbstMarquee)
                bar.SetStyle(ui::pbstNormal);
            shown = progress.position && progress.max && progress.min;
            if (shown)
                SetRange(BarElement{bar},
                         FitBarRange(*progress.position, *progress.max, *progress.min));
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
        shown = ShowPercent(BarElement{bar}, m_env.variables, bar.Hint());
    }
    if (!shown)
        ShowFull(BarElement{bar});
}

void ProgressRuntime::RefreshGauge(ui::TControl& control, const Progress& progress)
{
    auto& gauge = static_cast<ui::TGauge&>(control);
    bool shown = true;
    if (gauge.Tag() == kProgressTag) {
        shown = progress.position && progress.max && progress.min;
        // Gauges take the low 32 bits, unscaled.
        if (shown)
            SetRange(GaugeElement{gauge},
                     {Low32(*progress.max), Low32(*progress.min), Low32(*progress.position)});
    } else if (gauge.Tag() == kPercentTag) {
        shown = ShowPercent(GaugeElement{gauge}, m_env.variables, gauge.Hint());
    }
    if (!shown)
        ShowFull(GaugeElement{gauge});
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
