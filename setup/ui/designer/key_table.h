// What a key does in design mode: Shift and Ctrl together move by the grid, Shift alone sizes,
// Ctrl alone moves by a pixel, neither selects; Tab and Esc do the same whatever the modifiers.
#pragma once

#include <cstdint>

namespace setup::ui {

enum class DesignKeyAction
{
    Ignore,      // the option the mode needs is off: the key goes on to its control
    Tab,         // select the next control (forward unless Shift is down)
    Escape,      // cancel a drag or select the parent
    SelectNext,  // arrow without modifiers
    Move,        // arrow with Ctrl
    Size,        // arrow with Shift alone
    Other,       // to the designer's key event
};

struct DesignKey
{
    DesignKeyAction action = DesignKeyAction::Ignore;
    bool forward = true;  // Tab and SelectNext
    int dx = 0;           // Move: offset; Size: change of width and height
    int dy = 0;
    bool pixelMove = false;  // Ctrl alone: the selection first keeps one parent and no locked
};

constexpr std::uint16_t kVkTab = 0x09;
constexpr std::uint16_t kVkEscape = 0x1B;
constexpr std::uint16_t kVkLeft = 0x25;
constexpr std::uint16_t kVkUp = 0x26;
constexpr std::uint16_t kVkRight = 0x27;
constexpr std::uint16_t kVkDown = 0x28;

DesignKey DecideDesignKey(std::uint16_t key, bool shift, bool ctrl, bool keySelect, bool keyMove,
                          int gridStep);

}  // namespace setup::ui
