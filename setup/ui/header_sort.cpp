#include "setup/ui/header_sort.h"

#include <algorithm>

namespace setup::ui {

TNsLvHeaderSortDisplayMode AcceptedDisplayMode(TNsLvHeaderSortDisplayMode mode, int version)
{
    return version < kCommonControls470 ? ptlvNone : mode;
}

bool HeaderOwnerDrawn(TNsLvHeaderSortDisplayMode mode, int version)
{
    if (mode == ptlvNone)
        return false;
    return !(version >= kCommonControls600 && mode == ptlvRightOfText);
}

std::uint32_t HeaderItemFormat(std::uint32_t current, bool sorted, bool ascending,
                               TNsLvHeaderSortDisplayMode mode, int version)
{
    const std::uint32_t alignment = current & kHeaderJustifyMask;
    if (HeaderOwnerDrawn(mode, version))
        return alignment | kHeaderOwnerDraw;
    std::uint32_t format = alignment | kHeaderString;
    // The system's arrow names the direction the other way round from the drawn one.
    if (sorted && mode != ptlvNone)
        format |= ascending ? kHeaderSortDown : kHeaderSortUp;
    return format;
}

HeaderItemLayout LayOutHeaderItem(TRect item, int textWidth, int textHeight, TAlignment alignment,
                                  TNsLvHeaderSortDisplayMode mode, bool sorted)
{
    const TRect inner{item.left + 2, item.top + 2, item.right - 2, item.bottom - 2};
    HeaderItemLayout layout;
    layout.text = {inner.left + 4, inner.top, inner.right - 4, inner.bottom};
    const int size = std::max(4, (textHeight + 1) / 2);
    if (!sorted || mode == ptlvNone || 2 * size >= item.Width())
        return layout;
    const int top = inner.top + (inner.Height() - size) / 2;
    TRect& text = layout.text;
    switch (mode) {
        case ptlvLeftAlign:
            if (item.Width() <= 15)
                return layout;
            layout.arrowBox = TRect::Bounds(text.left, top, size, size);
            text.left = layout.arrowBox.right + 5;
            break;
        case ptlvRightOfText:
            if (alignment == taRightJustify) {
                layout.arrowBox = TRect::Bounds(text.right - size, top, size, size);
                text.right = layout.arrowBox.left - 4;
            } else {
                int captionEnd = text.left + textWidth;
                if (alignment == taCenter)
                    captionEnd = text.left + (text.Width() + textWidth) / 2;
                const int left = std::min(captionEnd + 5, text.right - size);
                layout.arrowBox = TRect::Bounds(left, top, size, size);
                text.right = std::min(text.right, layout.arrowBox.left - 1);
            }
            break;
        case ptlvRightAlign:
            layout.arrowBox = TRect::Bounds(text.right - size, top, size, size);
            text.right = layout.arrowBox.left - 4;
            break;
        default:
            return layout;
    }
    layout.arrow = true;
    return layout;
}

}  // namespace setup::ui
