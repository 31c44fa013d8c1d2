#include "setup/htmlview/style/style_list.h"

#include <climits>

#include "setup/htmlview/style/colors.h"

namespace htmlview {

void StyleList::Clear()
{
    m_rules.clear();
    m_descendantCounter = 10;
    m_hoverStyling = false;
}

int StyleList::TakeDescendantNumber()
{
    // The counter only keeps keys apart; it wraps rather than overflow in a sheet that would
    // never fit in memory anyway.
    const int number = m_descendantCounter;
    m_descendantCounter = m_descendantCounter == INT_MAX ? 10 : m_descendantCounter + 1;
    return number;
}

Properties& StyleList::RuleOf(const std::string& key)
{
    if (const auto found = m_rules.find(key); found != m_rules.end())
        return *found->second;
    // A rule carries only what it sets: without this, the z-index every element starts with
    // would overwrite an inherited one wherever a rule matches.
    auto rule = std::make_unique<Properties>();
    rule->SetValue(ZIndex, PropertyValue());
    return *m_rules.emplace(key, std::move(rule))->second;
}

const Properties* StyleList::Find(const std::string& key) const
{
    const auto found = m_rules.find(key);
    return found == m_rules.end() ? nullptr : found->second.get();
}

void StyleList::CopyRule(const std::string& from, const std::string& to)
{
    if (const Properties* source = Find(from)) {
        auto copy = std::make_unique<Properties>(*source);
        m_rules.emplace(to, std::move(copy));
    }
}

void StyleList::SetLinkColor(const std::string& state, std::uint32_t color)
{
    RuleOf("::" + state).SetValue(ColorProp, static_cast<int>(color | kRgbFlag));
}

void StyleList::AddRuleValue(const std::string& key, const std::string& property,
                             const std::string& value)
{
    const auto index = PropertyIndexOf(property);
    if (!index)
        return;
    RuleOf(key).AssignRuleValue(*index, value, false);
    // A link colour also colours visited and hovered links until rules of their own follow.
    if (*index == ColorProp && ParseColor(value, false)) {
        if (key == ":link") {
            RuleOf("::hover").AssignRuleValue(ColorProp, value, false);
            RuleOf("::visited").AssignRuleValue(ColorProp, value, false);
        } else if (key == ":visited") {
            RuleOf("::hover").AssignRuleValue(ColorProp, value, false);
        }
    }
    if (key.find(":hover") != std::string::npos)
        m_hoverStyling = true;
    if (key == "a")
        RuleOf("::link").AssignRuleValue(*index, value, false);
}

void StyleList::InitializeDefaults(const DefaultSheetSettings& s)
{
    Clear();
    m_defaultPoints = s.fontPoints;
    const double size = s.fontPoints;
    auto set = [&](const std::string& key, Prop index, PropertyValue value) {
        RuleOf(key).SetValue(index, std::move(value));
    };
    auto text = [](const char* value) { return PropertyValue(std::string(value)); };

    Properties& defaults = RuleOf("default");
    defaults.charset = s.charset;
    set("default", FontFamily, s.fontName);
    set("default", FontSize, size);
    set("default", FontStyle, text("none"));
    set("default", FontWeight, text("normal"));
    set("default", TextAlign, text("left"));
    set("default", TextDecoration, text("none"));
    set("default", TextTransform, 0);
    set("default", FontVariant, text("normal"));
    set("default", ColorProp, static_cast<int>(s.textColor));
    set("default", MarginTop, s.marginHeight);
    set("default", MarginBottom, s.marginHeight);
    set("default", MarginLeft, s.marginWidth);
    set("default", MarginRight, s.marginWidth);
    set("default", Visibility, 2);
    set("default", LetterSpacing, 0);

    set("::link", ColorProp, static_cast<int>(s.linkColor | kRgbFlag));
    set("::link", TextDecoration, text(s.underlineLinks ? "underline" : "none"));
    set("::visited", ColorProp, static_cast<int>(s.visitedColor | kRgbFlag));
    set("::hover", ColorProp, static_cast<int>(s.hoverColor | kRgbFlag));
    RuleOf("null");

    set("pre", FontFamily, s.preFontName);
    set("pre", FontSize, size * 10 / 12);
    set("pre", FontStyle, text("none"));
    set("pre", FontWeight, text("normal"));
    set("pre", TextDecoration, text("none"));
    set("p", MarginTop, kCollapsibleMargin);
    set("p", MarginBottom, kCollapsibleMargin);
    set("p 11pre", MarginTop, 0);
    for (const char* list : {"ul", "ol", "menu", "dir"}) {
        set(list, MarginLeft, 35);
        set(list, ListStyleType, text("blank"));
        set(list, MarginTop, kCollapsibleMargin);
        set(list, MarginBottom, kCollapsibleMargin);
    }
    set("dl", MarginLeft, 0);
    set("dl", MarginTop, 0);
    set("dl", MarginBottom, 0);
    set("dl", ListStyleType, text("none"));
    set("dd", MarginLeft, 40);
    set("dd", MarginTop, 0);
    set("dd", MarginBottom, 0);
    set("blockquote", MarginLeft, 35);
    set("blockquote", MarginTop, kCollapsibleMargin);
    set("blockquote", MarginBottom, 14);
    for (const char* code : {"code", "tt", "kbd", "samp"}) {
        set(code, FontFamily, s.preFontName);
        set(code, FontSize, text("0.833em"));
        set(code, FontStyle, text("none"));
        set(code, FontWeight, text("normal"));
    }
    for (const char* bold : {"b", "strong", "th"})
        set(bold, FontWeight, text("bold"));
    set("sup", FontSize, text("75%"));
    set("sup", VerticalAlign, text("super"));
    set("sub", FontSize, text("75%"));
    set("sub", VerticalAlign, text("sub"));
    set("big", FontSize, text("1.25em"));
    set("small", FontSize, text("0.75em"));
    set("table", TextAlign, text("none"));
    for (const char* italic : {"i", "em", "cite", "var", "address"})
        set(italic, FontStyle, text("italic"));
    set("u", TextDecoration, text("underline"));
    set("s", TextDecoration, text("line-through"));
    set("strike", TextDecoration, text("line-through"));
    set("center", TextAlign, text("center"));
    set("caption", TextAlign, text("center"));
    for (const char* control : {"input", "select", "textarea"}) {
        const bool fixed = std::string_view(control) == "textarea" && !s.windows9x;
        set(control, FontFamily, fixed ? s.preFontName : std::string("Arial Unicode MS, Arial"));
        set(control, FontSize, text("10pt"));
        set(control, FontStyle, text("none"));
        set(control, FontWeight, text("normal"));
        set(control, TextAlign, text("left"));
        set(control, TextDecoration, text("none"));
        set(control, ColorProp, static_cast<int>(s.textColor));
    }
    set("hr", MarginLeft, 0);
    set("hr", MarginRight, 0);
    set("hr", MarginTop, 10);
    set("hr", MarginBottom, 10);
    static constexpr int kHeadingPoints[6] = {24, 18, 14, 12, 10, 8};
    for (int level = 1; level <= 6; ++level) {
        const std::string key = "h" + std::to_string(level);
        set(key, FontSize, size / 12 * kHeadingPoints[level - 1]);
        set(key, MarginTop, 19);
        set(key, MarginBottom, 19);
        set(key, FontWeight, text("bold"));
    }
}

}  // namespace htmlview
