#include "setup/htmlview/style/box_values.h"

#include <string>

#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/keywords.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

constexpr int kCollapsedMarginPixels = 14;
constexpr int kDefaultBorderWidth = 4;

bool IsPercentage(std::string_view text)
{
    return SplitNumberAndUnit(text).unit == "%";
}

// A box value in pixels: integers as stored (with `notSet` for the marker), texts as lengths of
// `base`, anything else `notSet`.
int BoxLength(const PropertyValue& value, int base, int notSet, int fallback,
              const LengthBases& lengths)
{
    if (const int* stored = std::get_if<int>(&value))
        return *stored == kNotSet ? notSet : *stored;
    if (const std::string* text = std::get_if<std::string>(&value))
        return LengthToPixels(*text, false, base, fallback, lengths);
    return notSet;
}

std::uint32_t ColorOrNone(const Properties& p, Prop index)
{
    const auto color = p.Integer(index);
    return color && *color != kNotSet ? static_cast<std::uint32_t>(*color) : kNoColor;
}

int SideStyle(const Properties& p, Prop index)
{
    const std::string* text = p.Text(index);
    return text ? BorderStyleCode(LowerAscii(Trim(*text))) : 0;
}

int BorderWidth(const PropertyValue& value, int style, int base, const LengthBases& lengths)
{
    if (style == 0)
        return 0;
    if (const std::string* text = std::get_if<std::string>(&value)) {
        const std::string keyword = LowerAscii(Trim(*text));
        if (keyword == "thin")
            return 2;
        if (keyword == "medium")
            return 4;
        if (keyword == "thick")
            return 6;
    }
    return BoxLength(value, base, kDefaultBorderWidth, kDefaultBorderWidth, lengths);
}

int VerticalMargin(const PropertyValue& value, int base, const LengthBases& lengths,
                   bool& collapsible)
{
    if (const int* stored = std::get_if<int>(&value); stored && *stored == kCollapsibleMargin) {
        collapsible = true;
        return kCollapsedMarginPixels;
    }
    return BoxLength(value, base, 0, 0, lengths);
}

bool IsAuto(const PropertyValue& value)
{
    if (const int* stored = std::get_if<int>(&value))
        return *stored == kAutoValue;
    const std::string* text = std::get_if<std::string>(&value);
    return text && LowerAscii(Trim(*text)) == "auto";
}

BackgroundOffset OffsetOfWord(std::string_view word, const LengthBases& lengths)
{
    if (word == "center")
        return {BackgroundOffset::Kind::Centered, 0};
    if (word == "left" || word == "top")
        return {BackgroundOffset::Kind::Percent, 0};
    if (word == "right" || word == "bottom")
        return {BackgroundOffset::Kind::Percent, 100};
    const NumberAndUnit split = SplitNumberAndUnit(word);
    if (split.unit == "%")
        return {BackgroundOffset::Kind::Percent,
                LengthToPixels(word, false, 100, 0, lengths)};
    return {BackgroundOffset::Kind::Pixels, LengthToPixels(word, false, 0, 0, lengths)};
}

}  // namespace

