#pragma once
// What the console lines show of a wide path: plain characters kept, others as '?'.
#include <string>
#include <string_view>

namespace shred::wipers {

inline std::string NarrowPath(std::wstring_view text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text)
        narrow += (c > 0 && c < 0x80) ? static_cast<char>(c) : '?';
    return narrow;
}

}  // namespace shred::wipers
