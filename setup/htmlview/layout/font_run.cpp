#include "setup/htmlview/layout/font_run.h"

namespace htmlview {

void FontRun::SetFont(const ElementFont& newFont)
{
    font = newFont;
    const FontMetrics& m = font.metrics;
    fontHeight = m.height + m.externalLeading;
    charHeight = m.height;
    descent = m.descent;
    overhang = font.request.italic ? m.height / 10 : 0;
    maxCharWidth = m.maxCharWidth;
}

void FontRun::SetVisited(bool value)
{
    if (visited == value)
        return;
    visited = value;
    ApplyLinkState();
}

void FontRun::SetHover(bool value)
{
    if (hover == value)
        return;
    hover = value;
    ApplyLinkState();
}

void FontRun::ApplyLinkState()
{
    if (!linkStates || linkStates->size() != 4)
        return;
    const std::size_t state = (visited ? 1u : 0u) + (hover ? 2u : 0u);
    SetFont((*linkStates)[state]);
}

}  // namespace htmlview
