// The splash and the "preparing" window start-up shows while it unpacks and preloads: plain
// windows of the GUI thread, gone before the script's first page.
#pragma once

#include <windows.h>

#include "core/unique_handle.h"
#include "setup/deployrun/startup_services.h"

namespace setup::deployrun {

class Win32StartupWindows final : public IStartupWindows
{
public:
    void Show(const std::string& splashBitmap, const std::string& caption,
              const std::string& text) override;
    bool Shown() override { return static_cast<bool>(m_preparing); }
    void SetProgressRange(int maximum) override;
    void StepProgress() override;
    void Close() override;

    // Owner of the start-up's message boxes; null when the window does not exist.
    HWND PreparingWindow() const { return m_preparing.Get(); }

private:
    static LRESULT CALLBACK SplashProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    void Repaint();

    core::UniqueGdiObject m_bitmap;
    core::UniqueWindow m_splash;
    core::UniqueWindow m_preparing;
    HWND m_progress = nullptr;  // child of m_preparing, destroyed with it
};

}  // namespace setup::deployrun
