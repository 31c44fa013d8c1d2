// A run of text in one font from a character position on, with the link its characters belong
// to and the link's font states.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup/htmlview/style/font_info.h"
#include "setup/htmlview/util/url_target.h"

namespace htmlview {

enum class ScriptShift
{
    None,
    Sub,
    Super
};

struct FontRun
{
    FontRun(int pos, const ElementFont& font) : pos(pos) { SetFont(font); }

    void SetFont(const ElementFont& newFont);
    bool IsLink() const { return !link.url.empty(); }
    // Visited and hover pick one of the four link states: neither 0, visited 1, hover 2, both 3.
    void SetVisited(bool value);
    void SetHover(bool value);

    int pos = 0;
    ElementFont font;
    int fontHeight = 0;  // character height plus external leading
    int charHeight = 0;
    int descent = 0;
    int overhang = 0;  // italic fonts lean out of their measured width
    int maxCharWidth = 0;
    ScriptShift shift = ScriptShift::None;
    UrlTarget link;
    std::string title;
    std::optional<std::vector<ElementFont>> linkStates;  // four fonts, made by the builder
    bool visited = false, hover = false, linkFocused = false;
    int linkY = 0;

private:
    void ApplyLinkState();
};

}  // namespace htmlview
