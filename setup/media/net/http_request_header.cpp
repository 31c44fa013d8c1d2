#include "setup/media/net/http_request_header.h"

#include <cstdio>

namespace net {

namespace {

std::string FormatDate(const HttpDate& date)
{
    static constexpr const char kDays[] = "MonTueWedThuFriSatSun";
    static constexpr const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const int day = date.weekday >= 0 && date.weekday < 7 ? date.weekday : 0;
    const int month = date.month >= 1 && date.month <= 12 ? date.month - 1 : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%.3s, %2.2d %.3s %4.4d %2.2d:%2.2d:%2.2d", kDays + 3 * day,
                  date.day, kMonths + 3 * month, date.year, date.hour, date.minute, date.second);
    return text;
}

}  // namespace

std::vector<std::string> BuildRequestHeaderLines(const HttpRequestHeaderValues& v)
{
    std::vector<std::string> lines;
    const auto addIf = [&lines](const char* name, const std::string& value) {
        if (!value.empty())
            lines.push_back(name + value);
    };
    const bool sendsBody = v.method == "POST" || v.method == "PUT";
    lines.push_back(v.method + " " + v.requestPath + " HTTP/" + v.version);
    addIf("From: ", v.sender);
    addIf("Accept: ", v.accept);
    addIf("Referer: ", v.reference);
    addIf("Connection: ", v.connection);
    addIf("Proxy-Connection: ", v.proxyConnection);
    addIf("Accept-Language: ", v.acceptLanguage);
    if (sendsBody)
        addIf("Content-Type: ", v.contentType);
    addIf("User-Agent: ", v.agent);
    std::string host = "Host: " + v.targetHost;
    if (!v.targetPort.empty() && v.targetPort != "80")
        host += ":" + v.targetPort;
    lines.push_back(host);
    if (v.noCache)
        lines.push_back("Pragma: no-cache");
    if (sendsBody)
        lines.push_back("Content-Length: " + std::to_string(v.contentLength.value_or(0)));
    if (v.modifiedSince)
        lines.push_back("If-Modified-Since: " + FormatDate(*v.modifiedSince) + " GMT");
    addIf("", v.authorization);
    addIf("Cookie: ", v.cookie);
    if (!v.rangeBegin.empty() || !v.rangeEnd.empty())
        lines.push_back("Range: bytes=" + v.rangeBegin + "-" + v.rangeEnd);
    return lines;
}

std::string JoinRequestHeader(const std::vector<std::string>& lines)
{
    std::string header;
    for (const std::string& line : lines)
        header += line + "\r\n";
    return header + "\r\n";
}

}  // namespace net
