// The program's own balloon on Windows: a borderless topmost tool window cut to the balloon's
// outline, painted in the tool-tip colours with its icon, bold title, wrapped text and close
// button, fading in and out through layered-window alpha, hidden by its timer.
#pragma once

#include <windows.h>

#include <memory>

#include "setup/ui/tray/balloon_manager.h"

namespace setup::ui::tray {

class Win32BalloonWindows final : public IBalloonWindows
{
public:
    Win32BalloonWindows();
    ~Win32BalloonWindows() override;
    Win32BalloonWindows(const Win32BalloonWindows&) = delete;
    Win32BalloonWindows& operator=(const Win32BalloonWindows&) = delete;

    Size MeasureTitle(const std::string& title) override;
    int TextHeightAt(const std::string& text, int width) override;
    Size CloseButtonSize() override { return {16, 16}; }
    std::unique_ptr<IBalloonWindow> Open(const BalloonRequest& request,
                                         const BalloonLayout& layout, bool inTray,
                                         BalloonManager& manager) override;

    HFONT TextFont() const { return m_textFont; }
    HFONT TitleFont() const { return m_titleFont; }
    // The window of the balloon shown now, for tests and screenshots; null for none.
    HWND CurrentWindow() const { return m_current; }
    void SetCurrentWindow(HWND window) { m_current = window; }

private:
    HFONT m_textFont = nullptr;
    HFONT m_titleFont = nullptr;
    HWND m_current = nullptr;
};

}  // namespace setup::ui::tray
