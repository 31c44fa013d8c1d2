#include "setup/htmlview/style/cascade.h"

#include <algorithm>
#include <vector>

#include "setup/htmlview/style/units.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

struct SelectorParts
{
    std::string_view tag, cssClass, id, pseudo;
};

// "tag.class#id:pseudo", each piece optional, in this order.
SelectorParts SplitSelectorPart(std::string_view part)
{
    SelectorParts parts;
    const std::size_t colon = part.find(':');
    if (colon != std::string_view::npos) {
        parts.pseudo = part.substr(colon + 1);
        part = part.substr(0, colon);
    }
    const std::size_t hash = part.find('#');
    if (hash != std::string_view::npos) {
        parts.id = part.substr(hash + 1);
        part = part.substr(0, hash);
    }
    const std::size_t dot = part.find('.');
    if (dot != std::string_view::npos) {
        parts.cssClass = part.substr(dot + 1);
        part = part.substr(0, dot);
    }
    parts.tag = part;
    return parts;
}

void MergeRule(Properties& element, const StyleList& sheet, const std::string& key)
{
    if (const Properties* rule = sheet.Find(key))
        element.Merge(*rule);
}

// The descendant rules whose keys begin with the prefix: the first part must name this element
// and every further part some ancestor, in order from the parent outward.
void MergeDescendantRules(Properties& element, const StyleList& sheet, const std::string& prefix,
                          std::span<const Properties* const> ancestors)
{
    const auto& rules = sheet.Rules();
    for (auto it = rules.lower_bound(prefix);
         it != rules.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        const std::string& key = it->first;
        const std::size_t space = key.find(' ');
        if (space == std::string::npos || !SelectorPartMatches(key.substr(0, space), element))
            continue;
        std::size_t ancestor = 0;
        bool matched = true;
        std::size_t at = space + 1;
        bool firstAncestor = true;
        while (at < key.size() && matched) {
            const std::size_t end = std::min(key.find(' ', at), key.size());
            std::string_view part = std::string_view(key).substr(at, end - at);
            if (firstAncestor) {
                // The digits only keep equal selectors apart.
                while (!part.empty() && IsAsciiDigit(part.front()))
                    part.remove_prefix(1);
                firstAncestor = false;
            }
            at = end + 1;
            while (ancestor < ancestors.size() && !SelectorPartMatches(part, *ancestors[ancestor]))
                ++ancestor;
            matched = ancestor < ancestors.size();
            ++ancestor;
        }
        if (matched)
            element.Merge(*it->second);
    }
}

void ComputeLinkStates(Properties& element, const ElementSelector& selector, const StyleList& sheet,
                       std::span<const Properties* const> ancestors)
{
    const IFontCatalog& fonts = sheet.Fonts();
    const double points = sheet.DefaultPoints();
    FontInfoArray states;
    states[0] = FontInfoOf(element, points, fonts);

    std::vector<const Properties*> stack{&element};
    stack.insert(stack.end(), ancestors.begin(), ancestors.end());
    auto above = [&](const Properties& below, std::span<const Properties* const> under,
                     const char* pseudo) {
        Properties entry;
        entry.Inherit(below);
        ElementSelector temporary = selector;
        temporary.pseudo = pseudo;
        Combine(entry, temporary, sheet, under);
        return entry;
    };
    const Properties visited = above(element, stack, "visited");
    states[1] = FontInfoOf(visited, points, fonts);
    std::vector<const Properties*> overVisited{&visited};
    overVisited.insert(overVisited.end(), stack.begin(), stack.end());
    states[3] = FontInfoOf(above(visited, overVisited, "hover"), points, fonts);
    states[2] = FontInfoOf(above(element, stack, "hover"), points, fonts);
    element.linkStates = states;
    element.link = true;
}

}  // namespace

