#include "setup/ui/designer/design_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace setup::ui {

int ClampGridStep(int step)
{
    return std::clamp(step, 2, 128);
}

int ClampGrabSize(int size)
{
    return std::clamp(size, 3, 32);
}

TRect GrabHandleRect(TGrabPosition position, const TRect& bounds, int grabSize,
                     const TRect& parentClient)
{
    const int g = grabSize;
    int x = 0;
    int y = 0;
    switch (position) {
        case gpLeftTop:
        case gpLeftMiddle:
        case gpLeftBottom:
            x = bounds.left - g / 2;
            break;
        case gpMiddleTop:
        case gpMiddleBottom:
            x = (bounds.left + bounds.right - g) / 2;
            break;
        default:
            x = bounds.right - g / 2 - 1;
            break;
    }
    switch (position) {
        case gpLeftTop:
        case gpMiddleTop:
        case gpRightTop:
            y = bounds.top - g / 2;
            break;
        case gpLeftMiddle:
        case gpRightMiddle:
            y = (bounds.top + bounds.bottom - g) / 2;
            break;
        default:
            y = bounds.bottom - g / 2 - 1;
            break;
    }
    TRect square = TRect::Bounds(x, y, g, g);
    square.left = std::max(square.left, parentClient.left);
    square.top = std::max(square.top, parentClient.top);
    square.right = std::min(square.right, parentClient.right);
    square.bottom = std::min(square.bottom, parentClient.bottom);
    return square;
}

int SnapMoveDelta(int delta, int gridStep)
{
    const int whole = delta / gridStep;
    const int rest = delta % gridStep;
    int steps = whole;
    if (2 * std::abs(rest) > gridStep || (2 * std::abs(rest) == gridStep && whole % 2 != 0))
        steps += rest < 0 ? -1 : 1;
    return steps * gridStep;
}

namespace {

bool MovesLeft(TGrabPosition grab)
{
    return grab == gpLeftTop || grab == gpLeftMiddle || grab == gpLeftBottom;
}
bool MovesRight(TGrabPosition grab)
{
    return grab == gpRightTop || grab == gpRightMiddle || grab == gpRightBottom;
}
bool MovesTop(TGrabPosition grab)
{
    return grab == gpLeftTop || grab == gpMiddleTop || grab == gpRightTop;
}
bool MovesBottom(TGrabPosition grab)
{
    return grab == gpLeftBottom || grab == gpMiddleBottom || grab == gpRightBottom;
}

}  // namespace

TRect ApplyGrabDelta(const TRect& bounds, TGrabPosition grab, int dx, int dy)
{
    if (grab == gpNone)
        return OffsetRect(bounds, dx, dy);
    TRect rect = bounds;
    if (MovesLeft(grab))
        rect.left += dx;
    if (MovesRight(grab))
        rect.right += dx;
    if (MovesTop(grab))
        rect.top += dy;
    if (MovesBottom(grab))
        rect.bottom += dy;
    return rect;
}

TRect SnapSizedRect(const TRect& rect, TGrabPosition grab, int gridStep)
{
    TRect snapped = rect;
    if (MovesLeft(grab))
        snapped.left = rect.left / gridStep * gridStep;
    if (MovesTop(grab))
        snapped.top = rect.top / gridStep * gridStep;
    if (MovesRight(grab))
        snapped.right = rect.right / gridStep * gridStep + 1;
    if (MovesBottom(grab))
        snapped.bottom = rect.bottom / gridStep * gridStep + 1;
    return snapped;
}

TRect NormalizedRect(const TRect& rect)
{
    return {std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
            std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
}

TRect ClampRectSize(const TRect& rect, TPoint minSize, TPoint maxSize)
{
    const int width = std::min(std::max(rect.Width(), minSize.x), maxSize.x);
    const int height = std::min(std::max(rect.Height(), minSize.y), maxSize.y);
    return TRect::Bounds(rect.left, rect.top, width, height);
}

TRect KeepInsideLimit(const TRect& rect, const TRect& limit, int grabSize)
{
    TRect kept = rect;
    if (kept.left < limit.left)
        kept = OffsetRect(kept, limit.left - kept.left, 0);
    if (kept.top < limit.top)
        kept = OffsetRect(kept, 0, limit.top - kept.top);
    const int right = limit.right - grabSize / 2;
    const int bottom = limit.bottom - grabSize / 2;
    if (kept.right > right)
        kept = OffsetRect(kept, right - kept.right, 0);
    if (kept.bottom > bottom)
        kept = OffsetRect(kept, 0, bottom - kept.bottom);
    return kept;
}

bool RectsMeet(const TRect& a, const TRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool RectContains(const TRect& rect, TPoint point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

TRect OffsetRect(const TRect& rect, int dx, int dy)
{
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

}  // namespace setup::ui
