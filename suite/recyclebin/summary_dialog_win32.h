// The summary at the end of an interactive run: whether the shredding succeeded, partly failed or
// failed, the log to open, and the choice to shred the log when the dialog closes (ShredLog).
#pragma once

#include "core/unique_handle.h"
#include "suite/recyclebin/trashwipe_environment_win32.h"

#include <windows.h>

#include <string>

namespace trashwipe {

class SummaryDialog
{
public:
    SummaryDialog(TrashwipeEnvironment& environment, int languageIndex)
        : m_environment(environment), m_languageIndex(languageIndex)
    {}

    void SetLogPath(std::wstring path) { m_logPath = std::move(path); }
    void SetResult(bool anySuccess, bool anyFailure);
    // Modal, without owner.
    void Run();
    // Modeless, for tests and pictures; the caller destroys the window.
    HWND Create();

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    std::wstring Text(std::wstring_view key);
    void Initialise(HWND dialog);
    void SetResultPicture(HWND dialog, int bitmapId);
    void Destroyed(HWND dialog);

    TrashwipeEnvironment& m_environment;
    int m_languageIndex;
    std::wstring m_logPath;
    bool m_anySuccess = false;
    bool m_anyFailure = false;
    core::UniqueGdiObject m_whiteBrush;
    core::UniqueGdiObject m_bottom;
    core::UniqueGdiObject m_statusFont;
};

}  // namespace trashwipe
