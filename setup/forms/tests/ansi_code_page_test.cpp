#include "setup/forms/ansi_code_page.h"

#include <gtest/gtest.h>

namespace setup::forms {
namespace {

TEST(Utf8ToUtf16, DecodesWellFormedTextAndReplacesEachBadByte)
{
    struct Case
    {
        const char* what;
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"empty", "", u""},
        {"ASCII with a NUL", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"two, three and four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
         u"\u00E9\u20AC\U0001F600"},
        {"highest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"stray continuation byte", "a\x80z", u"a\uFFFDz"},
        {"lead byte cut short by ASCII", "\xE2\x82z", u"\uFFFD\uFFFDz"},
        {"lead byte at the end", "a\xF0", u"a\uFFFD"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"bytes that never start a character", "\xF8\xFF", u"\uFFFD\uFFFD"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.what;
}

TEST(Latin1CodePage, KeepsUnitsUpTo255AndMarksTheRest)
{
    EXPECT_EQ(Latin1CodePage().FromUtf16(u"A\u00FF\u0100\u20AC"), "A\xFF??");
}

}  // namespace
}  // namespace setup::forms
