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

}  // namespace setup::ui::inspector_layout
