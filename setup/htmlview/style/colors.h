// Colours of style values: names, "#" hex forms and rgb(), as Windows colour values.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "setup/htmlview/util/platform.h"

namespace htmlview {

// An RGB colour: red in the low byte, with this flag.
constexpr std::uint32_t kRgbFlag = 0x02000000;
// "transparent": no colour.
constexpr std::uint32_t kNoColor = 0x1FFFFFFF;

std::uint32_t MakeRgb(int red, int green, int blue);

// A colour name (lower case): CSS keywords, "transparent" and the system colours, which are
// 0xFF000000 plus the system colour index.
std::optional<std::uint32_t> ColorOfName(std::string_view lowerName);

// A colour written in a style value or attribute. Without "#" a hex form is read only when no
// hash is required.
std::optional<std::uint32_t> ParseColor(std::string_view text, bool hashRequired);

// A system colour turned into its current RGB value; others unchanged.
std::uint32_t ResolveColor(std::uint32_t color, const IFontCatalog& system);

}  // namespace htmlview
