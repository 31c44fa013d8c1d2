#include "setup/engine/script/fast_strings.h"

#include <random>

#include <gtest/gtest.h>

#include "setup/engine/rtl/exceptions.h"

namespace setup::engine {
namespace {

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameAt(std::string_view text, std::size_t at, std::string_view pattern, bool ignoreCase)
{
    for (std::size_t j = 0; j < pattern.size(); ++j) {
        char a = text[at + j], b = pattern[j];
        if (ignoreCase) {
            a = AsciiUpper(a);
            b = AsciiUpper(b);
        }
        if (a != b)
            return false;
    }
    return true;
}

// Plain position-by-position references for texts without NULs or double-byte characters.
std::string NaiveReplace(std::string_view s, std::string_view p, std::string_view r, int flags)
{
    if (s.empty() || p.empty() || s.size() < p.size())
        return std::string(s);
    std::string out;
    std::size_t i = 0;
    bool replaced = false;
    while (i < s.size()) {
        if ((!replaced || (flags & kReplaceAll)) && i + p.size() <= s.size() &&
            SameAt(s, i, p, flags & kReplaceIgnoreCase)) {
            out += r;
            i += p.size();
            replaced = true;
        } else {
            out += s[i++];
        }
    }
    return out;
}

int NaivePos(std::string_view text, std::string_view pattern, bool ignoreCase, int start,
             bool forward)
{
    const int n = static_cast<int>(text.size()), m = static_cast<int>(pattern.size());
    if (m == 0 || n < m)
        return 0;
    if (forward) {
        for (int pos = std::max(start, 1); pos <= n - m + 1; ++pos)
            if (SameAt(text, pos - 1, pattern, ignoreCase))
                return pos;
        return 0;
    }
    if (start <= 0 || start > n - m + 1)
        start = n - m + 1;
    for (int pos = start; pos >= 1; --pos)
        if (SameAt(text, pos - 1, pattern, ignoreCase))
            return pos;
    return 0;
}

std::string RandomText(std::mt19937& random, std::size_t maxLength, std::string_view alphabet)
{
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text)
        c = alphabet[random() % alphabet.size()];
    return text;
}

TEST(FastStrings, StrReplaceMatchesNaiveReferenceOnRandomTexts)
{
    std::mt19937 random(20261210);
    for (int round = 0; round < 20000; ++round) {
        const std::string s = RandomText(random, 40, "abAB");
        const std::string p = RandomText(random, 4, "abAB");
        const std::string r = RandomText(random, round % 50 == 0 ? 60 : 6, "xyXY");
        const int flags = round % 4;
        ASSERT_EQ(StrReplace(s, p, r, flags), NaiveReplace(s, p, r, flags))
            << "s=" << s << " p=" << p << " r=" << r << " flags=" << flags;
    }
}

TEST(FastStrings, SearchTextMatchesNaiveReferenceOnRandomTexts)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = RandomText(random, 30, "abcAB");
        const std::string pattern = RandomText(random, 4, "abcAB");
        const bool caseSensitive = round & 1;
        const bool forward = round & 2;
        const int start = static_cast<int>(random() % 34) - 1;
        ASSERT_EQ(SearchText(pattern, text, caseSensitive, start, forward),
                  NaivePos(text, pattern, !caseSensitive, start, forward))
            << "text=" << text << " pattern=" << pattern << " start=" << start
            << " cs=" << caseSensitive << " fwd=" << forward;
    }
}

