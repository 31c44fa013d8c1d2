// The demos' application for page forms: real windows, the message loop, timers, file listing,
// the screen's colours, the shell's namespace and every class a page may hold.
#pragma once

#include "setup/forms/class_info.h"
#include "setup/ui/application.h"
#include "setup/ui/file_lister_win32.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/shell_namespace_win32.h"
#include "setup/ui/skin/skin_display_win32.h"
#include "setup/ui/window_peer_win32.h"

struct PageApplication
{
    PageApplication()
    {
        loop.SetApplication(&app);
        app.fileLister = &files;
        app.skinDisplay = &skinDisplay;
        app.shellNamespace = &shell;
        setup::ui::RegisterPageClasses(registry);
    }
    setup::ui::Win32PeerFactory factory;
    setup::ui::Win32MessageLoop loop;
    setup::ui::Win32TimerService timers;
    setup::ui::Win32FileLister files;
    setup::ui::skin::Win32SkinDisplay skinDisplay;
    setup::ui::Win32ShellNamespace shell;
    setup::ui::TApplication app{loop, &factory, &timers};
    setup::forms::ClassRegistry registry;
};
