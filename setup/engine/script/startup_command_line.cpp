#include "setup/engine/script/startup_command_line.h"

#include <initializer_list>

#include "setup/engine/rtl/code_page.h"

namespace setup::engine {
namespace {

bool StartsAsSwitch(std::string_view argument)
{
    return !argument.empty() && (argument.front() == '/' || argument.front() == '-');
}

// The first argument whose lower-cased text starts with one of the switch texts gives the value:
// that lower-cased argument less the switch. An argument that merely holds the text somewhere
// (a URL with "/p=" inside) is not a switch.
std::string ValueSwitch(const std::vector<std::string>& arguments,
                        std::initializer_list<std::string_view> switchTexts)
{
    for (const std::string& argument : arguments) {
        std::string lower = argument;
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        for (std::string_view text : switchTexts)
            if (lower.compare(0, text.size(), text) == 0)
                return lower.substr(text.size());
    }
    return {};
}

}  // namespace

bool FindCmdLineSwitch(const std::vector<std::string>& arguments, std::string_view name)
{
    for (const std::string& argument : arguments)
        if (StartsAsSwitch(argument) &&
            rtl::AnsiSameText(std::string_view(argument).substr(1), name))
            return true;
    return false;
}

std::string CommandTail(std::string_view rawCommandLine)
{
    if (!rawCommandLine.empty() && rawCommandLine.front() == '"') {
        const size_t closing = rawCommandLine.find('"', 1);
        if (closing == std::string_view::npos || closing + 2 > rawCommandLine.size())
            return {};
        return std::string(rawCommandLine.substr(closing + 2));
    }
    const size_t blank = rawCommandLine.find(' ');
    return blank == std::string_view::npos ? std::string()
                                           : std::string(rawCommandLine.substr(blank + 1));
}

StartupSwitches ParseStartupCommandLine(const std::vector<std::string>& arguments,
                                        std::string_view rawCommandLine)
{
    StartupSwitches switches;
    switches.commandTail = CommandTail(rawCommandLine);
    switches.silent = FindCmdLineSwitch(arguments, "s") || FindCmdLineSwitch(arguments, "qn");
    switches.noWindows = switches.silent || FindCmdLineSwitch(arguments, "update") ||
                         FindCmdLineSwitch(arguments, "updatesetup");
    switches.gpoPath = ValueSwitch(arguments, {"/g="});
    switches.sfxPath = ValueSwitch(arguments, {"/m="});
    switches.traceLogPath = ValueSwitch(arguments, {"/l=", "-l="});
    switches.sourceOverride = ValueSwitch(arguments, {"/p=", "-p="});
    for (const std::string& argument : arguments) {
        const size_t equals = argument.find('=');
        if (StartsAsSwitch(argument) || equals == std::string::npos)
            continue;
        switches.overrides.Add(rtl::AnsiUpperCase(std::string_view(argument).substr(0, equals)));
        switches.overrides.Add(argument.substr(equals + 1));
    }
    return switches;
}

}  // namespace setup::engine
