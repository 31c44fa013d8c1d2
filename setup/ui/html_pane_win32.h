// The HTML pane's window: it paints the viewer's plans off screen, shows its scroll bars, turns
// mouse, wheel, keys and timers into the viewer's input and draws the viewer's own cursors.
#pragma once

#include <memory>

#include "setup/ui/control.h"

namespace setup::ui {

class THtmlPane;

std::unique_ptr<IControlPeer> CreateHtmlPanePeer(THtmlPane& pane, void* parentWindow);
// The pane a window shows, else null.
THtmlPane* PaneOfWindow(void* window);

}  // namespace setup::ui
