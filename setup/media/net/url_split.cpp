#include "setup/media/net/url_split.h"

#include <algorithm>

namespace net {

namespace {

constexpr auto npos = std::string_view::npos;

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (LowerAscii(text[i]) != LowerAscii(prefix[i]))
            return false;
    }
    return true;
}

bool IsSchemeChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The base up to and including its last "/", or "/" when it has none.
std::string BaseFolder(std::string_view base)
{
    const std::size_t slash = base.rfind('/');
    return slash == npos ? std::string("/") : std::string(base.substr(0, slash + 1));
}

void SplitAuthority(std::string_view authority, UrlParts& parts)
{
    const std::size_t colon = authority.rfind(':');
    const std::size_t at = authority.rfind('@');
    if (colon == npos && at == npos) {
        parts.host = authority;
        return;
    }
    const std::size_t hostStart = at == npos ? 0 : at + 1;
    if (colon != npos && (at == npos || colon > at)) {
        parts.port = authority.substr(colon + 1);
        parts.host = authority.substr(hostStart, colon - hostStart);
    } else {
        parts.host = authority.substr(hostStart);
    }
    if (at == npos)
        return;
    const std::string_view userInfo = authority.substr(0, at);
    const std::size_t separator = userInfo.find(':');
    parts.user = userInfo.substr(0, separator);
    if (separator != npos)
        parts.password = userInfo.substr(separator + 1);
}

}  // namespace

UrlParts SplitUrl(std::string_view url, std::string_view basePath)
{
    UrlParts parts;
    if (url.empty())
        return parts;

    if (url.starts_with("./")) {
        parts.path = BaseFolder(basePath) + std::string(url.substr(2));
        return parts;
    }
    if (url.starts_with("../")) {
        std::string folder = BaseFolder(basePath);
        while (url.starts_with("../")) {
            url.remove_prefix(3);
            // "/a/b/" loses "b/"; the root stays.
            const std::size_t previous =
                folder.size() > 1 ? folder.rfind('/', folder.size() - 2) : npos;
            folder = previous == npos ? std::string("/") : folder.substr(0, previous + 1);
        }
        parts.path = folder + std::string(url);
        return parts;
    }

    std::string_view rest = url;
    if (const std::size_t mark = url.find("://"); mark != npos) {
        std::string scheme(url.substr(0, mark));
        std::transform(scheme.begin(), scheme.end(), scheme.begin(), LowerAscii);
        if (!scheme.empty() && std::all_of(scheme.begin(), scheme.end(), IsSchemeChar)) {
            parts.scheme = scheme;
            rest = url.substr(mark + 3);
        } else {
            parts.scheme = "http";
        }
    } else if (url.front() == '/') {
        parts.scheme = "http";
        if (url.size() < 2 || url[1] != '/') {
            parts.path = url;
            return parts;
        }
        rest = url.substr(2);
    } else if (StartsWithNoCase(url, "http:")) {
        parts.scheme = "http";
        parts.path = url.substr(5);
        return parts;
    } else if (StartsWithNoCase(url, "mailto:")) {
        parts.scheme = "mailto";
        rest = url.substr(7);
    }

    const std::size_t pathStart = rest.find_first_of("/?");
    const std::string_view authority = rest.substr(0, pathStart);
    if (pathStart != npos)
        parts.path = rest.substr(pathStart);
    SplitAuthority(authority, parts);
    return parts;
}

}  // namespace net
