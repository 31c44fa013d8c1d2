// The library's text routines. Names, shares and registry roots are compared and upper-cased with
// fixed Windows-1252 tables, so the result does not depend on the ANSI code page in use.
#pragma once

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

}  // namespace setup::sysconfig::security
