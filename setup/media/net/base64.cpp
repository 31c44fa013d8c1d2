#include "setup/media/net/base64.h"

#include <cstdint>

namespace net {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::uint32_t SixBits(char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<std::uint32_t>(c - 'A');
    if (c >= 'a' && c <= 'z')
        return static_cast<std::uint32_t>(c - 'a' + 26);
    if (c >= '0' && c <= '9')
        return static_cast<std::uint32_t>(c - '0' + 52);
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return 0;
}

}  // namespace

std::string EncodeBase64(std::string_view bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = bytes.size() - i < 3 ? bytes.size() - i : 3;
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            group <<= 8;
            if (k < count)
                group |= static_cast<std::uint8_t>(bytes[i + k]);
        }
        for (std::size_t k = 0; k < 4; ++k)
            text += k <= count ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return text;
}

std::string DecodeBase64(std::string_view text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::uint32_t group = 0;
        std::size_t count = 0;
        for (; count < 4 && i + count < text.size() && text[i + count] != '='; ++count)
            group |= SixBits(text[i + count]) << (18 - 6 * count);
        // Two characters carry one byte, three carry two, four carry three.
        for (std::size_t k = 0; k + 1 < count; ++k)
            bytes += static_cast<char>((group >> (16 - 8 * k)) & 0xFF);
    }
    return bytes;
}

}  // namespace net
