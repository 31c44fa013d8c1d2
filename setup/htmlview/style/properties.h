// The style of one element or one style rule: the values of the supported CSS properties, which
// of them the element was given itself, and the element's character set and font sizes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "setup/htmlview/parser/css_reader.h"
#include "setup/htmlview/style/font_info.h"
#include "setup/htmlview/util/platform.h"

namespace htmlview {

// Property indices; the parser, the CSS reader and the layout address properties by them.
enum Prop : int
{
    FontFamily,
    FontSize,
    FontStyle,
    FontWeight,
    TextAlign,
    TextDecoration,
    LetterSpacing,
    BorderStyle,
    ColorProp,
    BackgroundColor,
    BorderColor,
    MarginTop,
    MarginRight,
    MarginBottom,
    MarginLeft,
    PaddingTop,
    PaddingRight,
    PaddingBottom,
    PaddingLeft,
    BorderTopWidth,
    BorderRightWidth,
    BorderBottomWidth,
    BorderLeftWidth,
    BorderTopColor,
    BorderRightColor,
    BorderBottomColor,
    BorderLeftColor,
    BorderTopStyle,
    BorderRightStyle,
    BorderBottomStyle,
    BorderLeftStyle,
    Width,
    Height,
    Top,
    Left,
    Visibility,
    LineHeight,
    BackgroundImage,
    BackgroundPosition,
    BackgroundRepeat,
    BackgroundAttachment,
    VerticalAlign,
    Position,
    ZIndex,
    ListStyleType,
    ListStyleImage,
    Float,
    Clear,
    TextIndent,
    PageBreakBefore,
    PageBreakAfter,
    PageBreakInside,
    TextTransform,
    FontVariant,
    Display,
    kPropertyCount
};

// The box values (margins through left) start with this marker.
constexpr Prop kFirstBoxValue = MarginTop;
constexpr Prop kLastBoxValue = Left;
constexpr int kNotSet = -12345678;
constexpr int kAutoValue = -12348765;
constexpr int kCollapsibleMargin = -12348766;  // a paragraph margin that collapses

// Empty (never set), text as written, an integer (colours, enumerations, markers) or a font size
// in points once computed.
using PropertyValue = std::variant<std::monostate, std::string, int, double>;

// The index of a CSS property name (exact, case-sensitive); none for unsupported names.
std::optional<Prop> PropertyIndexOf(std::string_view name);
std::string_view PropertyName(Prop index);

class Properties : public IDeclarationTarget
{
public:
    Properties();

    const PropertyValue& Value(Prop index) const { return m_values[index]; }
    bool IsExplicit(Prop index) const { return m_explicit[index]; }
    // The value as text, integer or points when it holds one.
    const std::string* Text(Prop index) const { return std::get_if<std::string>(&m_values[index]); }
    std::optional<int> Integer(Prop index) const;

    // A value of a style rule or STYLE attribute, by index, as the CSS reader gives it. An
    // unparseable colour leaves a rule's colour unchanged and makes an inline colour black.
    void AssignRuleValue(Prop index, std::string_view text, bool inlineStyle);
    // The declarations of a STYLE attribute.
    void Assign(const std::string& property, const std::string& value) override;
    // A presentational attribute: stored only where no rule or inline style set the property.
    void AssignPresentational(Prop index, PropertyValue value);
    // Stores a value the layout computed (font size in points) or a default sheet value.
    void SetValue(Prop index, PropertyValue value)
    {
        m_values[index] = std::move(value);
        m_font.reset();
    }

    // A child's start from its parent.
    void Inherit(const Properties& parent);
    // After an element below was removed: everything not set explicitly comes from the new parent.
    void ReInherit(const Properties& parent);
    // Merges a rule: every non-empty value ("not set" box values excepted) becomes explicit.
    void Merge(const Properties& rule);

    // A character set from a META content type or a FONT CHARSET, with its code page.
    void AssignCharset(int charset, const IFontCatalog& fonts);
    void SwitchToUtf8();

    std::string tag, cssClass, id, pseudo, title;
    const Properties* inlineStyle = nullptr;  // owned by the element's attribute list
    std::uint32_t linkBackground;
    int charset = 1;
    int codePage = 1252;
    int emSize = 16;
    int exSize = 8;
    bool link = false;
    std::optional<FontInfoArray> linkStates;

    // The font made from these values, kept until a value changes.
    const ElementFont* CachedFont() const { return m_font ? &*m_font : nullptr; }
    void CacheFont(const ElementFont& font) { m_font = font; }

private:
    std::optional<ElementFont> m_font;
    std::array<PropertyValue, kPropertyCount> m_values;
    std::array<bool, kPropertyCount> m_explicit{};
};

}  // namespace htmlview
