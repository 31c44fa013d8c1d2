// The box of an element in pixels (margins, paddings, borders, size and offsets), its background
// placement, and the line height and first-line indent its style asks for.
#pragma once

#include <array>
#include <cstdint>

#include "setup/htmlview/style/properties.h"
#include "setup/htmlview/style/units.h"

namespace htmlview {

// The sides in the order of the style's properties.
enum Side
{
    SideTop,
    SideRight,
    SideBottom,
    SideLeft
};

struct BoxBases
{
    int width = 0;   // what horizontal percentages (and margins and paddings) are of
    int height = 0;  // what a percentage height is of
    LengthBases lengths;
    // Table cells: a padding percentage p is kept as -p, and an unset padding is -1, so the
    // table can resolve them against the cell's final width.
    bool tableCell = false;
};

struct BoxPixels
{
    std::uint32_t background = 0x1FFFFFFF;  // no colour
    std::uint32_t borderColor = 0x1FFFFFFF;
    std::array<int, 4> margin{};
    std::array<int, 4> padding{};
    std::array<int, 4> borderWidth{};
    std::array<std::uint32_t, 4> sideColor{0x1FFFFFFF, 0x1FFFFFFF, 0x1FFFFFFF, 0x1FFFFFFF};
    std::array<int, 4> sideStyle{};  // border style codes
    int width = kAutoValue;          // kAutoValue where the style leaves it to the layout
    int height = kAutoValue;
    int top = kAutoValue;
    int left = kAutoValue;
    bool collapsibleTop = false, collapsibleBottom = false;
    int autoCount = 0;  // how many of margin-left, margin-right and width are "auto"
};

BoxPixels BoxPixelsOf(const Properties& p, const BoxBases& bases);

// One axis of a background image's position.
struct BackgroundOffset
{
    enum class Kind
    {
        Pixels,
        Percent,
        Centered
    };
    Kind kind = Kind::Pixels;
    int value = 0;
    bool operator==(const BackgroundOffset&) const = default;
};

struct BackgroundPlacement
{
    BackgroundOffset x, y;
    bool repeatX = true, repeatY = true;
    bool fixed = false;
};

BackgroundPlacement BackgroundPlacementOf(const Properties& p, const LengthBases& bases);

// The line height in pixels for a font `fontHeight` pixels high; -1 for the font's own.
int LineHeightOf(const Properties& p, int fontHeight, const LengthBases& bases);

struct FirstLineIndent
{
    int value = 0;  // pixels, or a percentage of the line's width
    bool percent = false;
};
FirstLineIndent TextIndentOf(const Properties& p, const LengthBases& bases);

}  // namespace htmlview
