#include "setup/htmlview/style/units.h"

#include <algorithm>
#include <cmath>

#include "setup/htmlview/util/text.h"
#include "setup/htmlview/util/win_math.h"

namespace htmlview {

namespace {

// Longer runs of number characters are no number anyone writes; the bound keeps the search for
// the longest number linear.
constexpr std::size_t kMaxNumberLength = 64;

bool IsNumberChar(char c)
{
    return IsAsciiDigit(c) || c == '.' || c == '+' || c == '-';
}

double PointsInRange(double points)
{
    if (std::isnan(points))
        return 0;
    return std::clamp(points, 0.0, kMaxFontPoints);
}

}  // namespace

NumberAndUnit SplitNumberAndUnit(std::string_view text)
{
    text = Trim(text);
    NumberAndUnit result;
    std::size_t candidate = 0;
    while (candidate < text.size() && candidate < kMaxNumberLength && IsNumberChar(text[candidate]))
        ++candidate;
    for (std::size_t length = candidate; length > 0; --length) {
        if (const auto number = ParseDecimal(text.substr(0, length))) {
            result.number = *number;
            result.hasNumber = true;
            result.unit = Trim(text.substr(length));
            return result;
        }
    }
    result.unit = text;
    return result;
}

int LengthToPixels(std::string_view text, bool relative, int base, int defaultValue,
                   const LengthBases& bases)
{
    const NumberAndUnit split = SplitNumberAndUnit(text);
    const double v = split.number;
    const double ppi = bases.pixelsPerInch;
    const std::string unit = LowerAscii(split.unit);
    double pixels;
    if (unit == "in")
        pixels = v * ppi;
    else if (unit == "cm")
        pixels = v * ppi / 2.54;
    else if (unit == "mm")
        pixels = v * ppi / 25.4;
    else if (unit == "pt")
        pixels = v * ppi / 72;
    else if (unit == "px")
        pixels = v;
    else if (unit == "pc")
        pixels = v * ppi / 6;
    else if (unit == "em")
        pixels = v * bases.emSize;
    else if (unit == "ex")
        pixels = v * bases.exSize;
    else if (unit == "%")
        pixels = base * v / 100;
    else if (unit.empty())
        pixels = relative ? base * v : v;
    else
        return defaultValue;
    return RoundClamped(pixels);
}

double FontSizeToPoints(std::string_view text, double currentPoints, double defaultPoints,
                        int pixelsPerInch)
{
    const double c = currentPoints;
    const double d = defaultPoints;
    const std::string lower = LowerAscii(Trim(text));
    struct Keyword
    {
        std::string_view name;
        double points;
    };
    const Keyword keywords[] = {{"smaller", c * 0.75}, {"larger", c * 1.25}, {"xx-small", d / 1.5},
                                {"x-small", d / 1.2},  {"small", d},         {"medium", d * 1.2},
                                {"large", d * 1.5},    {"x-large", d * 2},   {"xx-large", d * 3}};
    for (const Keyword& keyword : keywords)
        if (lower == keyword.name)
            return PointsInRange(keyword.points);

    const NumberAndUnit split = SplitNumberAndUnit(lower);
    if (!split.hasNumber)
        return PointsInRange(d);
    const double v = split.number;
    const double ppi = pixelsPerInch > 0 ? pixelsPerInch : 96;
    const std::string_view unit = split.unit;
    double points;
    if (unit == "in")
        points = v * 72;
    else if (unit == "cm")
        points = v * 72 / 2.54;
    else if (unit == "mm")
        points = v * 72 / 25.4;
    else if (unit == "pt")
        points = v;
    else if (unit == "px" || unit.empty())
        points = v * 72 / ppi;
    else if (unit == "pc")
        points = v * 12;
    else if (unit == "em")
        points = c * v;
    else if (unit == "ex")
        points = c * v / 2;
    else if (unit == "%")
        points = c * v / 100;
    else
        points = d;
    return PointsInRange(points);
}

}  // namespace htmlview
