#include "support/cipher/base64.h"

namespace cipher {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) noexcept
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

}  // namespace

size_t Base64EncodedLength(size_t length) noexcept
{
    return (length + 2) / 3 * 4;
}

void Base64Encode(const uint8_t* data, size_t length, char* out) noexcept
{
    size_t i = 0;
    for (; i + 3 <= length; i += 3) {
        const uint32_t group = uint32_t(data[i]) << 16 | uint32_t(data[i + 1]) << 8 | data[i + 2];
        *out++ = kAlphabet[group >> 18];
        *out++ = kAlphabet[(group >> 12) & 63];
        *out++ = kAlphabet[(group >> 6) & 63];
        *out++ = kAlphabet[group & 63];
    }
    const size_t rest = length - i;
    if (rest) {
        const uint32_t group =
            uint32_t(data[i]) << 16 | (rest == 2 ? uint32_t(data[i + 1]) << 8 : 0);
        *out++ = kAlphabet[group >> 18];
        *out++ = kAlphabet[(group >> 12) & 63];
        *out++ = rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
        *out++ = '=';
    }
}

size_t Base64DecodeLenient(const char* text, size_t maxChars, uint8_t* out,
                           size_t outCapacity) noexcept
{
    size_t written = 0;
    uint32_t bits = 0;
    int bitCount = 0;
    for (size_t i = 0; i < maxChars && text[i] != '\0'; ++i) {
        const int sextet = SextetOf(text[i]);
        if (sextet < 0)
            continue;
        bits = (bits << 6) | uint32_t(sextet);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            if (written == outCapacity)
                return written;
            out[written++] = uint8_t(bits >> bitCount);
            bits &= (1u << bitCount) - 1;
        }
    }
    return written;
}

}  // namespace cipher
