// Under Xvfb: the application with its message loop, timers and window factory, and one test page
// of real windows loaded from a page text.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "setup/ui/file_lister_win32.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/skin/skin_display_win32.h"
#include "setup/ui/tests/test_page.h"
#include "setup/ui/timer.h"
#include "setup/ui/window_peer_win32.h"

namespace setup::ui::testing {

class PageWindowsTest : public ::testing::Test
{
protected:
    PageWindowsTest() : app(loop, &factory, &timers) { loop.SetApplication(&app); }
    ~PageWindowsTest() override { app.RemoveForm(page); }

    void ShowPageText(const std::string& text)
    {
        app.AddForm(page);
        LoadPage(text, page);
        page.Show();
        app.ProcessMessages();
    }
    template <class T>
    T& Find(const char* name)
    {
        auto* component = dynamic_cast<T*>(page.FindComponent(name));
        if (!component)
            throw std::runtime_error(std::string("no ") + name);
        return *component;
    }
    HWND Window(const char* name) { return WindowOf(Find<TWinControl>(name)); }

    // The screen's colours and the folder lister are there for the tests that hand them to the
    // application.
    Win32PeerFactory factory;
    Win32MessageLoop loop;
    Win32TimerService timers;
    skin::Win32SkinDisplay display;
    Win32FileLister files;
    TApplication app;
    TTestPage page;
};

}  // namespace setup::ui::testing
