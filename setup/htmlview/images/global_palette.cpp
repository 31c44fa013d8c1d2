#include "setup/htmlview/images/global_palette.h"

#include <algorithm>

namespace htmlview {

std::vector<Rgb> BuildGlobalPalette(const std::vector<Rgb>& systemPalette,
                                    const std::vector<Rgb>& defaultPalette)
{
    std::vector<Rgb> palette(systemPalette);
    palette.resize(256);
    const bool empty =
        std::all_of(palette.begin(), palette.end(), [](const Rgb& c) { return c == Rgb{}; });
    if (empty) {
        for (std::size_t i = 0; i < 10 && i < defaultPalette.size(); ++i)
            palette[i] = defaultPalette[i];
        for (std::size_t i = 10; i < 20 && i < defaultPalette.size(); ++i)
            palette[236 + i] = defaultPalette[i];
    }
    static constexpr std::uint8_t kLevels[] = {55, 115, 165, 205, 235, 255};
    std::size_t at = 10;
    for (std::uint8_t blue : kLevels)
        for (std::uint8_t green : kLevels)
            for (std::uint8_t red : kLevels)
                if (red != 255 || green != 255 || blue != 255)
                    palette[at++] = {red, green, blue};
    for (int i = 1; i <= 24; ++i)
        if (i != 7 && i != 15 && i != 21) {
            const auto grey = static_cast<std::uint8_t>(130 + 5 * i);
            palette[at++] = {grey, grey, grey};
        }
    palette[245] = {255, 255, 254};
    return palette;
}

}  // namespace htmlview
