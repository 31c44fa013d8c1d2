#include "setup/htmlview/style/keywords.h"

#include <array>

#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

std::string_view TextOr(const Properties& p, Prop index, std::string_view fallback = {})
{
    const std::string* text = p.Text(index);
    return text ? std::string_view(*text) : fallback;
}

}  // namespace

Align AlignOfKeyword(std::string_view keyword)
{
    static constexpr std::pair<std::string_view, Align> kKeywords[] = {
        {"top", Align::Top},       {"middle", Align::Middle},     {"absmiddle", Align::Middle},
        {"center", Align::Middle}, {"left", Align::Left},         {"right", Align::Right},
        {"bottom", Align::Bottom}, {"baseline", Align::Baseline}, {"justify", Align::Justify}};
    for (const auto& [name, align] : kKeywords)
        if (EqualsNoCase(keyword, name))
            return align;
    return Align::None;
}

std::optional<Align> VerticalAlignOf(const Properties& p)
{
    static constexpr std::pair<std::string_view, Align> kKeywords[] = {
        {"top", Align::Top},           {"text-top", Align::Top},  {"middle", Align::Middle},
        {"baseline", Align::Baseline}, {"bottom", Align::Bottom}, {"sub", Align::Sub},
        {"super", Align::Super}};
    const std::string_view value = TextOr(p, VerticalAlign);
    for (const auto& [name, align] : kKeywords)
        if (value == name)
            return align;
    return std::nullopt;
}

std::optional<Align> FloatOf(const Properties& p)
{
    const std::string_view value = TextOr(p, Float);
    if (value == "left")
        return Align::Left;
    if (value == "right")
        return Align::Right;
    if (value == "none")
        return Align::None;
    return std::nullopt;
}

std::optional<ClearSide> ClearOf(const Properties& p)
{
    const std::string_view value = TextOr(p, Clear);
    if (value == "left")
        return ClearSide::Left;
    if (value == "right")
        return ClearSide::Right;
    if (value == "both")
        return ClearSide::Both;
    if (value == "none")
        return ClearSide::None;
    return std::nullopt;
}

int ListStyleTypeOf(const Properties& p)
{
    static constexpr std::array<std::string_view, 10> kTypes = {
        "blank",       "circle", "decimal", "disc",        "lower-alpha",
        "lower-roman", "none",   "square",  "upper-alpha", "upper-roman"};
    const std::string_view value = TextOr(p, ListStyleType);
    for (std::size_t i = 0; i < kTypes.size(); ++i)
        if (value == kTypes[i])
            return static_cast<int>(i);
    return 0;
}

std::string UrlReferenceOf(std::string_view value)
{
    const std::size_t open = value.find("url(");
    if (open == std::string_view::npos)
        return {};
    std::string_view reference = value.substr(open + 4);
    reference = Trim(reference.substr(0, reference.find(')')));
    if (reference.size() >= 2 && (reference.front() == '"' || reference.front() == '\'') &&
        reference.back() == reference.front())
        reference = reference.substr(1, reference.size() - 2);
    return std::string(reference);
}

Positioning PositionOf(const Properties& p)
{
    const std::string_view value = TextOr(p, Position);
    if (value == "absolute")
        return Positioning::Absolute;
    if (value == "relative")
        return Positioning::Relative;
    return Positioning::Static;
}

bool IsHidden(const Properties& p)
{
    return p.Integer(Visibility) == 1;
}

bool IsDisplayNone(const Properties& p)
{
    return TextOr(p, Display) == "none";
}

int BorderStyleCode(std::string_view keyword)
{
    static constexpr std::array<std::string_view, 9> kStyles = {
        "none", "solid", "inset", "outset", "groove", "ridge", "dashed", "dotted", "double"};
    for (std::size_t i = 0; i < kStyles.size(); ++i)
        if (keyword == kStyles[i])
            return static_cast<int>(i);
    return 0;
}

PageBreaks PageBreaksOf(const Properties& p)
{
    PageBreaks breaks;
    breaks.before = TextOr(p, PageBreakBefore) == "always";
    breaks.after = TextOr(p, PageBreakAfter) == "always";
    breaks.avoidInside = TextOr(p, PageBreakInside) == "avoid";
    return breaks;
}

int ZIndexOf(const Properties& p)
{
    if (const auto stored = p.Integer(ZIndex))
        return *stored;
    return ParseInteger(Trim(TextOr(p, ZIndex))).value_or(0);
}

int TextTransformOf(const Properties& p)
{
    return p.Integer(TextTransform).value_or(0);
}

std::string FontVariantOf(const Properties& p)
{
    return std::string(TextOr(p, FontVariant, "normal"));
}

std::uint32_t BackgroundColorOf(const Properties& p)
{
    const auto color = p.Integer(BackgroundColor);
    return color && p.IsExplicit(BackgroundColor) ? static_cast<std::uint32_t>(*color) : kNoColor;
}

std::string BackgroundImageOf(const Properties& p)
{
    return UrlReferenceOf(TextOr(p, BackgroundImage));
}

int BorderStyleOf(const Properties& p)
{
    return BorderStyleCode(TextOr(p, BorderStyle));
}

}  // namespace htmlview
