#include "setup/htmlview/util/win_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "setup/htmlview/tests/mul_div_cases.h"

namespace {

using htmlview::MulDivWin;
using htmlview::RoundClamped;

TEST(MulDivWin, RoundsHalfAwayFromZeroAndFailsWithMinusOne)
{
    for (const auto& c : htmlview::testing::kMulDivCases)
        EXPECT_EQ(MulDivWin(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(RoundClamped, StaysInsideTheIntRange)
{
    struct Case
    {
        double value;
        int expected;
    };
    const Case cases[] = {
        {2.5, 3},          {-2.5, -3},        {2.4999, 2},
        {1e300, INT_MAX},  {-1e300, INT_MIN}, {std::numeric_limits<double>::infinity(), INT_MAX},
        {std::nan(""), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundClamped(c.value), c.expected) << c.value;
}

}  // namespace
