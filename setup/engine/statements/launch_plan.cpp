#include "setup/engine/statements/launch_plan.h"

#include <cctype>

namespace setup::engine {

namespace {

// Window show states.
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShowMinimized = 2;
constexpr int kSwMaximize = 3;
constexpr int kSwShow = 5;
constexpr int kSwShowMinNoActive = 7;

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string BuildEnvironmentBlock(std::string_view text)
{
    std::string block;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view entry = text.substr(start, end - start);
        if (!entry.empty()) {
            block.append(entry);
            block.push_back('\0');
        }
        start = end + 2;
    }
    if (!block.empty())
        block.push_back('\0');
    return block;
}

int ShowStateOfCode(int code, bool logonOrToken)
{
    switch (code) {
        case 0:
            return kSwShow;
        case 1:
            return kSwHide;
        case 2:
            return kSwMaximize;
        case 3:
            return kSwShowMinimized;
        case 4:
            return kSwShowMinNoActive;
        default:
            return logonOrToken ? kSwShowNormal : kSwHide;
    }
}

std::string QuotedCommandLine(std::string_view program, std::string_view arguments)
{
    std::string line = "\"";
    line.append(program);
    line += "\" ";
    line.append(arguments);
    return line;
}

std::string RegisterServerCommandLine(std::string_view path, bool registering)
{
    std::string line = "\"";
    line.append(path);
    line += registering ? "\" /regserver" : "\" /unregserver";
    return line;
}

std::string FolderOf(std::string_view path)
{
    const std::size_t last = path.find_last_of("\\:");
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

ServerFileKind ServerFileKindOf(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t separator = path.find_last_of("\\:");
    if (dot == std::string_view::npos || (separator != std::string_view::npos && separator > dot))
        return ServerFileKind::Library;
    const std::string_view extension = path.substr(dot);
    if (SameIgnoringCase(extension, ".tlb"))
        return ServerFileKind::TypeLibrary;
    if (SameIgnoringCase(extension, ".exe"))
        return ServerFileKind::Program;
    return ServerFileKind::Library;
}

bool UsesShellToken(bool vistaOrLater, bool shellFound, std::uint32_t setupIntegrity,
                    std::uint32_t shellIntegrity)
{
    return vistaOrLater && shellFound && setupIntegrity == kHighIntegrity &&
           shellIntegrity == kMediumIntegrity;
}

}  // namespace setup::engine
