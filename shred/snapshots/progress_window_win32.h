// The caller's progress window, reached with SendMessageW.
#pragma once

#include "shred/snapshots/progress_window.h"

#include <windows.h>

namespace shred::snapshots {

class Win32ProgressWindow : public IProgressWindow
{
public:
    explicit Win32ProgressWindow(HWND window) : m_window(window) {}
    std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        return ::SendMessageW(m_window, message, wParam, lParam);
    }

private:
    HWND m_window;
};

}  // namespace shred::snapshots
