#include "setup/htmlview/builder/presentational.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/keywords.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

std::optional<std::string> BlockAlignOf(const AttributeList& attributes)
{
    const Attribute* align = attributes.Find(Sym::Align);
    if (!align)
        return std::nullopt;
    const std::string value = LowerAscii(Trim(align->value));
    if (value == "left" || value == "center" || value == "right" || value == "justify")
        return value;
    if (value == "middle")
        return std::string("center");
    return std::nullopt;
}

void ApplyBlockAlign(Properties& properties, const AttributeList& attributes)
{
    if (auto align = BlockAlignOf(attributes))
        properties.AssignPresentational(TextAlign, *align);
}

int FontSizeNumber(const std::string& value, int baseSize)
{
    const std::string text(Trim(value));
    const bool relative = text.size() > 1 && (text[0] == '+' || text[0] == '-');
    const char* first = text.data() + (relative && text[0] == '+' ? 1 : 0);
    long number = 0;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), number);
    if (error != std::errc() && error != std::errc::result_out_of_range)
        number = relative ? 0 : baseSize;
    if (error == std::errc::result_out_of_range)
        number = text[0] == '-' ? -100 : 100;
    number = std::clamp<long>(number, -100, 100);
    if (relative)
        number += baseSize;
    return static_cast<int>(std::clamp<long>(number, 1, 7));
}

double FontSizePoints(int size, double defaultPoints, bool preformatted)
{
    static constexpr std::array<int, 7> kNormal{8, 10, 12, 14, 18, 24, 36};
    static constexpr std::array<int, 7> kPreformatted{7, 8, 10, 12, 15, 20, 30};
    const int index = std::clamp(size, 1, 7) - 1;
    return defaultPoints * (preformatted ? kPreformatted[index] : kNormal[index]) / 12;
}

void ApplyFontAttributes(Properties& properties, const AttributeList& attributes,
                         FontTagState& state, bool baseFont)
{
    if (const Attribute* size = attributes.Find(Sym::Size)) {
        const int number = FontSizeNumber(size->value, state.baseSize);
        if (baseFont)
            state.baseSize = number;
        properties.AssignPresentational(
            FontSize, FontSizePoints(number, state.defaultPoints, state.preformatted));
    }
    if (const Attribute* color = attributes.Find(Sym::Color))
        if (const auto value = ParseColor(color->value, false))
            properties.AssignPresentational(ColorProp, static_cast<int>(*value));
    if (const Attribute* face = attributes.Find(Sym::Face);
        face && !baseFont && !face->value.empty())
        properties.AssignPresentational(FontFamily, face->value);
}

void ApplyBodyAttributes(Properties& properties, const AttributeList& attributes)
{
    auto color = [&](Sym symbol, Prop prop) {
        if (const Attribute* a = attributes.Find(symbol))
            if (const auto value = ParseColor(a->value, false))
                properties.AssignPresentational(prop, static_cast<int>(*value));
    };
    color(Sym::Text, ColorProp);
    color(Sym::Bgcolor, BackgroundColor);
    if (const Attribute* image = attributes.Find(Sym::Background); image && !image->value.empty())
        properties.AssignPresentational(BackgroundImage, "url(" + image->value + ")");
    if (const Attribute* fixed = attributes.Find(Sym::Bgproperties);
        fixed && LowerAscii(Trim(fixed->value)) == "fixed")
        properties.AssignPresentational(BackgroundAttachment, std::string("fixed"));
    auto margins = [&](Sym first, Sym second, Prop a, Prop b) {
        const Attribute* given = attributes.Find(first);
        if (!given)
            given = attributes.Find(second);
        if (!given)
            return;
        const std::string pixels = std::to_string(std::clamp(given->number, 0, 200)) + "px";
        properties.AssignPresentational(a, pixels);
        properties.AssignPresentational(b, pixels);
    };
    margins(Sym::Marginwidth, Sym::Leftmargin, MarginLeft, MarginRight);
    margins(Sym::Marginheight, Sym::Topmargin, MarginTop, MarginBottom);
}

CellAlign VerticalAlignOf(const AttributeList& attributes, CellAlign fallback)
{
    const Attribute* valign = attributes.Find(Sym::Valign);
    if (!valign)
        return fallback;
    const std::string value = LowerAscii(Trim(valign->value));
    if (value == "top" || value == "baseline")
        return CellAlign::Top;
    if (value == "middle")
        return CellAlign::Middle;
    if (value == "bottom")
        return CellAlign::Bottom;
    return fallback;
}

bool ApplyCellAttributes(Properties& properties, const AttributeList& attributes, int padding,
                         bool bordered)
{
    if (const Attribute* color = attributes.Find(Sym::Bgcolor))
        if (const auto value = ParseColor(color->value, false))
            properties.AssignPresentational(BackgroundColor, static_cast<int>(*value));
    // The table draws a one-pixel sunken frame inside a cell without a border of its own.
    const bool framed = bordered && BorderStyleOf(properties) == 0;
    const std::string pixels = std::to_string(padding + (framed ? 1 : 0)) + "px";
    for (Prop side : {PaddingTop, PaddingRight, PaddingBottom, PaddingLeft})
        properties.AssignPresentational(side, pixels);
    return framed;
}

ColumnFormat ColumnFormatOf(const AttributeList& attributes, const ColumnFormat& defaults,
                            int& span)
{
    ColumnFormat format = defaults;
    if (const Attribute* align = attributes.Find(Sym::Align)) {
        const std::string value = LowerAscii(Trim(align->value));
        if (value == "middle" || value == "absmiddle" || value == "center")
            format.align = "center";
        else if (value == "left" || value == "right" || value == "justify")
            format.align = value;
    }
    if (attributes.Find(Sym::Valign)) {
        const std::string value = LowerAscii(Trim(attributes.Find(Sym::Valign)->value));
        if (value == "absmiddle" || value == "center")
            format.vAlign = CellAlign::Middle;
        else if (value == "top" || value == "baseline" || value == "middle" || value == "bottom")
            format.vAlign = VerticalAlignOf(attributes, CellAlign::Middle);
    }
    if (const Attribute* width = attributes.Find(Sym::Width)) {
        const bool percent = width->value.find('%') != std::string::npos;
        if (!percent && width->number > 0) {
            format.width = std::min(width->number, 100000);
            format.isPercent = false;
        } else if (percent && width->number >= 1 && width->number <= 100) {
            format.width = width->number * 10;
            format.isPercent = true;
        }
    }
    const Attribute* count = attributes.Find(Sym::Span);
    span = count ? std::max(1, count->number) : 1;
    return format;
}

}  // namespace htmlview
