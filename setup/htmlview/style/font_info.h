// A font as the style of an element asks for it, and the font family the system has for a CSS
// family list.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "setup/htmlview/util/platform.h"

namespace htmlview {

class Properties;

struct FontInfo
{
    std::string name;
    double size = 0;  // points
    bool bold = false, italic = false, underline = false, strikeOut = false;
    std::uint32_t color = 0;
    std::uint32_t background = 0x1FFFFFFF;
    int charset = 1;
    std::string letterSpacing;

    bool operator==(const FontInfo&) const = default;
};

// The font states of a link: normal, visited, hover, visited and hover.
using FontInfoArray = std::array<FontInfo, 4>;

// A font made for an element, with what measuring it told.
struct ElementFont
{
    FontRequest request;
    std::uint32_t color = 0;
    std::uint32_t background = 0x1FFFFFFF;
    FontMetrics metrics;
    int letterSpacing = 0;  // pixels added after every character
};

// The first family of a comma-separated list that is installed (generic names mapped to
// Windows fonts, quotes removed); empty when none is.
std::string InstalledFamily(std::string_view families, const IFontCatalog& fonts);

FontInfo FontInfoOf(const Properties& properties, double defaultPoints, const IFontCatalog& fonts);

// The element's font, measured once and kept with its properties; sets the element's em and ex
// sizes from the measured height.
ElementFont FontOf(Properties& properties, double defaultPoints, const IFontCatalog& fonts,
                   ITextMeasurer& measurer);

}  // namespace htmlview
