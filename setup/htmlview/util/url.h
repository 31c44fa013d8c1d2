// Splitting, classifying and joining URL texts; nothing is fetched.
#pragma once

#include <string>
#include <string_view>

namespace htmlview {

struct UrlParts
{
    std::string protocol, user, password, host, port, path;
};

UrlParts ParseUrl(std::string_view url);
std::string GetProtocol(std::string_view url);  // lower case, empty when none
bool IsFullUrl(std::string_view url);
std::string GetUrlBase(std::string_view url);  // up to and including the path's last "/"
std::string CombineUrl(std::string_view base, std::string_view relative);

// 1-based position of the n-th occurrence of `searched` in `text` (counted from the end for a
// negative n); 0 when there are fewer.
std::size_t PosOfOccurrence(std::string_view searched, std::string_view text, int n);

}  // namespace htmlview
