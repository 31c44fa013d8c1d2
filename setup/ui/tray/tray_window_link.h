// What both tray icons keep of the system: the platform (the owner's application's unless one is
// set), the hidden window that takes the shell's callbacks, and Explorer's restart message.
#pragma once

#include <cstdint>

#include "setup/forms/component.h"
#include "setup/ui/tray/tray_platform.h"

namespace setup::ui::tray {

class TrayWindowLink
{
public:
    explicit TrayWindowLink(const forms::TComponent& icon) : m_icon(icon) {}
    ~TrayWindowLink();
    TrayWindowLink(const TrayWindowLink&) = delete;
    TrayWindowLink& operator=(const TrayWindowLink&) = delete;

    ITrayPlatform* Platform() const;
    void SetPlatform(ITrayPlatform* platform) { m_platform = platform; }
    // Makes the window once a platform is known; false while there is none.
    bool Ensure(TrayWindowProcedure procedure);
    std::uintptr_t Window() const { return m_window; }
    bool IsTaskbarCreated(std::uint32_t message) const
    {
        return m_taskbarCreated != 0 && message == m_taskbarCreated;
    }

private:
    const forms::TComponent& m_icon;
    ITrayPlatform* m_platform = nullptr;
    std::uintptr_t m_window = 0;
    std::uint32_t m_taskbarCreated = 0;
};

}  // namespace setup::ui::tray
