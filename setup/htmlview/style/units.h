// Lengths and font sizes of style values: a number with a unit turned into pixels or points.
#pragma once

#include <string_view>

namespace htmlview {

// Font sizes are kept between these many points, whatever a document asks for.
constexpr double kMaxFontPoints = 2000;

struct NumberAndUnit
{
    double number = 0;
    bool hasNumber = false;
    std::string_view unit;  // trimmed
};

// The longest leading part that reads as a decimal number, cut before the first "e" so that
// "em" and "ex" stay units, and the rest as the unit.
NumberAndUnit SplitNumberAndUnit(std::string_view text);

struct LengthBases
{
    int pixelsPerInch = 96;
    int emSize = 16;
    int exSize = 8;
};

// A length in pixels: percentages of `base`, a bare number relative to `base` when `relative`,
// and `defaultValue` for a unit that is not a length (such as "auto").
int LengthToPixels(std::string_view text, bool relative, int base, int defaultValue,
                   const LengthBases& bases);

// A font size in points, relative to the current size; keywords relative to the sheet's default.
double FontSizeToPoints(std::string_view text, double currentPoints, double defaultPoints,
                        int pixelsPerInch);

}  // namespace htmlview
