// The setup program's entry point: the Windows services wired to the start-up and the process
// ended with the exit code it chose.
#include <windows.h>

#include "setup/deployrun/resource_archive.h"
#include "setup/deployrun/script_runner_win32.h"
#include "setup/deployrun/setup_main.h"
#include "setup/deployrun/startup_prompt_win32.h"
#include "setup/deployrun/startup_system_win32.h"
#include "setup/deployrun/startup_windows_win32.h"
#include "setup/deployrun/wizard_dialogs.h"
#include "setup/engine/media/media_prompts.h"
#include "setup/engine/media/worker_watchdog_win32.h"
#include "setup/engine/rtl/thread_win32.h"
#include "setup/ui/application.h"
#include "setup/ui/file_lister_win32.h"
#include "setup/ui/flash/flash_system_win32.h"
#include "setup/ui/menu_presenter_win32.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/tray/tray_platform_win32.h"
#include "setup/ui/window_peer_win32.h"
#include "setup/wizard/media_retry_forms.h"
#include "setup/wizard/page_system_win32.h"
#include "setup/wizard/pool_tray_win32.h"
#include "setup/wizard/pool_watchdog.h"

namespace {

// A failure that escapes every guard ends the process quietly instead of with the system's box.
LONG WINAPI QuietExceptionFilter(EXCEPTION_POINTERS*) noexcept
{
    return EXCEPTION_EXECUTE_HANDLER;
}

int RunSetup() noexcept
{
    using namespace setup::deployrun;
    try {
        setup::rtl::InitGuiThread();
        Win32StartupSystem system;
        Win32StartupWindows windows;
        Win32StartupPrompt prompt(windows);
        // The pages live in the windows of one application and bind to the run's engine state.
        setup::ui::Win32PeerFactory peers;
        setup::ui::Win32MessageLoop loop;
        setup::ui::Win32TimerService timers;
        setup::ui::Win32FileLister files;
        setup::ui::TApplication application(loop, &peers, &timers);
        loop.SetApplication(&application);
        setup::ui::tray::Win32TrayPlatform tray;
        application.trayPlatform = &tray;
        application.fileLister = &files;
        setup::ui::Win32MenuPresenter menus;
        application.menuPresenter = &menus;
        setup::ui::Win32FlashSystem flash;
        application.flashSystem = &flash;
        setup::engine::EngineState engine;
        setup::wizard::Win32PageSystem pageSystem;
        setup::wizard::DialogRuntime runtime(engine, application, pageSystem);
        // The media retry questions are asked over the page on screen.
        setup::wizard::PageMediaPrompts mediaPrompts(runtime);
        engine.Parts.Get<setup::engine::MediaPromptsSlot>().prompts = &mediaPrompts;
        // A cancelled media worker that does not end is ended by the pool's watchdog timers.
        setup::engine::WindowTimerWatchdog watchdogWithoutPool;
        setup::wizard::PoolWorkerWatchdog poolWatchdog(runtime, watchdogWithoutPool);
        engine.Parts.Get<setup::engine::WorkerWatchdogSlot>().watchdog = &poolWatchdog;
        setup::wizard::Win32DialogWindowControl dialogWindows;
        WizardDialogs dialogs(runtime, dialogWindows);
        WrapperResourceArchive archive;
        Win32ScriptRunner runner(engine, dialogs);
        const StartupServices services{system, windows, prompt, dialogs, archive, runner};
        return SetupMain(services);
    } catch (...) {
        return kStartupFailureExitCode;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ::SetUnhandledExceptionFilter(QuietExceptionFilter);
    const int exitCode = RunSetup();
    ::ExitProcess(static_cast<UINT>(exitCode));
}
