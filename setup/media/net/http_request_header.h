// The header of an HTTP request, line by line in the order the client sends them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace net {

// A calendar time written as it is given (the caller decides on the zone).
struct HttpDate
{
    int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int weekday = 0;  // 0 Monday ... 6 Sunday
};

struct HttpRequestHeaderValues
{
    std::string method;       // "GET", "POST", "PUT", "HEAD"
    std::string requestPath;  // a path, or an absolute URL through a proxy
    std::string version;      // "1.0" or "1.1"
    std::string sender, accept, reference, connection, proxyConnection, acceptLanguage;
    std::string contentType;  // sent for POST and PUT only
    std::string agent;
    std::string targetHost, targetPort;  // the port is written unless it is "80" or empty
    bool noCache = false;
    std::optional<std::int64_t> contentLength;  // POST and PUT
    std::optional<HttpDate> modifiedSince;
    std::string authorization;  // a whole line, or empty
    std::string cookie;
    std::string rangeBegin, rangeEnd;
};

std::vector<std::string> BuildRequestHeaderLines(const HttpRequestHeaderValues& values);

// The lines joined, each ended by CR LF, and the empty line that closes the header.
std::string JoinRequestHeader(const std::vector<std::string>& lines);

}  // namespace net
