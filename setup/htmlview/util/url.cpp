#include "setup/htmlview/util/url.h"

#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

constexpr auto npos = std::string_view::npos;

std::string_view WithoutQuery(std::string_view url)
{
    return url.substr(0, url.find('?'));
}

}  // namespace

std::size_t PosOfOccurrence(std::string_view searched, std::string_view text, int n)
{
    if (searched.empty() || n == 0)
        return 0;
    if (n > 0) {
        std::size_t at = npos;
        std::size_t from = 0;
        for (int i = 0; i < n; ++i) {
            at = text.find(searched, from);
            if (at == npos)
                return 0;
            from = at + 1;
        }
        return at + 1;
    }
    std::size_t at = text.size();
    for (int i = 0; i > n; --i) {
        if (at == 0)
            return 0;
        at = text.rfind(searched, at - 1);
        if (at == npos)
            return 0;
    }
    return at + 1;
}

UrlParts ParseUrl(std::string_view url)
{
    UrlParts parts;
    if (url.empty())
        return parts;
    std::string_view rest;
    if (const std::size_t scheme = url.find("://"); scheme != npos) {
        parts.protocol = url.substr(0, scheme);
        rest = url.substr(scheme + 3);
    } else if (url.front() == '/') {
        parts.protocol = "http";
        if (url.size() > 1 && url[1] != '/') {
            parts.path = url;
            return parts;
        }
        rest = url.substr(1);
    } else if (StartsWithNoCase(url, "http:")) {
        parts.protocol = "http";
        if (url.size() > 6 && url[6] != '/') {
            parts.path = url.substr(5);
            return parts;
        }
        rest = url.substr(std::min<std::size_t>(6, url.size()));
    } else if (StartsWithNoCase(url, "mailto:")) {
        parts.protocol = "mailto";
        rest = url.substr(url.find(':') + 1);
    } else {
        rest = url;
    }

    const std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    if (slash != npos)
        parts.path = rest.substr(slash);

    const std::size_t colon = PosOfOccurrence(":", authority, -1);  // 1-based, 0 for none
    const std::size_t at = PosOfOccurrence("@", authority, -1);
    if (colon == 0 && at == 0) {
        parts.host = authority;
        return parts;
    }
    if (colon != 0 && at < colon) {
        parts.port = authority.substr(colon);
        parts.host = authority.substr(at, colon - 1 - at);
        if (at == 0)
            return parts;
    } else {
        parts.host = authority.substr(at);
    }
    const std::string_view userInfo = authority.substr(0, at - 1);
    const std::size_t separator = userInfo.find(':');
    parts.user = userInfo.substr(0, separator);
    if (separator != npos)
        parts.password = userInfo.substr(separator + 1);
    return parts;
}

std::string GetProtocol(std::string_view url)
{
    return LowerAscii(ParseUrl(WithoutQuery(url)).protocol);
}

bool IsFullUrl(std::string_view url)
{
    url = WithoutQuery(url);
    const std::size_t scheme = url.find("://");
    if (scheme != npos && scheme < url.find('/'))
        return true;
    return LowerAscii(url).find("mailto:") != npos;
}

std::string GetUrlBase(std::string_view url)
{
    url = WithoutQuery(Trim(url));
    const std::size_t doubleSlash = url.find("//");
    const std::size_t from = doubleSlash == npos ? 1 : doubleSlash + 2;
    const std::size_t last = url.rfind('/');
    if (last != npos && last >= from && from <= url.size())
        return std::string(url.substr(0, last + 1));
    return std::string(url) + "/";
}

std::string CombineUrl(std::string_view baseText, std::string_view relativeText)
{
    std::string base(Trim(baseText));
    const std::string protocol = GetProtocol(base);

    std::size_t rootEnd = npos;  // index of the "/" that ends the base's root
    if (StartsWithNoCase(base, "file:///")) {
        rootEnd = base.find('/', 8);
        if (rootEnd == npos)
            rootEnd = 7;
    } else if (const std::size_t scheme = base.find("://"); scheme != npos) {
        rootEnd = base.find('/', scheme + 3);
    } else {
        rootEnd = base.find('/');
    }
    if (rootEnd != npos) {
        if (base.back() != '/')
            base += '/';
    } else {
        base += '/';
        rootEnd = base.size() - 1;
    }

    const std::string_view relative = Trim(relativeText);
    std::string result;
    if (relative.empty() || relative.front() != '/')
        result = base + std::string(relative);
    else if (relative.size() > 1 && relative[1] == '/')
        result =
            (protocol == "file" ? std::string("file:///") : protocol + ":") + std::string(relative);
    else
        result = base.substr(0, rootEnd + 1) + std::string(relative.substr(1));

    // Every step below shortens the text, so the loops end.
    for (std::size_t up = result.find("/../"); up != npos; up = result.find("/../")) {
        if (up > rootEnd) {
            const std::size_t previous = result.rfind('/', up - 1);
            if (previous == npos || previous < 1)
                break;
            result.erase(previous + 1, up + 4 - (previous + 1));
        } else {
            result.erase(up + 1, 3);
        }
    }
    for (std::size_t dot = result.find("/./"); dot != npos; dot = result.find("/./"))
        result.erase(dot + 1, 2);
    return result;
}

}  // namespace htmlview
