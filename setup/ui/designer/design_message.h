// One queued message as the designer sees it: the window side turns the system's message record
// into this, with the control whose window it was addressed to and the mouse position in the
// form's client coordinates, and reads back the code (0 when the designer swallowed it).
#pragma once

#include <cstdint>

#include "setup/ui/control.h"
#include "setup/ui/geometry.h"

namespace setup::ui {

// The system's message codes the designer tells apart.
namespace design_msg {
constexpr std::uint32_t kNull = 0x0000;
constexpr std::uint32_t kMove = 0x0003;
constexpr std::uint32_t kSize = 0x0005;
constexpr std::uint32_t kPaint = 0x000F;
constexpr std::uint32_t kNcMouseMove = 0x00A0;
constexpr std::uint32_t kNcLButtonDown = 0x00A1;
constexpr std::uint32_t kNcLButtonUp = 0x00A2;
constexpr std::uint32_t kNcLButtonDblClk = 0x00A3;
constexpr std::uint32_t kNcRButtonDown = 0x00A4;
constexpr std::uint32_t kNcRButtonUp = 0x00A5;
constexpr std::uint32_t kNcRButtonDblClk = 0x00A6;
constexpr std::uint32_t kNcMButtonDblClk = 0x00A9;
constexpr std::uint32_t kKeyDown = 0x0100;
constexpr std::uint32_t kKeyUp = 0x0101;
constexpr std::uint32_t kHScroll = 0x0114;
constexpr std::uint32_t kVScroll = 0x0115;
constexpr std::uint32_t kMouseMove = 0x0200;
constexpr std::uint32_t kLButtonDown = 0x0201;
constexpr std::uint32_t kLButtonUp = 0x0202;
constexpr std::uint32_t kLButtonDblClk = 0x0203;
constexpr std::uint32_t kRButtonDown = 0x0204;
constexpr std::uint32_t kRButtonUp = 0x0205;
constexpr std::uint32_t kRButtonDblClk = 0x0206;
constexpr std::uint32_t kMButtonDblClk = 0x0209;
constexpr std::uint32_t kMouseWheel = 0x020A;
constexpr int kHtClient = 1;
}  // namespace design_msg

struct DesignMessage
{
    std::uint32_t code = design_msg::kNull;
    // The control whose window the message was addressed to (a grab handle, the form, a designed
    // control); null for a window that does not belong to the form.
    TWinControl* window = nullptr;
    // Of a window that is not a control's own but lies inside this control's (an edit inside a
    // combo box): the control.
    bool insideWindow = false;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    // Mouse messages: the position in the form's client coordinates; a non-client message's
    // hit-test code (the client area is design_msg::kHtClient).
    TPoint pos;
    int hitTest = design_msg::kHtClient;
    // The keys and buttons held as the message was taken.
    TShiftState shift;
};

}  // namespace setup::ui
