#include "setup/htmlview/style/box_values.h"

#include <gtest/gtest.h>

#include "setup/htmlview/tests/styled.h"

namespace {

using namespace htmlview;

using test_styles::Styled;

const LengthBases kLengths{96, 16, 8};

TEST(BoxValues, MarginsPaddingsAndBordersInPixels)
{
    struct Case
    {
        const char* css;
        std::array<int, 4> margin, padding, border;  // top, right, bottom, left
    };
    const Case cases[] = {
        {"", {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"margin: 10% 2em 5px 1in", {20, 32, 5, 96}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"padding: 3px 10%", {0, 0, 0, 0}, {3, 20, 3, 20}, {0, 0, 0, 0}},
        // A border without a style is no border; a style without a width is medium.
        {"border-width: 9px", {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"border-style: solid", {0, 0, 0, 0}, {0, 0, 0, 0}, {4, 4, 4, 4}},
        {"border-style: solid; border-width: thin medium thick 7px",
         {0, 0, 0, 0},
         {0, 0, 0, 0},
         {2, 4, 6, 7}},
        {"border-left-style: none; border-top: 3px dashed", {0, 0, 0, 0}, {0, 0, 0, 0},
         {3, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        BoxBases bases;
        bases.width = 200;
        bases.lengths = kLengths;
        const BoxPixels box = BoxPixelsOf(Styled(c.css), bases);
        EXPECT_EQ(box.margin, c.margin) << c.css;
        EXPECT_EQ(box.padding, c.padding) << c.css;
        EXPECT_EQ(box.borderWidth, c.border) << c.css;
    }
}

TEST(BoxValues, AutoSizesCollapsibleMarginsAndTableCells)
{
    BoxBases bases;
    bases.width = 200;
    bases.height = 100;
    bases.lengths = kLengths;

    const BoxPixels centred = BoxPixelsOf(Styled("margin-left: auto; margin-right: auto; width: 50%"), bases);
    EXPECT_EQ(centred.margin[SideLeft], kAutoValue);
    EXPECT_EQ(centred.margin[SideRight], kAutoValue);
    EXPECT_EQ(centred.width, 100);
    EXPECT_EQ(centred.autoCount, 2);
    EXPECT_EQ(BoxPixelsOf(Properties(), bases).autoCount, 1);  // the width alone

    // A percentage height leaves room for the vertical paddings and borders.
    const BoxPixels tall =
        BoxPixelsOf(Styled("height: 50%; padding: 5px; border: 2px solid red"), bases);
    EXPECT_EQ(tall.height, 50 - 10 - 4);
    EXPECT_EQ(BoxPixelsOf(Styled("height: 30px; padding: 5px"), bases).height, 30);
    EXPECT_EQ(BoxPixelsOf(Styled("top: 10%; left: 10%"), bases).top, 10);
    EXPECT_EQ(BoxPixelsOf(Styled("top: 10%; left: 10%"), bases).left, 20);

    // The paragraph margin of the default sheet: 14 pixels that collapse.
    Properties paragraph;
    paragraph.SetValue(MarginTop, kCollapsibleMargin);
    paragraph.SetValue(MarginBottom, 7);
    const BoxPixels p = BoxPixelsOf(paragraph, bases);
    EXPECT_EQ(p.margin[SideTop], 14);
    EXPECT_TRUE(p.collapsibleTop);
    EXPECT_EQ(p.margin[SideBottom], 7);
    EXPECT_FALSE(p.collapsibleBottom);

    bases.tableCell = true;
    const BoxPixels cell = BoxPixelsOf(Styled("padding-left: 10%; padding-right: 4px"), bases);
    EXPECT_EQ(cell.padding, (std::array<int, 4>{-1, 4, -1, -10}));
}

TEST(BoxValues, ColoursAndStylesOfTheSides)
{
    const BoxPixels box = BoxPixelsOf(
        Styled("border: 1px dotted #ff0000; border-right-style: double; background-color: #00f"),
        BoxBases{});
    EXPECT_EQ(box.sideStyle, (std::array<int, 4>{7, 8, 7, 7}));
    EXPECT_EQ(box.sideColor[SideTop], 0x020000FFu);
    EXPECT_EQ(box.background, 0x02FF0000u);
    EXPECT_EQ(BoxPixelsOf(Properties(), BoxBases{}).background, 0x1FFFFFFFu);
    EXPECT_EQ(BoxPixelsOf(Properties(), BoxBases{}).sideColor[SideLeft], 0x1FFFFFFFu);
}

TEST(BoxValues, BackgroundPlacement)
{
    using K = BackgroundOffset::Kind;
    struct Case
    {
        const char* css;
        BackgroundOffset x, y;
        bool repeatX, repeatY, fixed;
    };
    const Case cases[] = {
        {"", {K::Pixels, 0}, {K::Pixels, 0}, true, true, false},
        {"background-position: center", {K::Centered, 0}, {K::Centered, 0}, true, true, false},
        {"background-position: 10px 25%", {K::Pixels, 10}, {K::Percent, 25}, true, true, false},
        {"background-position: 2em", {K::Pixels, 32}, {K::Centered, 0}, true, true, false},
        {"background-position: right bottom", {K::Percent, 100}, {K::Percent, 100}, true, true,
         false},
        // A leading vertical word hands the next word to the horizontal axis.
        {"background-position: top right", {K::Percent, 100}, {K::Percent, 0}, true, true, false},
        {"background-position: bottom", {K::Centered, 0}, {K::Percent, 100}, true, true, false},
        {"background-repeat: no-repeat", {}, {}, false, false, false},
        {"background-repeat: repeat-x; background-attachment: fixed", {}, {}, true, false, true},
        {"background-repeat: repeat-y", {}, {}, false, true, false},
    };
    for (const Case& c : cases) {
        const BackgroundPlacement placement = BackgroundPlacementOf(Styled(c.css), kLengths);
        EXPECT_EQ(placement.x, c.x) << c.css;
        EXPECT_EQ(placement.y, c.y) << c.css;
        EXPECT_EQ(placement.repeatX, c.repeatX) << c.css;
        EXPECT_EQ(placement.repeatY, c.repeatY) << c.css;
        EXPECT_EQ(placement.fixed, c.fixed) << c.css;
    }
}

TEST(BoxValues, LineHeightAndTextIndent)
{
    struct Case
    {
        const char* css;
        int lineHeight;  // for a 20-pixel font, em 16
    };
    const Case heights[] = {{"", -1},
                            {"line-height: normal", -1},
                            {"line-height: 1.5", 30},
                            {"line-height: 18px", 18},
                            {"line-height: 150%", 24},
                            {"line-height: 2em", 32}};
    for (const Case& c : heights)
        EXPECT_EQ(LineHeightOf(Styled(c.css), 20, kLengths), c.lineHeight) << c.css;

    const FirstLineIndent percent = TextIndentOf(Styled("text-indent: 12%"), kLengths);
    EXPECT_TRUE(percent.percent);
    EXPECT_EQ(percent.value, 12);
    // An ex counts as a whole em here.
    const FirstLineIndent ex = TextIndentOf(Styled("text-indent: 2ex"), kLengths);
    EXPECT_FALSE(ex.percent);
    EXPECT_EQ(ex.value, 32);
    EXPECT_EQ(TextIndentOf(Properties(), kLengths).value, 0);
}

}  // namespace
