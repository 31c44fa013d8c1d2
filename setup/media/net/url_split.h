// Splitting a request URL into the parts the HTTP client connects and asks with.
#pragma once

#include <string>
#include <string_view>

namespace net {

struct UrlParts
{
    std::string scheme, user, password, host, port, path;
};

// `basePath` is the path of the previous request: "./x" and "../x" are read against it.
UrlParts SplitUrl(std::string_view url, std::string_view basePath = {});

}  // namespace net
