// The dialog pool's notification-area icons: "Tray", whose clicks bring the setup back, and
// "TrayEx", whose own balloon window stands in where the shell has no balloons; what the "System
// Tray" and "MessageBalloon" statements do with them; and taking the setup's window into the
// notification area and back, with the page that was asked for meanwhile.
#pragma once

#include <cstdint>
#include <string>

#include "setup/engine/interpreter/interpreter_host.h"
#include "setup/forms/component.h"
#include "setup/ui/tray/sx_tray_icon.h"
#include "setup/ui/tray/tray_icon.h"
#include "setup/wizard/dialog_runtime.h"

namespace setup::wizard {

// What bringing the setup's window back asks of the system.
class IDialogWindowControl
{
public:
    virtual ~IDialogWindowControl() = default;
    virtual void Hide(std::uintptr_t window) = 0;
    // Shows the window and puts it at the top of the others.
    virtual void ShowOnTop(std::uintptr_t window) = 0;
    // Sends the window the system command "restore".
    virtual void Restore(std::uintptr_t window) = 0;
    virtual void SetForeground(std::uintptr_t window) = 0;
};

// Hides the window into the notification area.
void MinimizeToTray(DialogRuntime& runtime, IDialogWindowControl& windows, std::uintptr_t window);
// Brings the setup back: the page asked for while it was away is shown first and becomes the
// foreground window. `restore` sends "restore" also when the window was not in the tray.
void RestoreFromTray(DialogRuntime& runtime, IDialogWindowControl& windows, bool restore);

class PoolTray : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    // The icons find the platform through the owner's application unless one is given.
    PoolTray(forms::TComponent* owner, DialogRuntime& runtime, IDialogWindowControl& windows,
             ui::tray::ITrayPlatform* platform = nullptr);

    ui::tray::TTrayIcon& Tray() { return *m_tray; }
    ui::tray::TSxTrayIcon& TrayEx() { return *m_trayEx; }

    // Raise ui::tray::EOutOfResources when the shell refuses the icon.
    void SetTrayIcon(bool visible, const std::string& hint);
    void ShowBalloon(const engine::TrayBalloon& balloon);
    void Minimize(std::uintptr_t window) { MinimizeToTray(m_runtime, m_windows, window); }
    void Restore() { RestoreFromTray(m_runtime, m_windows, true); }

    // The icon's click and double click.
    void TrayClick(forms::TObject* sender);
    void TrayDblClick(forms::TObject* sender);

private:
    DialogRuntime& m_runtime;
    IDialogWindowControl& m_windows;
    ui::tray::ITrayPlatform* m_platform;
    ui::tray::TTrayIcon* m_tray;
    ui::tray::TSxTrayIcon* m_trayEx;
};

}  // namespace setup::wizard
