// The interactive update: the information dialog, the download dialog with its worker thread, and
// the start of the downloaded installer.
#pragma once

#include "suite/common/dialog_helpers_win32.h"
#include "suite/update/refreshkit_context_win32.h"

#include <windows.h>

#include <string>

namespace update {

using suite::CreateBoldDialogFont;

// Starts the downloaded installer: behind an interface so tests never run one.
class IInstallerLauncher
{
public:
    virtual void Launch(const std::wstring& path, const std::wstring& parameters) = 0;

protected:
    ~IInstallerLauncher() = default;
};

// "runas" from Windows Vista (major version 6) on, "open" before.
const wchar_t* LaunchVerb(unsigned majorVersion);

class ShellInstallerLauncher final : public IInstallerLauncher
{
public:
    void Launch(const std::wstring& path, const std::wstring& parameters) override;
};

// The dialogs' texts, bitmaps and settings.
struct DialogServices
{
    CRefreshkitSettings& settings;
    suite::CVNTLanguageClient& languages;
    IInstallerLauncher& launcher;
    HINSTANCE module;  // Refreshkit's own resources
};

// The information dialog; IDOK when the user accepted the update.
INT_PTR ShowContactDialog(const DialogServices& services, HWND owner, bool topmost);
// The modeless form for tests: the window, to be destroyed by the caller.
HWND CreateContactDialog(const DialogServices& services, HWND owner);

// The download dialog; true when the download was cancelled or failed.
bool ShowDownloadDialog(const DialogServices& services, HWND owner);

// Information dialog, then download or the "no update" message: 1 or -1.
int RunInteractiveUpdate(RefreshkitContext& context, bool topmost);

}  // namespace update
