// MulDiv cases with the answers Windows gives: the portable copy and the system call are both
// checked against them.
#pragma once

#include <climits>

namespace htmlview::testing {

struct MulDivCase
{
    int a, b, c, expected;
};

inline constexpr MulDivCase kMulDivCases[] = {
    {10, 10, 3, 33},
    {10, 10, 6, 17},
    {5, 1, 2, 3},
    {-5, 1, 2, -3},
    {5, -1, 2, -3},
    {-5, -1, 2, 3},
    {5, 1, -2, -3},
    {0, -1, 2, 0},
    {7, 3, 0, -1},
    {INT_MAX, 2, 1, -1},
    {INT_MAX, 2, 2, INT_MAX},
    {INT_MIN, 1, 1, -1},
    {-INT_MAX, 1, 1, -INT_MAX},
    {INT_MIN, -1, 1, -1},
    {INT_MIN, 1, -1, -1},
    {100000, 100000, 7, 1428571429},
    {3, 1, 2, 2},
    {1, 1, 3, 0},
};

}  // namespace htmlview::testing
