// What the designer does between messages: the idle pass over the form's controls, the grid
// painted behind them and the timed component hint.
#include "setup/ui/application.h"
#include "setup/ui/designer/design_grid.h"
#include "setup/ui/designer/grab_handles.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/skin/skin_display.h"

namespace setup::ui {
namespace {

htmlview::Rgb ToRgb(skin::Rgb32 color)
{
    return {static_cast<std::uint8_t>(skin::RedOf(color)),
            static_cast<std::uint8_t>(skin::GreenOf(color)),
            static_cast<std::uint8_t>(skin::BlueOf(color))};
}

}  // namespace

void TFormDesigner::UpdateGrid()
{
    m_gridKey = {};
    m_gridTile = {};
    if (TCustomForm* form = Form())
        form->Changed(Aspect::Paint);
}

void TFormDesigner::PaintGrid(TCanvas& canvas)
{
    TCustomForm* form = Form();
    if (!m_active || !displayGrid || !form)
        return;
    const GridColors colors = ResolveGridColors(designerColor, gridColor, form);
    const skin::ISkinDisplay& display = skin::DisplayOf(*form);
    TApplication* app = form->Application();
    const GridKey key{m_gridStep, app ? app->Screen().Width() : 1024,
                      skin::ResolveColor(colors.background, display),
                      skin::ResolveColor(colors.dots, display)};
    if (!(key == m_gridKey) || m_gridTile.width == 0) {
        m_gridTile = MakeGridTile(key.screenWidth, key.step, ToRgb(key.background), ToRgb(key.dots));
        m_gridKey = key;
    }
    const TPoint size{m_gridTile.width, m_gridTile.height};
    for (const TPoint origin : GridTileOrigins(size, form->ClientRect()))
        canvas.Device()->DrawImage(TRect::Bounds(origin.x, origin.y, size.x, size.y), m_gridTile);
}

void TFormDesigner::SetControlsDesigning(bool designing)
{
    TCustomForm* form = Form();
    if (!form)
        return;
    for (std::size_t i = 0; i < form->ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(form->Component(i));
        if (!control || IsProtected(control))
            continue;
        control->SetDesigning(designing);
        if (auto* windowed = dynamic_cast<TWinControl*>(control))
            for (TControl* child : windowed->Controls())
                if (child->Owner() != form)
                    child->SetDesigning(designing);
    }
}

void TFormDesigner::InstallIdle()
{
    TCustomForm* form = Form();
    TApplication* app = form ? form->Application() : nullptr;
    if (!app || m_idleApplication)
        return;
    m_idleApplication = app;
    m_savedIdle = app->OnIdle;
    app->OnIdle = [this](bool& done) {
        Idle();
        if (m_savedIdle)
            m_savedIdle(done);
    };
}

void TFormDesigner::RemoveIdle()
{
    if (!m_idleApplication)
        return;
    m_idleApplication->OnIdle = std::move(m_savedIdle);
    m_savedIdle = nullptr;
    m_idleApplication = nullptr;
}

void TFormDesigner::Idle()
{
    TCustomForm* form = Form();
    if (m_drag != DragState::None || !form || form->HasState(forms::csDestroying))
        return;
    for (std::size_t i = 0; i < form->ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(form->Component(i));
        if (!control || IsProtected(control) || dynamic_cast<TCustomForm*>(control))
            continue;
        if (control->HasState(forms::csDesigning) != m_active) {
            control->SetDesigning(m_active);
            Repaint(control);
            Repaint(form);
        }
    }
    if (m_selection.size() > 1) {
        for (TControl* control : m_selection)
            DrawMarks(control);
        UpdateGrabs();
    }
}

bool TFormDesigner::FormIsActive() const
{
    const TCustomForm* form = Form();
    TApplication* app = form ? form->Application() : nullptr;
    const TCustomForm* active = app ? app->Screen().ActiveForm() : nullptr;
    if (!active)
        return true;
    for (const TControl* control = form; control; control = control->Parent())
        if (control == active)
            return true;
    return false;
}

void TFormDesigner::StartHintTimer(int milliseconds)
{
    StopHintTimer();
    TCustomForm* form = Form();
    TApplication* app = form ? form->Application() : nullptr;
    if (!app || !app->Timers())
        return;
    m_hintInterval = milliseconds;
    m_hintTimer = app->Timers()->StartTimer(static_cast<unsigned>(milliseconds),
                                            [this] { HintTimerFired(); });
}

void TFormDesigner::StopHintTimer()
{
    if (!m_hintTimer)
        return;
    TCustomForm* form = Form();
    if (TApplication* app = form ? form->Application() : nullptr; app && app->Timers())
        app->Timers()->StopTimer(m_hintTimer);
    m_hintTimer = 0;
    m_hintInterval = 0;
}

void TFormDesigner::TrackComponentHint(TControl* control)
{
    TCustomForm* form = Form();
    TApplication* app = form ? form->Application() : nullptr;
    const int pause = app ? app->hintPause : 500;
    const int hidePause = app ? app->hintHidePause : 2500;
    if (!showComponentHint || !control || IsProtected(control)) {
        m_hinted = nullptr;
        StopHintTimer();
        Surface().HideHint();
        return;
    }
    if (control != m_hinted) {
        m_hinted = control;
        if (m_hintTimer) {
            // Already showing hints: the next one comes at once.
            if (showMoveSizeHint)
                Surface().ShowHint(GetComponentHint(control), HintKind::Component);
            StartHintTimer(hidePause);
        } else {
            StartHintTimer(pause);
        }
    } else if (!m_hintTimer) {
        StartHintTimer(hidePause);
    }
}

void TFormDesigner::HintTimerFired()
{
    TCustomForm* form = Form();
    TApplication* app = form ? form->Application() : nullptr;
    const int pause = app ? app->hintPause : 500;
    if (showComponentHint && m_hinted && m_hintInterval == pause) {
        if (showMoveSizeHint)
            Surface().ShowHint(GetComponentHint(m_hinted), HintKind::Component);
        StartHintTimer(app ? app->hintHidePause : 2500);
        return;
    }
    StopHintTimer();
    Surface().HideHint();
}

}  // namespace setup::ui
