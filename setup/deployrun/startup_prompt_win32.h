// The start-up's message boxes, owned by the preparing window while it exists.
#pragma once

#include "setup/deployrun/startup_services.h"
#include "setup/deployrun/startup_windows_win32.h"

namespace setup::deployrun {

class Win32StartupPrompt final : public IStartupPrompt
{
public:
    explicit Win32StartupPrompt(Win32StartupWindows& windows) : m_windows(windows) {}

    void ShowError(const std::string& text, const std::string& caption,
                   bool ownedByPreparingWindow) override
    {
        const HWND owner = ownedByPreparingWindow ? m_windows.PreparingWindow() : nullptr;
        ::MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    }

private:
    Win32StartupWindows& m_windows;
};

}  // namespace setup::deployrun
