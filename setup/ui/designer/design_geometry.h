// The designer's arithmetic on rectangles: the grid and grab-size limits, where the eight grab
// handles sit, how a drag snaps to the grid, which edges a grab moves, and how a moved or sized
// rectangle is kept inside its limits.
#pragma once

#include "setup/forms/property_types.h"
#include "setup/ui/geometry.h"

namespace setup::ui {

enum TGrabPosition
{
    gpNone,
    gpLeftTop,
    gpLeftMiddle,
    gpLeftBottom,
    gpMiddleTop,
    gpMiddleBottom,
    gpRightTop,
    gpRightMiddle,
    gpRightBottom,
};
using TGrabPositions = forms::TSet<TGrabPosition>;

int ClampGridStep(int step);
int ClampGrabSize(int size);

// The handle's square around a control's bounds (in the parent's coordinates), clipped to the
// parent's client area.
TRect GrabHandleRect(TGrabPosition position, const TRect& bounds, int grabSize,
                     const TRect& parentClient);

// A move's offset rounded to whole grid steps, halves to the even step.
int SnapMoveDelta(int delta, int gridStep);
// Adds the offset to the edges the grab moves; gpNone moves the whole rectangle.
TRect ApplyGrabDelta(const TRect& bounds, TGrabPosition grab, int dx, int dy);
// The moved edges of a sized rectangle put on the grid: left and top down to a step, right and
// bottom down to a step and one past it.
TRect SnapSizedRect(const TRect& rect, TGrabPosition grab, int gridStep);

// Left not greater than right, top not greater than bottom.
TRect NormalizedRect(const TRect& rect);
// Width and height kept within the sizes, left and top kept.
TRect ClampRectSize(const TRect& rect, TPoint minSize, TPoint maxSize);
// A moved rectangle pushed back inside the limit; right and bottom stop half a grab short.
TRect KeepInsideLimit(const TRect& rect, const TRect& limit, int grabSize);
bool RectsMeet(const TRect& a, const TRect& b);
bool RectContains(const TRect& rect, TPoint point);
TRect OffsetRect(const TRect& rect, int dx, int dy);

}  // namespace setup::ui
