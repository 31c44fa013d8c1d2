// The setup program's wizard pages: start-up preloads them into the dialog runtime's pool, and
// the dialog statements release, bind, show and hide them through it.
#pragma once

#include <string>

#include "setup/deployrun/startup_services.h"
#include "setup/engine/interpreter/interpreter_host.h"
#include "setup/wizard/dialog_runtime.h"
#include "setup/wizard/pool_tray.h"

namespace setup::deployrun {

class WizardDialogs final : public IDialogPool
{
public:
    // The notification-area icons reach the shell through the application's tray platform.
    WizardDialogs(wizard::DialogRuntime& runtime, wizard::IDialogWindowControl& windows)
        : m_runtime(runtime), m_tray(nullptr, runtime, windows, runtime.application.trayPlatform)
    {}

    void InitDialogPool(const std::string& supportDir) override;
    void LoadDialog(const std::string& key, const std::string& file) override;

    // Takes the page's handlers off again, binds it to the variables, shows it, hides it.
    void ReleaseDialog(const std::string& key);
    void PrepareDialog(const std::string& key);
    engine::PageResult ShowDialog(const std::string& key, bool modal);
    void HideDialog(const std::string& key);
    wizard::DialogRuntime& Runtime() { return m_runtime; }
    // The notification-area icon of "System Tray" and "MessageBalloon"; a refusing shell raises.
    void SetTrayIcon(bool visible, const std::string& hint) { m_tray.SetTrayIcon(visible, hint); }
    void ShowTrayBalloon(const engine::TrayBalloon& balloon) { m_tray.ShowBalloon(balloon); }
    void MinimizeToTray(std::uintptr_t window) { m_tray.Minimize(window); }
    void RestoreFromTray() { m_tray.Restore(); }
    // The pages and the icon go with the run.
    void Close();

private:
    wizard::DialogRuntime& m_runtime;
    wizard::PoolTray m_tray;
};

}  // namespace setup::deployrun
