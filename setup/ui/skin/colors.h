// Colour arithmetic of the skinned controls: hue, saturation and lightness on the 0..240 scale,
// and the lighter, darker, blended and complementary colours derived from them. Colours are plain
// RGB values (red in the low byte); system colours are resolved before they get here.
#pragma once

#include <cstdint>

namespace setup::ui::skin {

using Rgb32 = std::uint32_t;

constexpr Rgb32 MakeRgb(int red, int green, int blue)
{
    return static_cast<Rgb32>(red) | (static_cast<Rgb32>(green) << 8) |
           (static_cast<Rgb32>(blue) << 16);
}
constexpr int RedOf(Rgb32 c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Rgb32 c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Rgb32 c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Hsl
{
    int hue = 0;
    int saturation = 0;
    int lightness = 0;
    bool operator==(const Hsl&) const = default;
};

Hsl ColorToHsl(Rgb32 color);
Rgb32 HslToColor(Hsl hsl);

Rgb32 DarkerColor(Rgb32 color, int steps);
// Lightness may go past 240 up to 255; the channels then clamp to white.
Rgb32 LighterColor(Rgb32 color, int steps);
// weight / 255 of the first colour, the rest of the second.
Rgb32 BlendColors(Rgb32 first, Rgb32 second, int weight);
// The hue a third of the circle away, fully saturated, at the given lightness.
Rgb32 ComplementColor(Rgb32 color, int lightness);

}  // namespace setup::ui::skin
