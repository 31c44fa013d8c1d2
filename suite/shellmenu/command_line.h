// The command line a menu command starts: the selected paths, each quoted so that the standard
// command-line rules give them back unchanged, in place of the first "%1" of the command.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace shellmenu {

// The paths text and the command together stay within this many characters.
inline constexpr std::size_t kCommandLineLimit = 32000;

// The path as one argument in quotes followed by a space. Backslashes before a quote (the closing
// one included, as in "C:\") are doubled and quotes inside are escaped.
std::wstring QuotedPath(std::wstring_view path);

// The quoted paths in order; a path that would take the text past the limit, with the command,
// is left out together with every later path.
std::wstring PathsText(std::wstring_view command, std::span<const std::wstring> paths);

// The command with its first "%1" replaced by the paths text; a command without "%1", or shorter
// than two characters, unchanged.
std::wstring BuildCommandLine(std::wstring_view command, std::span<const std::wstring> paths);

}  // namespace shellmenu
