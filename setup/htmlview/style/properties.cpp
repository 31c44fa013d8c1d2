#include "setup/htmlview/style/properties.h"

#include "setup/htmlview/parser/css_shorthands.h"
#include "setup/htmlview/style/colors.h"

namespace htmlview {

namespace {

constexpr std::array<std::string_view, kPropertyCount> kPropertyNames = {"font-family",
                                                                         "font-size",
                                                                         "font-style",
                                                                         "font-weight",
                                                                         "text-align",
                                                                         "text-decoration",
                                                                         "letter-spacing",
                                                                         "border-style",
                                                                         "color",
                                                                         "background-color",
                                                                         "border-color",
                                                                         "margin-top",
                                                                         "margin-right",
                                                                         "margin-bottom",
                                                                         "margin-left",
                                                                         "padding-top",
                                                                         "padding-right",
                                                                         "padding-bottom",
                                                                         "padding-left",
                                                                         "border-top-width",
                                                                         "border-right-width",
                                                                         "border-bottom-width",
                                                                         "border-left-width",
                                                                         "border-top-color",
                                                                         "border-right-color",
                                                                         "border-bottom-color",
                                                                         "border-left-color",
                                                                         "border-top-style",
                                                                         "border-right-style",
                                                                         "border-bottom-style",
                                                                         "border-left-style",
                                                                         "width",
                                                                         "height",
                                                                         "top",
                                                                         "left",
                                                                         "visibility",
                                                                         "line-height",
                                                                         "background-image",
                                                                         "background-position",
                                                                         "background-repeat",
                                                                         "background-attachment",
                                                                         "vertical-align",
                                                                         "position",
                                                                         "z-index",
                                                                         "list-style-type",
                                                                         "list-style-image",
                                                                         "float",
                                                                         "clear",
                                                                         "text-indent",
                                                                         "page-break-before",
                                                                         "page-break-after",
                                                                         "page-break-inside",
                                                                         "text-transform",
                                                                         "font-variant",
                                                                         "display"};

bool IsBoxValue(int index)
{
    return index >= kFirstBoxValue && index <= kLastBoxValue;
}

// What a child does not take from its parent (unless the parent is a SPAN).
bool IsNotInherited(int index)
{
    switch (index) {
        case BorderStyle:
        case BackgroundColor:
        case BorderColor:
        case BackgroundImage:
        case BackgroundPosition:
        case BackgroundRepeat:
        case BackgroundAttachment:
        case Position:
        case Float:
        case Clear:
        case PageBreakBefore:
        case PageBreakAfter:
        case PageBreakInside:
        case Display:
            return true;
        default:
            return false;
    }
}

// Code pages of the character sets; others leave the code page as it is.
std::optional<int> CodePageOfCharset(int charset)
{
    static constexpr std::pair<int, int> kTable[] = {
        {0, 1252},   {1, 0},      {2, 0},      {77, 2},     {128, 932},  {129, 949},  {130, 1361},
        {134, 936},  {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
        {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 1}};
    for (const auto& [set, page] : kTable)
        if (set == charset)
            return page;
    return std::nullopt;
}

}  // namespace

std::optional<Prop> PropertyIndexOf(std::string_view name)
{
    for (int i = 0; i < kPropertyCount; ++i)
        if (kPropertyNames[i] == name)
            return static_cast<Prop>(i);
    return std::nullopt;
}

std::string_view PropertyName(Prop index)
{
    return kPropertyNames[index];
}

Properties::Properties() : linkBackground(kNoColor)
{
    for (int i = kFirstBoxValue; i <= kLastBoxValue; ++i)
        m_values[i] = kNotSet;
    m_values[ZIndex] = 0;
}

std::optional<int> Properties::Integer(Prop index) const
{
    if (const int* value = std::get_if<int>(&m_values[index]))
        return *value;
    return std::nullopt;
}

void Properties::AssignRuleValue(Prop index, std::string_view text, bool inlineStyle)
{
    m_font.reset();
    auto store = [&](Prop at, PropertyValue value) {
        m_values[at] = std::move(value);
        m_explicit[at] = true;
    };
    const auto color = ParseColor(text, false);
    switch (index) {
        case BorderStyle:
            store(BorderStyle, std::string(text));
            for (int side = BorderTopStyle; side <= BorderLeftStyle; ++side)
                store(static_cast<Prop>(side), std::string(text));
            break;
        case ColorProp:
            if (color)
                store(ColorProp, static_cast<int>(*color));
            else if (inlineStyle)
                store(ColorProp, 0);
            break;
        case BackgroundColor:
            store(BackgroundColor, static_cast<int>(color.value_or(kNoColor)));
            break;
        case BorderColor:
            if (color) {
                for (int at = BorderTopColor; at <= BorderLeftColor; ++at)
                    store(static_cast<Prop>(at), static_cast<int>(*color));
                store(BorderColor, static_cast<int>(*color));
            }
            break;
        case BorderTopColor:
        case BorderRightColor:
        case BorderBottomColor:
        case BorderLeftColor:
            if (color)
                store(index, static_cast<int>(*color));
            break;
        case BorderTopStyle:
        case BorderRightStyle:
        case BorderBottomStyle:
        case BorderLeftStyle:
            store(index, std::string(text));
            if (text != "none")
                store(BorderStyle, std::string(text));
            break;
        case Visibility:
            if (text == "visible")
                store(Visibility, 2);
            else if (text == "hidden")
                store(Visibility, 1);
            break;
        case TextTransform:
            store(TextTransform, text == "uppercase" ? 1 : text == "lowercase" ? 2 : 0);
            break;
        case FontVariant:
            if (text == "small-caps" || text == "normal")
                store(FontVariant, std::string(text));
            break;
        default:
            store(index, std::string(text));
            break;
    }
}

void Properties::Assign(const std::string& property, const std::string& value)
{
    if (const auto index = PropertyIndexOf(property))
        AssignRuleValue(*index, value, true);
}

void Properties::AssignPresentational(Prop index, PropertyValue value)
{
    m_font.reset();
    if (m_explicit[index])
        return;
    m_values[index] = value;
    m_explicit[index] = true;
    if (link && linkStates && (index == FontFamily || index == FontSize || index == ColorProp)) {
        for (FontInfo& state : *linkStates) {
            if (index == FontFamily && std::holds_alternative<std::string>(value))
                state.name = std::get<std::string>(value);
            else if (index == FontSize && std::holds_alternative<double>(value))
                state.size = std::get<double>(value);
            else if (index == ColorProp && std::holds_alternative<int>(value))
                state.color = static_cast<std::uint32_t>(std::get<int>(value));
        }
    }
}

void Properties::Inherit(const Properties& parent)
{
    m_font.reset();
    const bool fromSpan = parent.tag == "span";
    for (int i = 0; i < kPropertyCount; ++i) {
        m_explicit[i] = false;
        if (fromSpan) {
            m_values[i] = i == BorderStyle ? PropertyValue() : parent.m_values[i];
        } else if (IsBoxValue(i)) {
            m_values[i] = kNotSet;
        } else if (IsNotInherited(i)) {
            m_values[i] = PropertyValue();
        } else {
            m_values[i] = parent.m_values[i];
        }
    }
    linkBackground = parent.linkBackground;
    charset = parent.charset;
    codePage = parent.codePage;
    title = parent.title;
    link = parent.link;
    if (parent.link)
        linkStates = parent.linkStates;
    emSize = parent.emSize;
    exSize = emSize / 2;
}

void Properties::ReInherit(const Properties& parent)
{
    m_font.reset();
    for (int i = 0; i < kPropertyCount; ++i)
        if (!m_explicit[i])
            m_values[i] = parent.m_values[i];
    if (parent.linkStates)
        linkStates = parent.linkStates;
    else if (pseudo != "link")
        linkStates.reset();
}

void Properties::Merge(const Properties& rule)
{
    m_font.reset();
    for (int i = 0; i < kPropertyCount; ++i) {
        const PropertyValue& value = rule.m_values[i];
        if (std::holds_alternative<std::monostate>(value))
            continue;
        if (IsBoxValue(i) && std::holds_alternative<int>(value) && std::get<int>(value) == kNotSet)
            continue;
        m_values[i] = value;
        m_explicit[i] = true;
    }
}

void Properties::AssignCharset(int requested, const IFontCatalog& fonts)
{
    m_font.reset();
    if (requested == 31) {  // ISO-8859-2, a marker of the charset names
        charset = 238;
        codePage = 28592;
    } else {
        charset = requested == 1 ? 1 : fonts.ReportedCharset(requested);
        if (const auto page = CodePageOfCharset(charset))
            codePage = *page;
    }
    if (linkStates)
        for (FontInfo& state : *linkStates)
            state.charset = charset;
}

void Properties::SwitchToUtf8()
{
    m_font.reset();
    codePage = 65001;
    charset = 0;
}

}  // namespace htmlview
