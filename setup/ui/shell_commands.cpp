#include "setup/ui/shell_commands.h"

#include <array>
#include <utility>

#include "setup/forms/type_info.h"
#include "setup/ui/shell_namespace.h"

namespace setup::ui {

namespace {

constexpr std::uint16_t kShiftBit = 0x2000;
constexpr std::uint16_t kCtrlBit = 0x4000;
constexpr std::uint16_t kAltBit = 0x8000;

struct CommandKey
{
    const char* text;
    ShellCommand command;
};

// The texts are those a translator sees; they are parsed the way menu shortcuts are.
constexpr CommandKey kCommandKeys[] = {
    {"Ctrl+A", ShellCommand::SelectAll}, {"Del", ShellCommand::Delete},
    {"Ctrl+C", ShellCommand::Copy},      {"Ctrl+X", ShellCommand::Cut},
    {"Ctrl+V", ShellCommand::Paste},     {"F5", ShellCommand::Refresh},
    {"F2", ShellCommand::Rename},
};

}  // namespace

ShellCommand ShellCommandOfKey(std::uint16_t key, TShiftState shift)
{
    static const auto parsed = [] {
        std::array<std::pair<std::uint16_t, ShellCommand>, std::size(kCommandKeys)> table{};
        for (std::size_t i = 0; i < table.size(); ++i)
            table[i] = {forms::TextToShortCut(kCommandKeys[i].text), kCommandKeys[i].command};
        return table;
    }();
    if (key == 0 || key > 0xFF)
        return ShellCommand::None;
    std::uint16_t shortCut = key;
    if (shift.Has(ssShift))
        shortCut |= kShiftBit;
    if (shift.Has(ssCtrl))
        shortCut |= kCtrlBit;
    if (shift.Has(ssAlt))
        shortCut |= kAltBit;
    for (const auto& [code, command] : parsed) {
        if (code == shortCut)
            return command;
        if (command == ShellCommand::Delete && (code | kShiftBit) == shortCut)
            return command;
    }
    return ShellCommand::None;
}

ShellMenuAction ActionOfMenuCommand(int id, const std::string& verb)
{
    if (id <= 0)
        return ShellMenuAction::None;
    if (id < kFirstShellCommand)
        return ShellMenuAction::SendTo;
    if (id == kRenameShellCommand || verb == "rename")
        return ShellMenuAction::Rename;
    return ShellMenuAction::Invoke;
}

ShellMenuChoice TrackShellMenu(IShellContextMenu& menu, std::uintptr_t owner, int x, int y,
                               const std::function<void(const std::string&)>& hint)
{
    const int chosen = menu.Track(owner, x, y, hint);
    std::string verb;
    for (const ShellMenuCommand& command : menu.Commands())
        if (command.id == chosen)
            verb = command.verb;
    const ShellMenuAction action = ActionOfMenuCommand(chosen, verb);
    if (action == ShellMenuAction::Invoke)
        menu.Invoke(chosen);
    return {action, chosen};
}

bool ShellPathIsNetwork(const std::string& path)
{
    return path.rfind("\\\\", 0) == 0;
}

}  // namespace setup::ui