TEST(FastStrings, StrReplaceEdgeCases)
{
    struct Case
    {
        std::string source, pattern, replacement;
        int flags;
        std::string expected;
    };
    const Case cases[] = {
        {"aXbXc", "X", "YY", 1, "aYYbYYc"},
        {"aXbXc", "X", "YY", 0, "aYYbXc"},
        {"axbXc", "X", "-", 3, "a-b-c"},
        {"AxbXc", "x", "", 2, "AbXc"},
        {"abc", "abcd", "z", 1, "abc"},
        {"abc", "", "z", 1, "abc"},
        {"", "a", "z", 1, ""},
        {"aaa", "aa", "b", 1, "ba"},
        {std::string("aXb\0X", 5), "X", "Y", 1, std::string("aYb\0X", 5)},  // stops at NUL
        {"\\\\\\\\", "\\\\", "\\", 1, "\\\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrReplace(c.source, c.pattern, c.replacement, c.flags), c.expected)
            << c.source << " / " << c.pattern << " / " << c.flags;
}

TEST(FastStrings, ReplacementGrowsPastTheTenfoldEstimate)
{
    EXPECT_EQ(InitialReplaceCapacity(1000, 1, 20), 10000u);
    EXPECT_EQ(InitialReplaceCapacity(100, 2, 3), 150u);
    EXPECT_EQ(InitialReplaceCapacity(100, 3, 2), 100u);
    EXPECT_EQ(GrownReplaceCapacity(10000, 0, 20), 15030u);
    EXPECT_EQ(GrownReplaceCapacity(1, 0, 0), 1u);  // 1.5 truncated

    const std::string result = StrReplace(std::string(1000, 'a'), "a", "0123456789abcdefghij", 1);
    ASSERT_EQ(result.size(), 20000u);
    EXPECT_EQ(result.substr(19980), "0123456789abcdefghij");
}

TEST(FastStrings, StepsOverDoubleByteCharacters)
{
    rtl::CodePageFacts dbcs = rtl::AsciiCodePage();
    dbcs.leadByte[0x81] = true;
    // "\x81X" is one character whose trail byte happens to be 'X'.
    EXPECT_EQ(StrReplace("\x81XX", "X", "-", 1, dbcs), "\x81X-");
    EXPECT_EQ(StrReplace("\x81XX", "X", "-", 1, rtl::AsciiCodePage()), "\x81--");
    EXPECT_EQ(StrReplace("a\x81Xb", "\x81X", "?", 1, dbcs), "a?b");
    // Upper-casing leaves trail bytes alone, so a trail 'a' is neither changed nor matched.
    EXPECT_EQ(StrReplace("\x81"
                         "aa",
                         "A", "-", 3, dbcs),
              "\x81"
              "a-");
    EXPECT_EQ(dbcs.UpperCase("\x81"
                             "ab"),
              "\x81"
              "aB");
}

TEST(FastStrings, PositionsAndSkipTable)
{
    const std::string text = "xabyab";
    EXPECT_EQ(PosFrom(text.data(), "ab", 6, 1, 2), 2);
    EXPECT_EQ(PosFrom(text.data(), "ab", 6, 3, 2), 5);
    EXPECT_EQ(PosFrom(text.data(), "", 6, 1, 0), 0);
    EXPECT_EQ(PosFrom(text.data(), "ab", 6, 7, 2), 0);
    EXPECT_EQ(PosBackFrom(text.data(), "ab", 6, 0, 2), 5);  // started at the end
    EXPECT_EQ(PosBackFrom(text.data(), "ab", 6, 4, 2), 2);
    EXPECT_EQ(PosBackFromNoCase(text.data(), "AB", 6, 0, 2), 5);
    EXPECT_EQ(PosFromNoCase(text.data(), "YA", 6, 1, 2), 4);

    EXPECT_EQ(FindCharFromNoCase("ABX", 'x', 1), 3);
    EXPECT_EQ(FindCharFromNoCase("ABX", 'x', 4), 0);
    EXPECT_EQ(FindCharFromNoCase("", 'x', 1), 0);

    SkipTable table;
    BuildSkipTable("abca", 4, table);
    EXPECT_EQ(table['a'], 3);  // the last byte is not entered
    EXPECT_EQ(table['b'], 2);
    EXPECT_EQ(table['c'], 1);
    EXPECT_EQ(table['z'], 4);
    BuildSkipTableNoCase("ab", 2, table);
    EXPECT_EQ(table['A'], 1);
    try {
        BuildSkipTable("", 0, table);
        FAIL() << "empty pattern accepted";
    } catch (const rtl::Exception& e) {
        EXPECT_STREQ(e.what(), "BufferLen is 0");
    }
}

}  // namespace
}  // namespace setup::engine
