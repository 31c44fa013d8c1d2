#include <windows.h>

#include "setup/sysconfig/installer/install_outcome.h"
#include "setup/sysconfig/installer/installer_bridge_win32.h"
#include "setup/sysconfig/installer/msi_thread_win32.h"
#include "setup/sysconfig/installer/thread_progress.h"

namespace setup::sysconfig::installer {
namespace {

class Win32Prompt final : public IInstallerPrompt
{
public:
    int ShowMessage(std::uintptr_t owner, const std::string& text, const std::string& caption,
                    std::uint32_t flags, bool languageNeutral) override
    {
        const HWND window = reinterpret_cast<HWND>(owner);
        if (languageNeutral)
            return ::MessageBoxExA(window, text.c_str(), caption.c_str(), flags, 0);
        return ::MessageBoxA(window, text.c_str(), caption.c_str(), flags);
    }
};

constexpr DWORD kBusyRetryMilliseconds = 3141;

}  // namespace

IInstallerPrompt& SystemPrompt()
{
    static Win32Prompt prompt;
    return prompt;
}

int WINAPI InstallUIHandler(LPVOID context, UINT messageType, LPCSTR message) noexcept
{
    try {
        auto& handler = *static_cast<InstallerMessageContext*>(context);
        return HandleInstallerMessage(handler.progress, handler.session, handler.publish,
                                      messageType, message ? message : "");
    } catch (...) {
        // Windows Installer goes on with its own default for this message.
        return 0;
    }
}

bool RetryWhileInstallerBusy(InstallerBridge& bridge, UINT code)
{
    if (code != kErrorInstallAlreadyRunning)
        return true;
    std::string& dots = bridge.busyDots;
    dots = dots == "..." ? "." : dots + ".";
    RunReport(bridge.settings).Progress("Windows Installer" + dots, 100, 100, 0);
    if (bridge.settings.sleep)
        bridge.settings.sleep(kBusyRetryMilliseconds);
    else
        ::Sleep(kBusyRetryMilliseconds);
    return RunReport(bridge.settings).CancelRequested();
}

}  // namespace setup::sysconfig::installer
