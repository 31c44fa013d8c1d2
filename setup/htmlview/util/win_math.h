// Integer arithmetic with the semantics the layout inherits from Windows: MulDiv's rounding and
// failure value, and conversions from floating point that never leave the int range.
#pragma once

#include <cstdint>

namespace htmlview {

// a * b / c computed in 64 bits and rounded half away from zero, like the system's MulDiv:
// -1 when c is 0 or the result does not fit in an int.
int MulDivWin(int a, int b, int c);

// Rounds half away from zero; NaN gives 0 and values beyond the int range give its ends.
int RoundClamped(double value);

// Cuts a 64-bit value to the int range.
int ClampToInt(std::int64_t value);

}  // namespace htmlview