BoxPixels BoxPixelsOf(const Properties& p, const BoxBases& bases)
{
    const LengthBases& lengths = bases.lengths;
    const int w = bases.width;
    BoxPixels box;
    box.background = ColorOrNone(p, BackgroundColor);
    box.borderColor = ColorOrNone(p, BorderColor);

    box.margin[SideTop] = VerticalMargin(p.Value(MarginTop), w, lengths, box.collapsibleTop);
    box.margin[SideBottom] =
        VerticalMargin(p.Value(MarginBottom), w, lengths, box.collapsibleBottom);
    for (const auto& [side, prop] : {std::pair{SideRight, MarginRight}, {SideLeft, MarginLeft}}) {
        if (IsAuto(p.Value(prop))) {
            box.margin[side] = kAutoValue;
            ++box.autoCount;
        } else {
            box.margin[side] = BoxLength(p.Value(prop), w, 0, 0, lengths);
        }
    }

    for (int side = SideTop; side <= SideLeft; ++side) {
        const PropertyValue& padding = p.Value(static_cast<Prop>(PaddingTop + side));
        box.padding[side] = bases.tableCell ? BoxLength(padding, -100, -1, -1, lengths)
                                            : BoxLength(padding, w, 0, 0, lengths);
        box.sideStyle[side] = SideStyle(p, static_cast<Prop>(BorderTopStyle + side));
        box.sideColor[side] = ColorOrNone(p, static_cast<Prop>(BorderTopColor + side));
        box.borderWidth[side] = BorderWidth(p.Value(static_cast<Prop>(BorderTopWidth + side)),
                                            box.sideStyle[side], w, lengths);
    }

    box.width = BoxLength(p.Value(Width), w, kAutoValue, kAutoValue, lengths);
    if (box.width == kAutoValue)
        ++box.autoCount;
    box.height = BoxLength(p.Value(Height), bases.height, kAutoValue, kAutoValue, lengths);
    if (const std::string* height = p.Text(Height);
        height && IsPercentage(*height) && box.height != kAutoValue)
        box.height -= box.padding[SideTop] + box.padding[SideBottom] +
                      box.borderWidth[SideTop] + box.borderWidth[SideBottom];
    box.top = BoxLength(p.Value(Top), bases.height, kAutoValue, kAutoValue, lengths);
    box.left = BoxLength(p.Value(Left), w, kAutoValue, kAutoValue, lengths);
    return box;
}

BackgroundPlacement BackgroundPlacementOf(const Properties& p, const LengthBases& lengths)
{
    BackgroundPlacement placement;
    if (const std::string* position = p.Text(BackgroundPosition)) {
        const std::string text = LowerAscii(Trim(*position));
        const std::size_t space = text.find(' ');
        const std::string_view first = Trim(std::string_view(text).substr(0, space));
        const std::string_view second =
            space == std::string::npos ? std::string_view() : Trim(std::string_view(text).substr(space));
        const BackgroundOffset centred{BackgroundOffset::Kind::Centered, 0};
        if (first == "top" || first == "bottom") {
            placement.y = OffsetOfWord(first, lengths);
            placement.x = second.empty() ? centred : OffsetOfWord(second, lengths);
        } else if (!first.empty()) {
            placement.x = OffsetOfWord(first, lengths);
            placement.y = second.empty() ? centred : OffsetOfWord(second, lengths);
        }
    }
    if (const std::string* repeat = p.Text(BackgroundRepeat)) {
        const std::string keyword = LowerAscii(Trim(*repeat));
        placement.repeatX = keyword != "no-repeat" && keyword != "repeat-y";
        placement.repeatY = keyword != "no-repeat" && keyword != "repeat-x";
    }
    if (const std::string* attachment = p.Text(BackgroundAttachment))
        placement.fixed = LowerAscii(Trim(*attachment)) == "fixed";
    return placement;
}

int LineHeightOf(const Properties& p, int fontHeight, const LengthBases& lengths)
{
    const std::string* text = p.Text(LineHeight);
    if (!text)
        return -1;
    const NumberAndUnit split = SplitNumberAndUnit(*text);
    if (split.hasNumber && split.unit.empty())
        return LengthToPixels(*text, true, fontHeight, -1, lengths);
    return LengthToPixels(*text, false, lengths.emSize, -1, lengths);
}

FirstLineIndent TextIndentOf(const Properties& p, const LengthBases& lengths)
{
    FirstLineIndent indent;
    const std::string* text = p.Text(TextIndent);
    if (!text)
        return indent;
    if (IsPercentage(*text)) {
        indent.percent = true;
        indent.value = LengthToPixels(*text, false, 100, 0, lengths);
        return indent;
    }
    LengthBases emForEx = lengths;
    emForEx.exSize = lengths.emSize;
    indent.value = LengthToPixels(*text, false, 0, 0, emForEx);
    return indent;
}

}  // namespace htmlview
