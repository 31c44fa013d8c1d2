#include "setup/htmlview/util/win_math.h"

#include <climits>
#include <cmath>

namespace htmlview {

int MulDivWin(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t multiplicand = a;
    std::int64_t divisor = c;
    if (divisor < 0) {
        multiplicand = -multiplicand;
        divisor = -divisor;
    }
    const std::int64_t product = multiplicand * b;
    // The sign test is made on the operands, not on the product, as the system does: a zero
    // operand counts as positive.
    const bool positive = (multiplicand < 0 && b < 0) || (multiplicand >= 0 && b >= 0);
    const std::int64_t result =
        positive ? (product + divisor / 2) / divisor : (product - divisor / 2) / divisor;
    if (result > INT_MAX || result < -INT_MAX)
        return -1;
    return static_cast<int>(result);
}

int RoundClamped(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::round(value);
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

int ClampToInt(std::int64_t value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace htmlview
