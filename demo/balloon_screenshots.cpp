// Writes the picture of the program's own balloon, as a custom tray icon shows it, into the
// folder given: "balloon.png".
#include <windows.h>

#include <cstdio>
#include <string>

#include "setup/ui/capture_win32.h"
#include "setup/ui/tray/balloon_window_win32.h"
#include "setup/ui/tray/taskbar_win32.h"

int main(int argc, char** argv)
{
    using namespace setup::ui::tray;
    if (argc < 2) {
        std::fprintf(stderr, "usage: balloon_screenshots FOLDER\n");
        return 2;
    }
    Win32TaskbarProbe taskbar;
    Win32BalloonWindows windows;
    BalloonManager manager(windows, taskbar);
    BalloonRequest request;
    request.title = "Setup & Wipestation";
    request.text = "The files have been copied. Setup goes on in the background; click the icon "
                   "in the notification area to bring its window back.";
    request.flags = niifInfo;
    request.fade = false;
    request.anchor = {BalloonAnchor::Area, 0, 0, {600, 500, 640, 520}};
    if (!manager.ShowBalloonAt(request))
        return 1;
    const std::string path = std::string(argv[1]) + "\\balloon.png";
    setup::ui::SavePngFile(
        setup::ui::CaptureWindow(reinterpret_cast<std::uintptr_t>(windows.CurrentWindow())), path);
    manager.CloseBalloon(true);
    std::printf("%s\n", path.c_str());
    return 0;
}
