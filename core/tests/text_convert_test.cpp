#include "core/text_convert.h"

#include <gtest/gtest.h>

namespace {

TEST(TextConvert, RoundTripsThroughCodePages)
{
    struct Case
    {
        std::string ansi;
        UINT codePage;
        std::wstring wide;
    };
    const Case cases[] = {
        {"", 1252, L""},
        {"plain", 1252, L"plain"},
        {"Gr\xF6\xDF"
         "e",
         1252,
         L"Gr\u00F6\u00DF"
         "e"},
        {"\xC3\xBC", CP_UTF8, L"\u00FC"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(core::AnsiToWide(c.ansi, c.codePage), c.wide) << c.ansi;
        EXPECT_EQ(core::WideToAnsi(c.wide, c.codePage), c.ansi) << c.ansi;
    }
}

}  // namespace
