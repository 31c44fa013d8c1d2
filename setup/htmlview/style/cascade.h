// The cascade: an element's style from its inherited values, the matching rules of the style
// sheet in their order of precedence, its inline style, and the font states of a link.
#pragma once

#include <span>
#include <string>

#include "setup/htmlview/style/properties.h"
#include "setup/htmlview/style/style_list.h"

namespace htmlview {

struct ElementSelector
{
    std::string tag, cssClass, id, pseudo, title;  // lower case, title as written
    const Properties* inlineStyle = nullptr;
};

// Combines `element` (already inherited from its parent) with the sheet. `ancestors` are the open
// elements below it, the parent first; descendant rules match against them.
void Combine(Properties& element, const ElementSelector& selector, const StyleList& sheet,
             std::span<const Properties* const> ancestors);

// After an entry was taken out of the middle of the property stack (bottom entry first): every
// entry from `from` upward inherits again from the one now below it, and a link whose new parent
// has no font states computes its own anew.
void ReInheritFrom(std::span<Properties* const> stack, std::size_t from, const StyleList& sheet);

// Does one part of a selector key ("p.note#x:hover") match the element's names?
bool SelectorPartMatches(std::string_view part, const Properties& element);

}  // namespace htmlview
