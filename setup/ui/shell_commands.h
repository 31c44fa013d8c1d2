// The keys of the shell controls' commands, from their shortcut texts.
#pragma once

#include <cstdint>

#include "setup/ui/control.h"

namespace setup::ui {

enum class ShellCommand
{
    None,
    SelectAll,
    Delete,
    Copy,
    Cut,
    Paste,
    Refresh,
    Rename
};

// The command a key press stands for; Shift+Del deletes like Del.
ShellCommand ShellCommandOfKey(std::uint16_t key, TShiftState shift);

}  // namespace setup::ui
