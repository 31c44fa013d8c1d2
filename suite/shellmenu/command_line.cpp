#include "suite/shellmenu/command_line.h"

namespace shellmenu {

std::wstring QuotedPath(std::wstring_view path)
{
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : path) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L"\" ";
    return quoted;
}

std::wstring PathsText(std::wstring_view command, std::span<const std::wstring> paths)
{
    std::wstring text;
    for (const std::wstring& path : paths) {
        // Measured as written, before anything is appended.
        const std::wstring piece = QuotedPath(path);
        if (text.size() + command.size() + piece.size() > kCommandLineLimit)
            break;
        text += piece;
    }
    return text;
}

std::wstring BuildCommandLine(std::wstring_view command, std::span<const std::wstring> paths)
{
    const std::size_t placeholder =
        command.size() < 2 ? std::wstring_view::npos : command.find(L"%1");
    if (placeholder == std::wstring_view::npos)
        return std::wstring(command);
    std::wstring line(command.substr(0, placeholder));
    line += PathsText(command, paths);
    line += command.substr(placeholder + 2);
    return line;
}

}  // namespace shellmenu
