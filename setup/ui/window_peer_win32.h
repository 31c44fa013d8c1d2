// Windows for the controls: the peer factory that makes a real window for each windowed control,
// keeps it in step with the control's fields and turns the window's messages into the control's
// events. Windowless children are painted by their parent's window and get its mouse clicks.
#pragma once

#include <windows.h>

#include <memory>

#include "setup/ui/control.h"

namespace setup::ui {

class Win32PeerFactory final : public IPeerFactory
{
public:
    Win32PeerFactory();
    std::unique_ptr<IControlPeer> CreatePeer(TWinControl& control) override;
};

// The window of a control that has one, else null.
HWND WindowOf(const TWinControl& control);
// The control a window of the library stands for, else null.
TWinControl* ControlOfWindow(HWND window);
// The shift state a mouse message's key flags carry.
TShiftState ShiftOfMouseKeys(WPARAM keys);
// Shift, Ctrl and Alt as the keyboard holds them now.
TShiftState KeyShift();

}  // namespace setup::ui
