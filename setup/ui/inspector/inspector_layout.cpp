#include "setup/ui/inspector/inspector_layout.h"

#include <algorithm>
#include <cstdlib>

namespace setup::ui::inspector_layout {

int RowHeight(int fontHeight)
{
    return 3 * std::abs(fontHeight) / 2;
}

bool SplitterChanges(int current, int value, int clientWidth)
{
    const int candidate = std::min(std::max(value, kMinSplitter), clientWidth - kValueReserve);
    return candidate != current;
}

int DragSplitter(int x, int clientWidth)
{
    return std::max(kMinSplitter, std::min(x, clientWidth - kValueReserve));
}

int DropDownHeight(int itemCount, int rowHeight)
{
    return std::max(1, std::min(itemCount, kDropDownRows)) * rowHeight + 2;
}

int DropDownWidth(int widestText, int itemCount, int scrollBarWidth, int clientWidth,
                  int splitter)
{
    int width = widestText + 6;
    if (itemCount > kDropDownRows)
        width += scrollBarWidth;
    return std::max(width, clientWidth - splitter);
}

int DropDownTop(int rowBottomOnScreen, int rowHeight, int listHeight, int screenHeight)
{
    const int below = rowBottomOnScreen - 2;
    if (below + listHeight > screenHeight)
        return below + 2 - rowHeight - listHeight;
    return below;
}

int LevelIndent(TPaintStyle style)
{
    return kExpandBoxSize + (style == psTree ? 4 : style == psKelvorn ? 3 : 0);
}

bool HitsExpandBox(int x, int level, int indent)
{
    return level * indent <= x && x <= (level + 1) * indent + 2;
}

int VisibleRows(int clientHeight, int rowHeight)
{
    return rowHeight > 0 ? std::max(1, clientHeight / rowHeight) : 1;
}

int ClampTopIndex(int top, int itemCount, int visibleRows)
{
    return std::max(0, std::min(top, itemCount - visibleRows));
}

int ScrolledTop(int top, ScrollCode code, int thumb, int itemCount, int visibleRows)
{
    const int page = std::max(1, visibleRows - 1);
    switch (code) {
        case ScrollCode::LineUp:
            --top;
            break;
        case ScrollCode::LineDown:
            ++top;
            break;
        case ScrollCode::PageUp:
            top -= page;
            break;
        case ScrollCode::PageDown:
            top += page;
            break;
        case ScrollCode::Top:
            top = 0;
            break;
        case ScrollCode::Bottom:
            top = itemCount;
            break;
        case ScrollCode::Thumb:
            top = thumb;
            break;
    }
    return ClampTopIndex(top, itemCount, visibleRows);
}

int WheelTop(int top, int notches, int linesPerNotch, int itemCount, int visibleRows)
{
    // A setting of "one page per notch" comes as a huge line count.
    const int lines = std::min(std::max(linesPerNotch, 1), std::max(1, visibleRows - 1));
    const long long moved = static_cast<long long>(top) - static_cast<long long>(notches) * lines;
    const long long limited = std::max<long long>(std::min<long long>(moved, itemCount), -1);
    return ClampTopIndex(static_cast<int>(limited), itemCount, visibleRows);
}

int PageRow(int current, bool down, int itemCount, int visibleRows)
{
    if (itemCount <= 0)
        return -1;
    const int page = std::max(1, visibleRows - 1);
    const int row = down ? current + page : current - page;
    return std::max(0, std::min(row, itemCount - 1));
}

}  // namespace setup::ui::inspector_layout
