#include "setup/ui/designer/key_table.h"

namespace setup::ui {

DesignKey DecideDesignKey(std::uint16_t key, bool shift, bool ctrl, bool keySelect, bool keyMove,
                          int gridStep)
{
    const bool selecting = !shift && !ctrl;
    if (selecting ? !keySelect : !keyMove)
        return {};
    DesignKey result;
    if (key == kVkTab) {
        result.action = DesignKeyAction::Tab;
        result.forward = !shift;
        return result;
    }
    if (key == kVkEscape) {
        result.action = DesignKeyAction::Escape;
        return result;
    }
    int dx = 0;
    int dy = 0;
    switch (key) {
        case kVkLeft:
            dx = -1;
            break;
        case kVkUp:
            dy = -1;
            break;
        case kVkRight:
            dx = 1;
            break;
        case kVkDown:
            dy = 1;
            break;
        default:
            result.action = DesignKeyAction::Other;
            return result;
    }
    if (selecting) {
        result.action = DesignKeyAction::SelectNext;
        result.forward = dx > 0 || dy > 0;
        return result;
    }
    if (shift && !ctrl) {
        result.action = DesignKeyAction::Size;
    } else {
        result.action = DesignKeyAction::Move;
        result.pixelMove = !shift;
        const int step = shift ? gridStep : 1;
        dx *= step;
        dy *= step;
    }
    result.dx = dx;
    result.dy = dy;
    return result;
}

}  // namespace setup::ui
