#include "setup/htmlview/style/font_info.h"

#include <cmath>

#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/keywords.h"
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
    info.background = BackgroundColorOf(properties);
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

ElementFont FontOf(Properties& properties, double defaultPoints, const IFontCatalog& fonts,
                   ITextMeasurer& measurer)
{
    if (const ElementFont* cached = properties.CachedFont())
        return *cached;
    const FontInfo info = FontInfoOf(properties, defaultPoints, fonts);
    ElementFont font;
    font.request.name = info.name;
    font.request.height = -static_cast<int>(std::lround(fonts.PixelsPerInch() * info.size / 72));
    font.request.bold = info.bold;
    font.request.italic = info.italic;
    font.request.underline = info.underline;
    font.request.strikeOut = info.strikeOut;
    font.color = info.color;
    font.background = info.background;
    // Measured first with the default character set: a symbol font keeps its own set, and any
    // other set the element asks for is measured again.
    constexpr int kDefaultCharset = 1;
    constexpr int kSymbolCharset = 2;
    font.request.charset = kDefaultCharset;
    font.metrics = measurer.Metrics(font.request);
    font.request.charset = font.metrics.charset == kSymbolCharset ? kSymbolCharset : info.charset;
    if (font.request.charset != kDefaultCharset)
        font.metrics = measurer.Metrics(font.request);
    properties.emSize = font.metrics.height - font.metrics.internalLeading;
    properties.exSize = properties.emSize / 2;
    if (!info.letterSpacing.empty() && LowerAscii(Trim(info.letterSpacing)) != "normal")
        font.letterSpacing = LengthToPixels(
            info.letterSpacing, false, 0, 0,
            LengthBases{fonts.PixelsPerInch(), properties.emSize, properties.exSize});
    properties.CacheFont(font);
    return font;
}

}  // namespace htmlview
