#include "setup/htmlview/style/font_info.h"

#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/properties.h"
#include "setup/htmlview/style/units.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

std::string_view GenericFamily(std::string_view family)
{
    static constexpr std::pair<std::string_view, std::string_view> kGeneric[] = {
        {"serif", "Times New Roman"},
        {"monospace", "Courier New"},
        {"sans-serif", "Arial"},
        {"cursive", "Lucida Handwriting"}};
    for (const auto& [generic, windowsName] : kGeneric)
        if (EqualsNoCase(family, generic))
            return windowsName;
    return family;
}

std::string TextOf(const Properties& properties, Prop index)
{
    const std::string* text = properties.Text(index);
    return text ? *text : std::string();
}

}  // namespace

std::string InstalledFamily(std::string_view families, const IFontCatalog& fonts)
{
    while (!families.empty()) {
        const std::size_t comma = families.find(',');
        std::string_view family = GenericFamily(Trim(families.substr(0, comma)));
        if (family.size() >= 2 && (family.front() == '"' || family.front() == '\'') &&
            family.back() == family.front())
            family = family.substr(1, family.size() - 2);
        if (!family.empty() && fonts.IsInstalled(family))
            return std::string(family);
        if (comma == std::string_view::npos)
            break;
        families.remove_prefix(comma + 1);
    }
    return {};
}

FontInfo FontInfoOf(const Properties& properties, double defaultPoints, const IFontCatalog& fonts)
{
    FontInfo info;
    const auto background = properties.Integer(BackgroundColor);
    info.background = background && properties.IsExplicit(BackgroundColor)
                          ? static_cast<std::uint32_t>(*background)
                          : kNoColor;
    info.color = static_cast<std::uint32_t>(properties.Integer(ColorProp).value_or(0));
    const std::string weight = TextOf(properties, FontWeight);
    const auto numericWeight = ParseInteger(weight);
    info.bold = weight.find("bold") != std::string::npos || (numericWeight && *numericWeight > 599);
    const std::string style = TextOf(properties, FontStyle);
    info.italic = style == "italic" || style == "oblique";
    const std::string decoration = TextOf(properties, TextDecoration);
    info.underline = decoration == "underline";
    info.strikeOut = decoration == "line-through";
    const PropertyValue& size = properties.Value(FontSize);
    if (const double* points = std::get_if<double>(&size))
        info.size = *points;
    else
        info.size = FontSizeToPoints(TextOf(properties, FontSize), defaultPoints, defaultPoints,
                                     fonts.PixelsPerInch());
    info.charset = properties.charset;
    const PropertyValue& spacing = properties.Value(LetterSpacing);
    if (const int* pixels = std::get_if<int>(&spacing))
        info.letterSpacing = std::to_string(*pixels);
    else
        info.letterSpacing = TextOf(properties, LetterSpacing);
    info.name = InstalledFamily(TextOf(properties, FontFamily), fonts);
    return info;
}

}  // namespace htmlview
