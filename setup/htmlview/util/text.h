// Small text routines the parser and the style code share: ASCII case folding, trimming, and
// reading numbers the way the document's numbers are read (decimal, optional sign and fraction).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace htmlview {

std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
char UpperAscii(char c);
bool IsAsciiLetter(char c);
bool IsAsciiDigit(char c);

// Removes characters up to and including the space at both ends.
std::string_view Trim(std::string_view text);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EqualsNoCase(std::string_view a, std::string_view b);

// The whole text as a decimal number: optional sign, digits with an optional fraction, an optional
// exponent. Nothing else may follow.
std::optional<double> ParseDecimal(std::string_view text);
// The whole text as a signed decimal integer that fits in an int.
std::optional<int> ParseInteger(std::string_view text);
// The whole text as a hexadecimal number of at most eight digits.
std::optional<unsigned> ParseHex(std::string_view text);

}  // namespace htmlview
