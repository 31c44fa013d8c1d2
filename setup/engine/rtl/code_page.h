// Facts of the process's ANSI code page that text routines depend on: the byte upper-case table,
// DBCS lead bytes and the user-locale comparison. Built once from the system (or a portable
// ASCII stand-in off Windows); tests may build their own facts to exercise a DBCS code page.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace setup::rtl {

struct CodePageFacts
{
    std::array<std::uint8_t, 256> upper{};  // byte -> its upper-case form
    std::array<bool, 256> leadByte{};       // byte opens a double-byte character

    // Upper-cases a text without touching the trail byte of a double-byte character, so the
    // result always has the text's length.
    std::string UpperCase(std::string_view text) const;
};

// The facts of the running process's code page.
const CodePageFacts& SystemCodePage();

// ASCII-only facts with no lead bytes: the base for test code pages.
CodePageFacts AsciiCodePage();

// User-locale comparison of two ANSI texts (lengths explicit, NULs allowed).
int AnsiCompare(std::string_view a, std::string_view b, bool ignoreCase);
inline bool AnsiSameText(std::string_view a, std::string_view b)
{
    return AnsiCompare(a, b, true) == 0;
}

// Upper-cases through the system code page.
std::string AnsiUpperCase(std::string_view text);

}  // namespace setup::rtl
