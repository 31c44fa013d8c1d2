#include <gtest/gtest.h>

#include <string>

#include "setup/sysconfig/security/ansi_text.h"

namespace setup::sysconfig::security {
namespace {

TEST(AnsiText, CaseTablesAreWindows1252)
{
    EXPECT_TRUE(TextEqualsIgnoreCase("\xC9t\xE9", "\xE9T\xC9"));
    EXPECT_TRUE(TextEqualsIgnoreCase("\x8A\x9F", "\x9A\xFF"));
    EXPECT_FALSE(TextEqualsIgnoreCase("\xD7", "\xF7"));  // x and / signs are not letters
    EXPECT_FALSE(TextEqualsIgnoreCase("ab", "abc"));
    EXPECT_EQ(UpperCaseText("a\xE4\xE9z\xFC"), "A\xC4\xE9Z\xDC");  // only the umlauts besides a-z
    EXPECT_EQ(TrimText("\x01 text\t\x20"), "text");
    EXPECT_TRUE(StartsWithIgnoreCase(std::string_view("Hello"), std::string_view("")));
    EXPECT_FALSE(StartsWithIgnoreCase(std::string_view("He"), std::string_view("hel")));
}

TEST(AnsiText, Searches)
{
    struct Case
    {
        const char* sub;
        const char* text;
        std::size_t start;
        std::size_t end;
        bool ignoreCase;
        std::size_t found;
    };
    const Case cases[] = {
        {"ab", "xabyab", 1, 6, false, 2}, {"ab", "xabyab", 3, 6, false, 5},
        {"ab", "xabyab", 6, 1, false, 5}, {"ab", "xabyab", 4, 1, false, 2},
        {"AB", "xabyab", 1, 6, false, 0}, {"AB", "xabyab", 1, 6, true, 2},
        {"ab", "xabyab", 3, 4, false, 0}, {"", "abc", 1, 3, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PositionOf(c.sub, c.text, c.start, c.end, c.ignoreCase), c.found)
            << c.sub << " in " << c.text << " " << c.start << ".." << c.end;
    std::bitset<256> separators;
    separators.set('\\');
    separators.set(':');
    EXPECT_EQ(PositionOfAny(separators, "c:\\a\\b", false), 2u);
    EXPECT_EQ(PositionOfAny(separators, "c:\\a\\b", true), 5u);
    EXPECT_EQ(PositionOfAny(separators, "abc", true), 0u);
    EXPECT_EQ(DropLast("abcdef", 2), "abcd");
    EXPECT_EQ(DropLast("ab", 5), "");
    EXPECT_EQ(RemoveRange("abcdef", 2, 3), "aef");
}

TEST(AnsiText, NumbersAndFilling)
{
    EXPECT_EQ(FillText("-42", 6, '0'), "-00042");
    EXPECT_EQ(FillText("-42", 6, ' '), "   -42");
    EXPECT_EQ(FillText("42", -5, '.'), "42...");
    EXPECT_EQ(FillText("12345", 3, '0'), "12345");
    EXPECT_EQ(DecimalText(-9000000000), "-9000000000");
    EXPECT_EQ(FilledDecimal(0xFFFFFFFF, 12, '0'), "004294967295");
    EXPECT_EQ(HexText(std::uint32_t{0}), "0");
    EXPECT_EQ(HexText(std::uint32_t{0xBEEF}), "beef");
    EXPECT_EQ(HexText(std::uint64_t{0x1000000AB}), "1000000ab");
    EXPECT_EQ(HexText(std::uint64_t{0xAB}), "ab");
    EXPECT_EQ(FilledHexText(0x1F, 4, '0'), "$001f");
    EXPECT_EQ(FilledHexText(0x1F, -4, 'x'), "$1fxx");
    EXPECT_EQ(FilledHexText(0x1F, 4, ' '), "  $1f");
    EXPECT_EQ(ParseIntText("-123", false), -123);
    EXPECT_EQ(ParseIntText("1x3", false), 103);  // a stray character counts as 0
    EXPECT_EQ(ParseIntText("fF", true), 255);
    EXPECT_EQ(ParseIntText("-10", true), -16);
}

}  // namespace
}  // namespace setup::sysconfig::security
