// Keyword values of an element's style as the layout's enumerations. Getters give nothing where
// the stored value is no keyword they know, so the caller keeps its own default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "setup/htmlview/style/properties.h"

namespace htmlview {

enum class Align
{
    None,
    Top,
    Middle,
    Baseline,
    Bottom,
    Left,
    Right,
    Justify,
    Sub,
    Super
};

// An ALIGN-like keyword (case-insensitive); Align::None for others.
Align AlignOfKeyword(std::string_view keyword);

std::optional<Align> VerticalAlignOf(const Properties& p);
std::optional<Align> FloatOf(const Properties& p);  // Left, Right or None

enum class ClearSide
{
    None = 0,
    Left = 1,
    Right = 2,
    Both = 3
};
std::optional<ClearSide> ClearOf(const Properties& p);

// The index in: blank, circle, decimal, disc, lower-alpha, lower-roman, none, square,
// upper-alpha, upper-roman; 0 when unknown.
int ListStyleTypeOf(const Properties& p);
// The reference of "url(...)" without quotes; empty for "none" or no image.
std::string UrlReferenceOf(std::string_view value);

enum class Positioning
{
    Static = 0,
    Absolute = 1,
    Relative = 2
};
Positioning PositionOf(const Properties& p);
bool IsHidden(const Properties& p);
bool IsDisplayNone(const Properties& p);

// The border style code of a keyword: none 0, solid, inset, outset, groove, ridge, dashed,
// dotted, double 8; 0 for others.
int BorderStyleCode(std::string_view keyword);

struct PageBreaks
{
    bool before = false, after = false, avoidInside = false;
};
PageBreaks PageBreaksOf(const Properties& p);

// The stacking order: a number as stored or written, 0 otherwise.
int ZIndexOf(const Properties& p);
// 0 none, 1 uppercase, 2 lowercase.
int TextTransformOf(const Properties& p);
// The keyword as stored, "normal" when none is.
std::string FontVariantOf(const Properties& p);
// The colour the element itself was given (never an inherited one); no colour otherwise.
std::uint32_t BackgroundColorOf(const Properties& p);
std::string BackgroundImageOf(const Properties& p);
// The border style code of an inline box: 0 when none or not given.
int BorderStyleOf(const Properties& p);

}  // namespace htmlview
