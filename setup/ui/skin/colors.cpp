#include "setup/ui/skin/colors.h"

#include <algorithm>
#include <cmath>

namespace setup::ui::skin {
namespace {

int Round(double value)
{
    return static_cast<int>(std::lround(value));
}

double HueToChannel(double m1, double m2, double hue)
{
    if (hue < 0)
        hue += 1;
    if (hue > 1)
        hue -= 1;
    if (hue * 6 < 1)
        return m1 + (m2 - m1) * hue * 6;
    if (hue * 2 < 1)
        return m2;
    if (hue * 3 < 2)
        return m1 + (m2 - m1) * (2.0 / 3 - hue) * 6;
    return m1;
}

int ToByte(double channel)
{
    return Round(std::clamp(channel, 0.0, 1.0) * 255);
}

}  // namespace

Hsl ColorToHsl(Rgb32 color)
{
    const double r = RedOf(color) / 255.0;
    const double g = GreenOf(color) / 255.0;
    const double b = BlueOf(color) / 255.0;
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    const double l = (high + low) / 2;
    if (high == low)
        return {0, 0, Round(l * 240)};
    const double d = high - low;
    const double s = l < 0.5 ? d / (high + low) : d / (2 - high - low);
    double h = 0;
    if (r == high)
        h = (g - b) / d;
    else if (g == high)
        h = (b - r) / d + 2;
    else
        h = (r - g) / d + 4;
    h /= 6;
    if (h < 0)
        h += 1;
    return {Round(h * 240), Round(s * 240), Round(l * 240)};
}

Rgb32 HslToColor(Hsl hsl)
{
    const double l = hsl.lightness / 240.0;
    if (hsl.lightness <= 0)
        return 0;
    const double s = hsl.saturation / 240.0;
    if (s == 0) {
        const int grey = ToByte(l);
        return MakeRgb(grey, grey, grey);
    }
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    const double h = hsl.hue / 239.0;
    return MakeRgb(ToByte(HueToChannel(m1, m2, h + 1.0 / 3)), ToByte(HueToChannel(m1, m2, h)),
                   ToByte(HueToChannel(m1, m2, h - 1.0 / 3)));
}

Rgb32 DarkerColor(Rgb32 color, int steps)
{
    Hsl hsl = ColorToHsl(color);
    hsl.lightness = std::max(0, hsl.lightness - steps);
    return HslToColor(hsl);
}

Rgb32 LighterColor(Rgb32 color, int steps)
{
    Hsl hsl = ColorToHsl(color);
    hsl.lightness = std::min(255, hsl.lightness + steps);
    return HslToColor(hsl);
}

Rgb32 BlendColors(Rgb32 first, Rgb32 second, int weight)
{
    const double w = weight / 255.0;
    auto mix = [w](int a, int b) { return Round(w * a + (1 - w) * b); };
    return MakeRgb(mix(RedOf(first), RedOf(second)), mix(GreenOf(first), GreenOf(second)),
                   mix(BlueOf(first), BlueOf(second)));
}

Rgb32 ComplementColor(Rgb32 color, int lightness)
{
    Hsl hsl = ColorToHsl(color);
    hsl.hue = hsl.hue < 120 ? hsl.hue + 120 : hsl.hue - 120;
    hsl.saturation = 240;
    hsl.lightness = lightness;
    return HslToColor(hsl);
}

}  // namespace setup::ui::skin
