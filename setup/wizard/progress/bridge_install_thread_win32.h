// The install thread of the run's Windows Installer bridge, as the progress page starts it.
#pragma once

#include "setup/sysconfig/installer/installer_bridge_win32.h"
#include "setup/wizard/progress/progress_page.h"

namespace setup::wizard {

class BridgeInstallThread final : public IInstallThread
{
public:
    explicit BridgeInstallThread(sysconfig::installer::InstallerBridge& bridge) : m_bridge(bridge)
    {}

    void SetProgressWindow(std::uintptr_t window) override;
    void Start() override;
    void RunToEnd() override;

private:
    sysconfig::installer::InstallerBridge& m_bridge;
};

}  // namespace setup::wizard
