#include "setup/htmlview/util/reference_path.h"

#include "setup/htmlview/util/text.h"

namespace htmlview {

std::string ReferenceToPath(std::string_view reference)
{
    std::string path(reference);
    // Each decoded escape removes two characters, so the loop ends.
    for (std::size_t percent = path.find('%');
         percent != std::string::npos && percent > 0 && percent + 2 < path.size();
         percent = path.find('%')) {
        const auto code = ParseHex(std::string_view(path).substr(percent + 1, 2));
        if (!code || path[percent + 1] == '+' || path[percent + 1] == '-')
            break;
        path.replace(percent, 3, 1, static_cast<char>(*code));
    }
    if (path.find('/') == std::string::npos)
        return path;
    const std::string lower = LowerAscii(path);
    if (const std::size_t at = lower.find("file:///"); at != std::string::npos)
        path.erase(at, 8);
    else if (const std::size_t at2 = lower.find("file://"); at2 != std::string::npos)
        path.erase(at2, 7);
    for (char& c : path) {
        if (c == '|')
            c = ':';
        else if (c == '/')
            c = '\\';
    }
    return path;
}

std::string ReferenceToServerPath(std::string_view reference, std::string_view serverRoot)
{
    std::string path(Trim(ReferenceToPath(reference)));
    if (!path.empty() && !serverRoot.empty() && path[0] == '\\' &&
        !(path.size() > 1 && path[1] == '\\') && !(path.size() > 1 && path[1] == ':'))
        path = std::string(serverRoot) + path;
    return path;
}

}  // namespace htmlview
