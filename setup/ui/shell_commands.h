// The keys of the shell controls' commands, from their shortcut texts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

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

enum class ShellMenuAction
{
    None,
    // The control edits the item's caption rather than letting the shell rename it.
    Rename,
    // The shell runs the command.
    Invoke,
    // The control hands its items to an entry of the Send To submenu it filled itself.
    SendTo,
};

// What choosing a context-menu command does: the rename command is known by its id, or by its
// verb where the shell numbers its commands otherwise; ids below the shell's are Send To entries.
ShellMenuAction ActionOfMenuCommand(int id, const std::string& verb);

class IShellContextMenu;

struct ShellMenuChoice
{
    ShellMenuAction action = ShellMenuAction::None;
    int id = 0;
};

// Shows the menu and runs the shell's command that was chosen; the caller renames in place when
// told Rename, refreshes after Invoke and sends its items on after SendTo.
ShellMenuChoice TrackShellMenu(IShellContextMenu& menu, std::uintptr_t owner, int x, int y,
                               const std::function<void(const std::string&)>& hint);

// A folder on the network ("\\\\server\\share"): its changes are not reported.
bool ShellPathIsNetwork(const std::string& path);

}  // namespace setup::ui