bool SelectorPartMatches(std::string_view part, const Properties& element)
{
    const SelectorParts parts = SplitSelectorPart(part);
    auto fits = [](std::string_view wanted, const std::string& actual) {
        return wanted.empty() || wanted == actual;
    };
    return fits(parts.tag, element.tag) && fits(parts.cssClass, element.cssClass) &&
           fits(parts.id, element.id) && fits(parts.pseudo, element.pseudo);
}

void Combine(Properties& element, const ElementSelector& s, const StyleList& sheet,
             std::span<const Properties* const> ancestors)
{
    const double* inherited = std::get_if<double>(&element.Value(FontSize));
    const double parentPoints = inherited && *inherited > 0 ? *inherited : sheet.DefaultPoints();

    // Names are set first: descendant rules match the element by them.
    element.tag = s.tag;
    element.cssClass = s.cssClass;
    element.id = s.id;
    element.pseudo = s.pseudo;

    const std::string& tag = s.tag;
    const std::string& cls = s.cssClass;
    const std::string& id = s.id;
    const std::string& pseudo = s.pseudo;
    const bool hoverOrVisited = pseudo == "hover" || pseudo == "visited";
    auto merge = [&](const std::string& key) { MergeRule(element, sheet, key); };

    if (tag == "a" && !pseudo.empty())
        merge("::" + pseudo);
    if (!hoverOrVisited)
        merge(tag);
    if (!pseudo.empty())
        merge(":" + pseudo);
    if (!hoverOrVisited && !cls.empty()) {
        merge("." + cls);
        merge(tag + "." + cls);
    }
    if (!pseudo.empty()) {
        merge(tag + ":" + pseudo);
        if (!cls.empty()) {
            merge("." + cls + ":" + pseudo);
            merge(tag + "." + cls + ":" + pseudo);
        }
    }
    if (!id.empty()) {
        merge("#" + id);
        merge(tag + "#" + id);
        if (!cls.empty())
            merge("." + cls + "#" + id);
        if (!pseudo.empty()) {
            merge("#" + id + ":" + pseudo);
            merge(tag + "#" + id + ":" + pseudo);
        }
        if (!cls.empty())
            merge(tag + "." + cls + "#" + id);
        if (!cls.empty() && !pseudo.empty()) {
            merge("." + cls + "#" + id + ":" + pseudo);
            merge(tag + "." + cls + "#" + id + ":" + pseudo);
        }
    }

    if (!tag.empty())
        MergeDescendantRules(element, sheet, tag, ancestors);
    if (!cls.empty())
        MergeDescendantRules(element, sheet, "." + cls, ancestors);
    if (!pseudo.empty())
        MergeDescendantRules(element, sheet, ":" + pseudo, ancestors);

    if (s.inlineStyle)
        element.Merge(*s.inlineStyle);

    if (!std::holds_alternative<double>(element.Value(FontSize))) {
        const std::string* text = element.Text(FontSize);
        element.SetValue(FontSize,
                         FontSizeToPoints(text ? *text : std::string(), parentPoints,
                                          sheet.DefaultPoints(), sheet.Fonts().PixelsPerInch()));
    }

    element.inlineStyle = s.inlineStyle;
    if (!s.title.empty())
        element.title = s.title;

    if (pseudo == "link")
        ComputeLinkStates(element, s, sheet, ancestors);
}

void ReInheritFrom(std::span<Properties* const> stack, std::size_t from, const StyleList& sheet)
{
    for (std::size_t i = std::max<std::size_t>(from, 1); i < stack.size(); ++i) {
        Properties& entry = *stack[i];
        const Properties& parent = *stack[i - 1];
        entry.ReInherit(parent);
        if (parent.linkStates || entry.pseudo != "link")
            continue;
        std::vector<const Properties*> ancestors(stack.rend() - static_cast<std::ptrdiff_t>(i),
                                                 stack.rend());
        const ElementSelector selector{entry.tag,   entry.cssClass, entry.id,
                                       entry.pseudo, entry.title,   entry.inlineStyle};
        ComputeLinkStates(entry, selector, sheet, ancestors);
    }
}

}  // namespace htmlview
