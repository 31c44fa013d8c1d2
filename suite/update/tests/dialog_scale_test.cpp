#include "suite/update/dialog_scale.h"

#include <gtest/gtest.h>

namespace update {
namespace {

TEST(DialogScale, DesignSizeMovesNothing)
{
    const ScaleFactors factors = ComputeScale(594, 397, kContactDesignWidth, kContactDesignHeight);
    EXPECT_TRUE(factors.IsIdentity());
    const PixelRect rect{10, 20, 110, 70};
    EXPECT_EQ(ScaleControlRect(rect, factors), rect);
}

TEST(DialogScale, LargerTextGrowsPicturesByTheRatioPlusAPixelOrTwo)
{
    struct Case
    {
        ScaleFactors factors;
        PixelRect rect;
        PixelRect expected;
    };
    const Case cases[] = {
        {{1.25f, 1.25f}, {0, 0, 100, 40}, {0, 0, 127, 51}},
        {{1.5f, 1.0f}, {492, 57, 540, 105}, {492, 57, 566, 106}},
        {{1.0f, 2.0f}, {5, 5, 5, 5}, {5, 5, 7, 6}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleControlRect(c.rect, c.factors), c.expected);
    const ScaleFactors measured = ComputeScale(742, 496, 594, 397);
    EXPECT_NEAR(measured.x, 1.249f, 0.001f);
    EXPECT_NEAR(measured.y, 1.249f, 0.001f);
}

TEST(DialogScale, PictureSizeRoundsInsteadOfTruncating)
{
    struct Case
    {
        int himetric;
        int dpi;
        int pixels;
    };
    const Case cases[] = {{529, 96, 20}, {2540, 96, 96}, {0, 96, 0},    {26, 96, 1},
                          {25, 96, 1},   {13, 96, 0},    {529, 120, 25}};
    for (const Case& c : cases)
        EXPECT_EQ(HimetricToPixels(c.himetric, c.dpi), c.pixels) << c.himetric << "@" << c.dpi;
}

}  // namespace
}  // namespace update
