#include "setup/sysconfig/security/ansi_text.h"

#include <algorithm>
#include <type_traits>

namespace setup::sysconfig::security {

namespace {

unsigned UpperCaseUnit(unsigned c)
{
    if ((c >= 'a' && c <= 'z') || c == 0xE4 || c == 0xF6 || c == 0xFC)
        return c - 32;
    return c;
}

unsigned LowerCaseUnit(unsigned c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xDE))
        return c + 32;
    switch (c) {
        case 0x8A:
            return 0x9A;
        case 0x8C:
            return 0x9C;
        case 0x8E:
            return 0x9E;
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

template <typename Char>
bool EqualFrom(std::basic_string_view<Char> a, std::basic_string_view<Char> b)
{
    using Unit = std::make_unsigned_t<Char>;
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerCaseUnit(static_cast<Unit>(a[i])) != LowerCaseUnit(static_cast<Unit>(b[i])))
            return false;
    }
    return true;
}

template <typename Char>
std::basic_string<Char> UpperFrom(std::basic_string_view<Char> text)
{
    using Unit = std::make_unsigned_t<Char>;
    std::basic_string<Char> result(text);
    for (Char& c : result)
        c = static_cast<Char>(UpperCaseUnit(static_cast<Unit>(c)));
    return result;
}

}  // namespace

std::string TrimText(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    return std::string(text.substr(first, last - first));
}

std::string UpperCaseText(std::string_view text)
{
    return UpperFrom(text);
}

std::wstring UpperCaseText(std::wstring_view text)
{
    return UpperFrom(text);
}

bool TextEqualsIgnoreCase(std::string_view a, std::string_view b)
{
    return EqualFrom(a, b);
}

bool TextEqualsIgnoreCase(std::wstring_view a, std::wstring_view b)
{
    return EqualFrom(a, b);
}

bool StartsWithIgnoreCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && EqualFrom(text.substr(0, prefix.size()), prefix);
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualFrom(text.substr(0, prefix.size()), prefix);
}

std::size_t PositionOf(std::string_view sub, std::string_view text, std::size_t start,
                       std::size_t end, bool ignoreCase)
{
    if (sub.empty() || sub.size() > text.size() || start == 0 || end == 0)
        return 0;
    const std::size_t last = text.size() - sub.size() + 1;  // the last position it can begin at
    const auto matches = [&](std::size_t position) {
        const std::string_view candidate = text.substr(position - 1, sub.size());
        return ignoreCase ? EqualFrom(candidate, sub) : candidate == sub;
    };
    if (start <= end) {
        for (std::size_t p = start; p <= std::min(end, last); ++p) {
            if (matches(p))
                return p;
        }
    } else {
        for (std::size_t p = std::min(start, last); p >= end && p > 0; --p) {
            if (matches(p))
                return p;
        }
    }
    return 0;
}

std::size_t PositionOfAny(const std::bitset<256>& set, std::string_view text, bool backward)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t at = backward ? text.size() - 1 - i : i;
        if (set.test(static_cast<unsigned char>(text[at])))
            return at + 1;
    }
    return 0;
}

std::string DropLast(std::string_view text, std::size_t count)
{
    return std::string(text.substr(0, text.size() - std::min(count, text.size())));
}

std::string RemoveRange(std::string_view text, std::size_t position, std::size_t count)
{
    if (position == 0 || position > text.size())
        return std::string(text);
    std::string result(text);
    result.erase(position - 1, count);
    return result;
}

std::string FillText(std::string_view text, int length, char fill)
{
    const std::size_t wanted =
        static_cast<std::size_t>(length < 0 ? -static_cast<long>(length) : length);
    if (text.size() >= wanted)
        return std::string(text);
    const std::string filler(wanted - text.size(), fill);
    if (length < 0)
        return std::string(text) + filler;
    if (fill >= '0' && fill <= '9' && !text.empty() && text.front() == '-')
        return "-" + filler + std::string(text.substr(1));
    return filler + std::string(text);
}

std::string DecimalText(std::int64_t value)
{
    return std::to_string(value);
}

std::string FilledDecimal(std::uint32_t value, int length, char fill)
{
    return FillText(std::to_string(value), length, fill);
}

std::string HexText(std::uint32_t value)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}

std::string HexText(std::uint64_t value)
{
    const auto high = static_cast<std::uint32_t>(value >> 32);
    const auto low = static_cast<std::uint32_t>(value);
    if (high == 0)
        return HexText(low);
    return HexText(high) + FillText(HexText(low), 8, '0');
}

std::string FilledHexText(std::uint32_t value, int length, char fill)
{
    const bool hexFill = (fill >= '0' && fill <= '9') || (fill >= 'a' && fill <= 'f') ||
                         (fill >= 'A' && fill <= 'F');
    if (hexFill || length < 0)
        return "$" + FillText(HexText(value), length, fill);
    return FillText("$" + HexText(value), length + 1, fill);
}

std::int64_t ParseIntText(std::string_view text, bool hexadecimal)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const std::uint64_t base = hexadecimal ? 16 : 10;
    std::uint64_t value = 0;
    for (const char c : text) {
        std::uint64_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<std::uint64_t>(c - '0');
        else if (hexadecimal && c >= 'a' && c <= 'f')
            digit = static_cast<std::uint64_t>(c - 'a' + 10);
        else if (hexadecimal && c >= 'A' && c <= 'F')
            digit = static_cast<std::uint64_t>(c - 'A' + 10);
        value = value * base + digit;  // wraps as the 64-bit value it is
    }
    return static_cast<std::int64_t>(negative ? 0 - value : value);
}

}  // namespace setup::sysconfig::security
