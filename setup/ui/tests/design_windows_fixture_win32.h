// Under Xvfb: an application of real windows with one form, 300 by 200, and its designer, whose
// window side is the system's message hook.
#pragma once

#include <windows.h>

#include "setup/ui/designer/design_surface_win32.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/timer.h"
#include "setup/ui/window_peer_win32.h"

namespace setup::ui::testing {

template <class Designer>
struct DesignWindows
{
    DesignWindows()
    {
        loop.SetApplication(&app);
        app.AddForm(form);
        form.SetClientWidth(300);
        form.SetClientHeight(200);
        designer->surface = &surface;
    }
    ~DesignWindows() { app.RemoveForm(form); }
    template <class Control>
    Control* Place(const char* name, int left, int top, int width, int height)
    {
        auto* control = new Control(&form);
        control->SetName(name);
        control->SetParent(&form);
        control->SetBounds(left, top, width, height);
        return control;
    }

    Win32PeerFactory factory;
    Win32MessageLoop loop;
    Win32TimerService timers;
    TApplication app{loop, &factory, &timers};
    Win32DesignSurface surface;
    TForm form;
    Designer* designer = new Designer(&form);
};

}  // namespace setup::ui::testing
