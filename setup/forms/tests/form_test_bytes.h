// Byte fixtures for the form tests, written as hex so that a test states every byte it expects.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace setup::forms::testing {

// "54 50 46 30" and "545046 30" alike: spaces are ignored.
inline std::vector<std::uint8_t> Hex(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    int pending = -1;
    for (const char c : text) {
        if (c == ' ' || c == '\n')
            continue;
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        if (digit < 0 || digit > 15)
            throw std::invalid_argument("bad hex fixture");
        if (pending < 0) {
            pending = digit;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(pending * 16 + digit));
            pending = -1;
        }
    }
    return bytes;
}

inline std::string HexOf(const std::vector<std::uint8_t>& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i)
            text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

}  // namespace setup::forms::testing
