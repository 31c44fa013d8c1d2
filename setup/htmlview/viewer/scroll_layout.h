// How the viewer fits a formatted document into its window: which layout widths to try, which
// scroll bars show and how large everything is, clamped scroll positions, scrolling by keys and
// by the wheel, and the scroll anchor that keeps the reader's place across a new layout.
#pragma once

#include <functional>
#include <vector>

namespace htmlview {

class Document;

enum class ScrollStyle
{
    None,
    Horizontal,
    Vertical,
    Both
};

// The viewer's outer size and what it may show.
struct PaneGeometry
{
    int width = 150, height = 150;
    int border = 2;     // 0 without a border, else one pixel on each side
    int barWidth = 17;  // a scroll bar's thickness
    ScrollStyle bars = ScrollStyle::Both;
    bool keepVerticalBar = false;  // the bar stays (disabled while not needed)
};

// Horizontal extent beyond this is not scrolled to.
constexpr int kMaxDocumentWidth = 6000;
// Documents this long are laid out once, at the width beside a vertical bar.
constexpr std::size_t kSinglePassSourceLength = 10000;
constexpr int kVerticalSmallChange = 16;
constexpr int kHorizontalSmallChange = 15;

// Does a document of this size need a vertical bar? The second form ignores the bar's own width
// when it compares the document's width.
bool NeedsVerticalBar(const PaneGeometry& pane, int docHeight, int docWidth, bool ignoreBarWidth);

// Lays the document out at one, two or three widths until the bar decision holds; `measure`
// lays out at a width and gives the height and the widest line. Returns the last height.
int FormatPasses(const PaneGeometry& pane, std::size_t sourceLength,
                 const std::function<int(int width, int& docWidth)>& measure, int& docWidth);

struct BarArrangement
{
    bool horizontal = false, vertical = false, verticalEnabled = false;
    int paintLeft = 0, paintTop = 0, paintWidth = 0, paintHeight = 0;
    int horizontalMax = 0, horizontalPage = 0, horizontalLargeChange = 1;
    int verticalMax = 0, verticalPage = 0, verticalLargeChange = 1;
};

// Which bars show, where the paint area lies and the bars' ranges; `docWidth` is capped.
BarArrangement ArrangeScrollBars(const PaneGeometry& pane, int docHeight, int& docWidth);

// A vertical position inside [0, docHeight - panelHeight]; 0 for a short document.
int ClampScroll(int y, int docHeight, int panelHeight);

// The vertical position after a wheel turn of `delta` (positive: away from the user, up).
int WheelScrollTarget(int position, int delta, int wheelLines);

enum class ScrollKey
{
    PageUp,
    PageDown,
    Home,
    End,
    Up,
    Down
};
// The unclamped vertical position a key asks for.
int KeyScrollTarget(ScrollKey key, int position, int largeChange, int docHeight);

// A place in the document that survives a layout at another width: the top-level section it lies
// in and the distance from that section's top, or a plain position when no section holds it.
struct ScrollAnchor
{
    int section = -1;
    int offset = 0;
    bool operator==(const ScrollAnchor&) const = default;
};
ScrollAnchor AnchorOf(const Document& document, int position);
// The position of an anchor in the document as now laid out; none when its section is gone.
bool PositionOf(const Document& document, const ScrollAnchor& anchor, int& position);

}  // namespace htmlview
