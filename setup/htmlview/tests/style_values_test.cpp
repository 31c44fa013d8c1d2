#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/units.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;

TEST(ParseColor, NamesHexFormsAndRgb)
{
    struct Case
    {
        const char* text;
        bool hashRequired;
        std::optional<std::uint32_t> expected;
    };
    const Case cases[] = {
        {"#f0c", true, MakeRgb(0xFF, 0x00, 0xCC)},
        {"#FF00CC", true, MakeRgb(0xFF, 0x00, 0xCC)},
        {"f0c", false, MakeRgb(0xFF, 0x00, 0xCC)},
        {"f0c", true, std::nullopt},
        {"#12", true, MakeRgb(0x00, 0x11, 0x22)},
        {"a#b#ccc", false, MakeRgb(0xCC, 0xCC, 0xCC)},
        {"#gg", true, std::nullopt},
        {"#", true, std::nullopt},
        {"rgb(100%,0,50%)", true, MakeRgb(255, 0, 128)},
        {"RGB( 300 , -5 , x )", true, MakeRgb(255, 0, 0)},
        {"rgb(1,2", true, MakeRgb(1, 2, 0)},
        {" Crimson ", true, MakeRgb(0xDC, 0x14, 0x3C)},
        {"grey", true, MakeRgb(0x80, 0x80, 0x80)},
        {"highlighttext", true, 0xFF00000Eu},
        {"threedlightshadow", true, 0xFF000014u},
        {"transparent", true, kNoColor},
        {"nonsense", false, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseColor(c.text, c.hashRequired), c.expected) << c.text;
}

TEST(ResolveColor, TurnsSystemColorsIntoTheirValues)
{
    FakeFontCatalog system;
    EXPECT_EQ(ResolveColor(0xFF00000Eu, system), MakeRgb(14, 14, 14));
    EXPECT_EQ(ResolveColor(MakeRgb(1, 2, 3), system), MakeRgb(1, 2, 3));
}

TEST(LengthToPixels, UnitsPercentagesAndEms)
{
    const LengthBases bases{96, 16, 8};
    struct Case
    {
        const char* text;
        bool relative;
        int base;
        int expected;
    };
    const Case cases[] = {
        {"1.5em", false, 0, 24},
        {"2ex", false, 0, 16},
        {"1in", false, 0, 96},
        {"2.54cm", false, 0, 96},
        {"25.4mm", false, 0, 96},
        {"72pt", false, 0, 96},
        {"10px", false, 0, 10},
        {" 10 px ", false, 0, 10},
        {"1pc", false, 0, 16},
        {"50%", false, 400, 200},
        {"10", false, 3, 10},
        {"10", true, 3, 30},
        {"auto", false, 0, -1},
        {"1e999px", false, 0, -1},
        {"99999999999px", false, 0, INT_MAX},
        {"-99999999999px", false, 0, INT_MIN},
        {"100000000000000000000%", false, 400, INT_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LengthToPixels(c.text, c.relative, c.base, -1, bases), c.expected) << c.text;
}

TEST(FontSizeToPoints, UnitsAndKeywords)
{
    struct Case
    {
        const char* text;
        double current;
        double expected;
    };
    const Case cases[] = {
        {"2em", 12, 24},     {"medium", 16, 14.4},
        {"small", 16, 12},   {"smaller", 16, 12},
        {"larger", 16, 20},  {"xx-large", 16, 36},
        {"150%", 10, 15},    {"12pt", 10, 12},
        {"16px", 10, 12},    {"16", 10, 12},
        {"1in", 10, 72},     {"foo", 10, 12},
        {"1e999em", 10, 12}, {"99999999em", 10, kMaxFontPoints},
        {"-5pt", 10, 0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(FontSizeToPoints(c.text, c.current, 12, 96), c.expected) << c.text;
}

}  // namespace
