#include "setup/media/net/http_request_header.h"

#include <gtest/gtest.h>

namespace {

using net::BuildRequestHeaderLines;
using net::HttpRequestHeaderValues;
using Lines = std::vector<std::string>;

HttpRequestHeaderValues Plain(const char* method)
{
    HttpRequestHeaderValues v;
    v.method = method;
    v.requestPath = "/f.zip";
    v.version = "1.0";
    v.targetHost = "host";
    return v;
}

TEST(HttpRequestHeader, WritesItsLinesInOrderAndOnlyWhenSet)
{
    HttpRequestHeaderValues full = Plain("POST");
    full.version = "1.1";
    full.requestPath = "http://host:8080/f.zip";
    full.sender = "me@host";
    full.accept = "*/*";
    full.reference = "http://ref/";
    full.connection = "Keep-Alive";
    full.proxyConnection = "Keep-Alive";
    full.acceptLanguage = "de";
    full.contentType = "application/x-www-form-urlencoded";
    full.agent = "Agent/1";
    full.targetPort = "8080";
    full.noCache = true;
    full.contentLength = 42;
    full.modifiedSince = net::HttpDate{2024, 2, 9, 7, 5, 3, 4};
    full.authorization = "Authorization: Basic dTpw";
    full.cookie = "a=1";
    full.rangeBegin = "2048";

    HttpRequestHeaderValues getWithBodyFields = Plain("GET");
    getWithBodyFields.contentType = "text/plain";  // only a POST or PUT sends these two
    getWithBodyFields.contentLength = 5;
    getWithBodyFields.targetPort = "80";
    getWithBodyFields.rangeEnd = "99";

    const struct
    {
        const char* name;
        HttpRequestHeaderValues values;
        Lines expected;
    } cases[] = {
        {"everything",
         full,
         {"POST http://host:8080/f.zip HTTP/1.1", "From: me@host", "Accept: */*",
          "Referer: http://ref/", "Connection: Keep-Alive", "Proxy-Connection: Keep-Alive",
          "Accept-Language: de", "Content-Type: application/x-www-form-urlencoded",
          "User-Agent: Agent/1", "Host: host:8080", "Pragma: no-cache", "Content-Length: 42",
          "If-Modified-Since: Fri, 09 Feb 2024 07:05:03 GMT", "Authorization: Basic dTpw",
          "Cookie: a=1", "Range: bytes=2048-"}},
        {"get", getWithBodyFields, {"GET /f.zip HTTP/1.0", "Host: host", "Range: bytes=-99"}},
        {"put without length",
         Plain("PUT"),
         {"PUT /f.zip HTTP/1.0", "Host: host", "Content-Length: 0"}},
        {"head", Plain("HEAD"), {"HEAD /f.zip HTTP/1.0", "Host: host"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildRequestHeaderLines(c.values), c.expected) << c.name;
    EXPECT_EQ(net::JoinRequestHeader({"GET / HTTP/1.0", "Host: h"}),
              "GET / HTTP/1.0\r\nHost: h\r\n\r\n");
}

}  // namespace
