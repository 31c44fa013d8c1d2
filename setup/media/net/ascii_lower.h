// Lower case of the ASCII letters only, as protocol names, header fields and host names compare.
#pragma once

#include <string>
#include <string_view>

namespace net {

inline std::string AsciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

}  // namespace net
