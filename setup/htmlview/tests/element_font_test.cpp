#include <gtest/gtest.h>

#include "setup/htmlview/style/font_info.h"
#include "setup/htmlview/style/properties.h"
#include "setup/htmlview/tests/styled.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;
using test_styles::Styled;

// Counts measurements; the family "Symbol" reports the symbol character set.
class CountingMeasurer : public FakeTextMeasurer
{
public:
    FontMetrics Metrics(const FontRequest& font) override
    {
        requests.push_back(font);
        FontMetrics metrics = FakeTextMeasurer::Metrics(font);
        if (font.name == "Symbol" || font.name == "symbol")
            metrics.charset = 2;
        return metrics;
    }
    std::vector<FontRequest> requests;
};

class ElementFontTest : public ::testing::Test
{
protected:
    ElementFontTest() { fonts.installed = {"arial", "symbol", "courier new"}; }
    FakeFontCatalog fonts;
    CountingMeasurer measurer;
};

TEST_F(ElementFontTest, HeightStylesAndEmSizeComeFromTheMeasuredFont)
{
    Properties p = Styled("font-family: Nowhere, sans-serif; font-size: 24pt; font-weight: 700; "
                          "text-decoration: line-through; letter-spacing: 0.5em");
    const ElementFont font = FontOf(p, 12, fonts, measurer);
    EXPECT_EQ(font.request.name, "Arial");
    EXPECT_EQ(font.request.height, -32);  // 24 points at 96 pixels per inch
    EXPECT_TRUE(font.request.bold);
    EXPECT_TRUE(font.request.strikeOut);
    // The fake adds an eighth of the character height as internal leading.
    EXPECT_EQ(p.emSize, 32);
    EXPECT_EQ(p.exSize, 16);
    EXPECT_EQ(font.letterSpacing, 16);
    ASSERT_EQ(measurer.requests.size(), 1u);  // default character set: measured once

    // Kept until a value changes.
    FontOf(p, 12, fonts, measurer);
    EXPECT_EQ(measurer.requests.size(), 1u);
    p.Assign("font-size", "12pt");
    EXPECT_EQ(FontOf(p, 12, fonts, measurer).request.height, -16);
    EXPECT_EQ(measurer.requests.size(), 2u);
}

TEST_F(ElementFontTest, CharacterSets)
{
    struct Case
    {
        const char* family;
        int elementCharset;
        int expectedCharset;
        std::size_t measurements;
    };
    const Case cases[] = {
        {"Arial", 1, 1, 1},
        {"Arial", 204, 204, 2},  // asked for Cyrillic: measured again in it
        {"Symbol", 204, 2, 2},   // a symbol font keeps its own set
    };
    for (const Case& c : cases) {
        measurer.requests.clear();
        Properties p = Styled(std::string("font-family: ") + c.family);
        p.charset = c.elementCharset;
        EXPECT_EQ(FontOf(p, 12, fonts, measurer).request.charset, c.expectedCharset) << c.family;
        EXPECT_EQ(measurer.requests.size(), c.measurements) << c.family;
        EXPECT_EQ(measurer.requests.front().charset, 1) << c.family;
    }
}

}  // namespace
