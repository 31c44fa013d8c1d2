#include "setup/ui/skin/skin_display_win32.h"

#include <windows.h>

namespace setup::ui::skin {

Win32SkinDisplay::Win32SkinDisplay()
{
    HDC screen = ::GetDC(nullptr);
    // NUMCOLORS is -1 on screens of more than 8 bits per pixel.
    m_fullColor = ::GetDeviceCaps(screen, NUMCOLORS) == -1;
    ::ReleaseDC(nullptr, screen);
}

Rgb32 Win32SkinDisplay::SystemColor(int index) const
{
    return static_cast<Rgb32>(::GetSysColor(index));
}

}  // namespace setup::ui::skin
