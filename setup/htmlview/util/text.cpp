#include "setup/htmlview/util/text.h"

#include <charconv>
#include <cstdlib>

namespace htmlview {

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string LowerAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string UpperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = UpperAscii(c);
    return result;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i]))
            return false;
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::optional<double> ParseDecimal(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t digitsStart = i;
    bool anyDigit = false;
    while (i < text.size() && IsAsciiDigit(text[i])) {
        ++i;
        anyDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsAsciiDigit(text[i])) {
            ++i;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t exponentDigits = j;
        while (j < text.size() && IsAsciiDigit(text[j]))
            ++j;
        if (j == exponentDigits)
            return std::nullopt;
        end = j;
    }
    if (end != text.size())
        return std::nullopt;
    // The text is known to be a well-formed number here; strtod reads it in the "C" locale the
    // program never leaves, and gives HUGE_VAL or 0 for what is out of range.
    const std::string normal(text.substr(digitsStart, end - digitsStart));
    const double value = std::strtod(normal.c_str(), nullptr);
    return negative ? -value : value;
}

std::optional<int> ParseInteger(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<unsigned> ParseHex(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    unsigned value = 0;
    const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace htmlview
