// The library's text routines. Names, shares and registry roots are compared and upper-cased with
// fixed Windows-1252 tables, so the result does not depend on the ANSI code page in use.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace setup::sysconfig::security {

// Without characters up to code 32 at both ends.
std::string TrimText(std::string_view text);
// a-z and the three umlauts 0xE4, 0xF6, 0xFC; nothing else.
std::string UpperCaseText(std::string_view text);
std::wstring UpperCaseText(std::wstring_view text);
// Equal after the Windows-1252 lower-case table.
bool TextEqualsIgnoreCase(std::string_view a, std::string_view b);
bool TextEqualsIgnoreCase(std::wstring_view a, std::wstring_view b);
bool StartsWithIgnoreCase(std::wstring_view text, std::wstring_view prefix);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// Positions are 1-based; 0 means none. A search runs forward when start is not after end and
// backward otherwise, over the positions where the sub-text may begin.
std::size_t PositionOf(std::string_view sub, std::string_view text, std::size_t start,
                       std::size_t end, bool ignoreCase);
std::size_t PositionOfAny(const std::bitset<256>& set, std::string_view text, bool backward);
std::string DropLast(std::string_view text, std::size_t count);
std::string RemoveRange(std::string_view text, std::size_t position, std::size_t count);
// A positive length fills on the left, a negative one on the right; a digit fill keeps a leading
// "-" in front.
std::string FillText(std::string_view text, int length, char fill);
std::string DecimalText(std::int64_t value);
std::string FilledDecimal(std::uint32_t value, int length, char fill);
// Lower-case digits without leading zeros; the 64-bit form writes the low half as 8 digits behind
// a non-zero high half.
std::string HexText(std::uint32_t value);
std::string HexText(std::uint64_t value);
// "$" and the digits, filled as FillText says.
std::string FilledHexText(std::uint32_t value, int length, char fill);
// Characters that are not digits of the base count as 0; a leading "-" negates.
std::int64_t ParseIntText(std::string_view text, bool hexadecimal);

}  // namespace setup::sysconfig::security
