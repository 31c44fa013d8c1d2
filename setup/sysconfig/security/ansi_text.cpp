#include "setup/sysconfig/security/ansi_text.h"

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

}  // namespace setup::sysconfig::security
