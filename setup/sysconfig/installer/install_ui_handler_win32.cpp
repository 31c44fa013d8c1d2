#include <windows.h>

#include "setup/sysconfig/installer/bridge_state_win32.h"
#include "setup/sysconfig/installer/install_outcome.h"
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

ProgressState& HandlerProgress()
{
    static ProgressState state;
    return state;
}

HandlerSession& HandlerSessionState()
{
    static HandlerSession session;
    return session;
}

std::string& BusyDots()
{
    thread_local std::string dots;
    return dots;
}

IInstallerPrompt& SystemPrompt()
{
    static Win32Prompt prompt;
    return prompt;
}

int WINAPI InstallUIHandler(LPVOID context, UINT messageType, LPCSTR message) noexcept
{
    try {
        auto* report = static_cast<engine::IWorkerReport*>(context);
        ProgressCallback publish;
        if (report)
            publish = [report](const std::string& text, std::int64_t position, std::int64_t total,
                               std::int64_t min) {
                return MSIProgressCallback(*report, text, position, total, min);
            };
        return HandleInstallerMessage(HandlerProgress(), HandlerSessionState(), publish,
                                      messageType, message ? message : "");
    } catch (...) {
        // Windows Installer goes on with its own default for this message.
        return 0;
    }
}

bool RetryWhileInstallerBusy(UINT code)
{
    if (code != kErrorInstallAlreadyRunning)
        return true;
    std::string& dots = BusyDots();
    dots = dots == "..." ? "." : dots + ".";
    RunReport().Progress("Windows Installer" + dots, 100, 100, 0);
    if (Installer().sleep)
        Installer().sleep(kBusyRetryMilliseconds);
    else
        ::Sleep(kBusyRetryMilliseconds);
    return RunReport().CancelRequested();
}

}  // namespace setup::sysconfig::installer
