#include "setup/ui/tray/tray_window_link.h"

#include "setup/ui/application.h"

namespace setup::ui::tray {

TrayWindowLink::~TrayWindowLink()
{
    if (ITrayPlatform* platform = Platform(); platform && m_window)
        platform->DestroyHiddenWindow(m_window);
}

ITrayPlatform* TrayWindowLink::Platform() const
{
    if (m_platform)
        return m_platform;
    const TApplication* application = OwningApplication(m_icon);
    return application ? application->trayPlatform : nullptr;
}

bool TrayWindowLink::Ensure(TrayWindowProcedure procedure)
{
    ITrayPlatform* platform = Platform();
    if (m_window || !platform)
        return m_window != 0;
    m_taskbarCreated = platform->TaskbarCreatedMessage();
    m_window = platform->CreateHiddenWindow(std::move(procedure));
    return m_window != 0;
}

}  // namespace setup::ui::tray
