#include "setup/htmlview/style/keywords.h"

#include <gtest/gtest.h>

#include "setup/htmlview/tests/styled.h"

namespace {

using namespace htmlview;

using test_styles::Styled;

TEST(Keywords, AlignmentFloatAndClear)
{
    struct Case
    {
        const char* keyword;
        Align align;
    };
    const Case cases[] = {{"TOP", Align::Top},           {"absmiddle", Align::Middle},
                          {"center", Align::Middle},     {"Justify", Align::Justify},
                          {"baseline", Align::Baseline}, {"sideways", Align::None}};
    for (const Case& c : cases)
        EXPECT_EQ(AlignOfKeyword(c.keyword), c.align) << c.keyword;

    EXPECT_EQ(VerticalAlignOf(Styled("vertical-align: text-top")), Align::Top);
    EXPECT_EQ(VerticalAlignOf(Styled("vertical-align: super")), Align::Super);
    EXPECT_EQ(VerticalAlignOf(Styled("vertical-align: 3px")), std::nullopt);
    EXPECT_EQ(FloatOf(Styled("float: right")), Align::Right);
    EXPECT_EQ(FloatOf(Styled("float: center")), std::nullopt);
    EXPECT_EQ(ClearOf(Styled("clear: both")), ClearSide::Both);
    EXPECT_EQ(ClearOf(Properties()), std::nullopt);
}

TEST(Keywords, ListsImagesPositionsAndVisibility)
{
    EXPECT_EQ(ListStyleTypeOf(Styled("list-style-type: upper-roman")), 9);
    EXPECT_EQ(ListStyleTypeOf(Styled("list-style-type: hebrew")), 0);
    EXPECT_EQ(UrlReferenceOf("url( 'a b.gif' )"), "a b.gif");
    EXPECT_EQ(UrlReferenceOf("none"), "");
    EXPECT_EQ(PositionOf(Styled("position: relative")), Positioning::Relative);
    EXPECT_EQ(PositionOf(Styled("position: fixed")), Positioning::Static);
    EXPECT_TRUE(IsHidden(Styled("visibility: hidden")));
    EXPECT_FALSE(IsHidden(Styled("visibility: collapse")));
    EXPECT_TRUE(IsDisplayNone(Styled("display: none")));
    EXPECT_EQ(BorderStyleCode("double"), 8);
    EXPECT_EQ(BorderStyleCode("wavy"), 0);
    const PageBreaks breaks =
        PageBreaksOf(Styled("page-break-before: always; page-break-inside: avoid"));
    EXPECT_TRUE(breaks.before);
    EXPECT_FALSE(breaks.after);
    EXPECT_TRUE(breaks.avoidInside);
}

}  // namespace
