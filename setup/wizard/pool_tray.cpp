#include "setup/wizard/pool_tray.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/control.h"
#include "setup/wizard/pool_template.h"

namespace setup::wizard {

using namespace ui::tray;

namespace {

// Windows ME, 2000 and later show balloons of their own.
bool ShellHasBalloons(const WindowsVersion& version)
{
    return version.major > 4 || (version.major == 4 && version.minor >= 90);
}

TSxTrayIconInfoFlags CustomBalloonIcon(int kind)
{
    switch (kind) {
    case 2:
        return niifWarning;
    case 3:
        return niifError;
    default:
        return niifInfo;
    }
}

}  // namespace

void MinimizeToTray(DialogRuntime& runtime, IDialogWindowControl& windows, std::uintptr_t window)
{
    windows.Hide(window);
    runtime.minimizedToTray = true;
}

void RestoreFromTray(DialogRuntime& runtime, IDialogWindowControl& windows, bool restore)
{
    std::uintptr_t& foreground = runtime.engine.ForegroundDialogWindow;
    const bool wasInTray = runtime.minimizedToTray;
    runtime.minimizedToTray = false;
    if (wasInTray && runtime.deferredDialog) {
        TPoolTemplate& page = *runtime.deferredDialog;
        runtime.deferredDialog = nullptr;
        page.Show();
        if (page.HandleAllocated())
            page.SetFocus();
        runtime.application.ProcessMessages();
        runtime.foregroundDialog = &page;
        foreground = page.Peer() ? page.Peer()->Handle() : 0;
    }
    if (foreground) {
        windows.ShowOnTop(foreground);
        if (wasInTray || restore)
            windows.Restore(foreground);
    }
    windows.SetForeground(foreground);
}

const forms::ClassInfo& PoolTray::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<PoolTray>("TPoolTray", &forms::TComponent::StaticClass())
            .Method("TrayClick", &PoolTray::TrayClick)
            .Method("TrayDblClick", &PoolTray::TrayDblClick)
            .Build();
    return info;
}

PoolTray::PoolTray(forms::TComponent* owner, DialogRuntime& runtime,
                   IDialogWindowControl& windows, ITrayPlatform* platform)
    : TComponent(owner), m_runtime(runtime), m_windows(windows), m_platform(platform),
      m_tray(new TTrayIcon(this)), m_trayEx(new TSxTrayIcon(this))
{
    m_tray->SetName("Tray");
    m_trayEx->SetName("TrayEx");
    if (platform) {
        m_tray->SetPlatform(platform);
        m_trayEx->SetPlatform(platform);
    }
    static_cast<forms::TMethod&>(m_tray->onClick) = {StaticClass().FindMethod("TrayClick"), this};
    static_cast<forms::TMethod&>(m_tray->onDblClick) = {StaticClass().FindMethod("TrayDblClick"),
                                                        this};
}

void PoolTray::SetTrayIcon(bool visible, const std::string& hint)
{
    if (visible)
        m_tray->SetHint(hint);
    m_tray->SetVisible(visible);
}

void PoolTray::ShowBalloon(const engine::TrayBalloon& balloon)
{
    m_tray->SetBalloonHint(balloon.text);
    m_tray->SetBalloonTitle(balloon.title);
    if (balloon.kind >= 1 && balloon.kind <= 3)
        m_tray->balloonFlags = static_cast<TBalloonFlags>(balloon.kind);
    m_tray->SetBalloonTimeout(static_cast<std::int32_t>(balloon.timeoutMs));
    m_tray->SetVisible(true);
    m_tray->SetHint(balloon.hint);
    const ui::TApplication* application = ui::OwningApplication(*this);
    ITrayPlatform* platform =
        m_platform ? m_platform : application ? application->trayPlatform : nullptr;
    const WindowsVersion version = platform ? platform->Version() : WindowsVersion{};
    if (ShellHasBalloons(version)) {
        m_tray->ShowBalloonTip();
        return;
    }
    m_trayEx->infoText = balloon.text;
    m_trayEx->SetInfoTitle(balloon.title);
    m_trayEx->infoTimeout = static_cast<std::int32_t>(balloon.timeoutMs);
    m_trayEx->infoFlags = CustomBalloonIcon(m_tray->balloonFlags);
    m_trayEx->ShowBalloon();
}

void PoolTray::TrayClick(forms::TObject*)
{
    RestoreFromTray(m_runtime, m_windows, false);
}

void PoolTray::TrayDblClick(forms::TObject*)
{
    RestoreFromTray(m_runtime, m_windows, false);
}

}  // namespace setup::wizard
