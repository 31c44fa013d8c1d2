#include "setup/htmlview/viewer/scroll_layout.h"

#include <algorithm>

#include "setup/htmlview/layout/document.h"

namespace htmlview {

bool NeedsVerticalBar(const PaneGeometry& pane, int docHeight, int docWidth, bool ignoreBarWidth)
{
    const int height = pane.height - pane.border;
    if (height < docHeight)
        return true;
    if (pane.bars != ScrollStyle::Horizontal && pane.bars != ScrollStyle::Both)
        return false;
    // A horizontal bar may take a bar's height of the room.
    if (docHeight < height - pane.barWidth)
        return false;
    const int width = pane.width - pane.border - (ignoreBarWidth ? 0 : pane.barWidth);
    return width < docWidth;
}

int FormatPasses(const PaneGeometry& pane, std::size_t sourceLength,
                 const std::function<int(int width, int& docWidth)>& measure, int& docWidth)
{
    const int width = pane.width - pane.border;
    if (pane.bars == ScrollStyle::None || pane.bars == ScrollStyle::Horizontal)
        return measure(width, docWidth);
    if (pane.keepVerticalBar || sourceLength >= kSinglePassSourceLength)
        return measure(width - pane.barWidth, docWidth);
    int height = measure(width, docWidth);
    if (NeedsVerticalBar(pane, height, docWidth, false)) {
        height = measure(width - pane.barWidth, docWidth);
        if (!NeedsVerticalBar(pane, height, docWidth, true))
            height = measure(width, docWidth);
    }
    return height;
}

BarArrangement ArrangeScrollBars(const PaneGeometry& pane, int docHeight, int& docWidth)
{
    docWidth = std::min(docWidth, kMaxDocumentWidth);
    const int b = pane.border, sb = pane.barWidth;
    const bool both = pane.bars == ScrollStyle::Both;
    const bool verticalStyle = pane.bars == ScrollStyle::Vertical || both;
    BarArrangement bars;
    bool needed = false;
    if (pane.bars == ScrollStyle::None ||
        (!pane.keepVerticalBar && pane.height - b >= docHeight && pane.width - b >= docWidth)) {
    } else if (pane.bars == ScrollStyle::Horizontal) {
        bars.horizontal = pane.width - b < docWidth;
    } else {
        needed = docHeight >= pane.height - b ||
                 (both && docHeight >= pane.height - b - sb && pane.width - sb - b < docWidth);
        bars.horizontal = both && (pane.width - b < docWidth || ((needed || pane.keepVerticalBar) &&
                                                                 pane.width - sb - b < docWidth));
        bars.vertical = needed || pane.keepVerticalBar;
    }
    const int panelWidth =
        bars.vertical || (pane.keepVerticalBar && verticalStyle) ? pane.width - sb : pane.width;
    const int edge = b == 0 ? 0 : 1;
    bars.paintLeft = bars.paintTop = edge;
    bars.paintWidth = std::max(0, panelWidth - b);
    bars.paintHeight = std::max(0, pane.height - b - (bars.horizontal ? sb : 0));
    bars.horizontalMax = std::max({docWidth, panelWidth - b, 0});
    bars.horizontalPage = panelWidth;
    bars.horizontalLargeChange = std::max(1, panelWidth - 20);
    if (pane.keepVerticalBar) {
        bars.vertical = verticalStyle;
        bars.verticalEnabled = needed;
    } else {
        bars.verticalEnabled = bars.vertical;
    }
    bars.verticalMax = docHeight;
    bars.verticalPage = bars.paintHeight + 1;
    bars.verticalLargeChange = bars.paintHeight - kVerticalSmallChange;
    return bars;
}

int ClampScroll(int y, int docHeight, int panelHeight)
{
    return std::max(0, std::min(y, docHeight - panelHeight));
}

int WheelScrollTarget(int position, int delta, int wheelLines)
{
    if (wheelLines > 0)
        return position + (delta < 0 ? 1 : delta > 0 ? -1 : 0) * wheelLines * kVerticalSmallChange;
    return position - delta / 2;
}

int KeyScrollTarget(ScrollKey key, int position, int largeChange, int docHeight)
{
    switch (key) {
        case ScrollKey::PageUp:
            return position - largeChange;
        case ScrollKey::PageDown:
            return position + largeChange;
        case ScrollKey::Home:
            return 0;
        case ScrollKey::End:
            return docHeight;
        case ScrollKey::Up:
            return position - kVerticalSmallChange;
        case ScrollKey::Down:
            return position + kVerticalSmallChange;
    }
    return position;
}

ScrollAnchor AnchorOf(const Document& document, int position)
{
    int top = 0, index = -1;
    if (document.SectionAt(position, top, index))
        return {index, position - top};
    return {-1, position};
}

bool PositionOf(const Document& document, const ScrollAnchor& anchor, int& position)
{
    if (anchor.section < 0) {
        position = anchor.offset;
        return true;
    }
    if (anchor.section >= static_cast<int>(document.positionList.size()))
        return false;
    position = document.positionList[anchor.section]->AnchorY() + anchor.offset;
    return true;
}

}  // namespace htmlview
