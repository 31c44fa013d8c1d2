// The system's MulDiv agrees with the portable copy the layout uses.
#include <windows.h>

#include <gtest/gtest.h>

#include "setup/htmlview/tests/mul_div_cases.h"

namespace {

TEST(MulDivWin, SystemMulDivGivesTheSameAnswers)
{
    for (const auto& c : htmlview::testing::kMulDivCases)
        EXPECT_EQ(::MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

}  // namespace
