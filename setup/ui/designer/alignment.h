// Lining up selected controls: the rectangles of the controls that may move are changed in
// place, one axis at a time.
#pragma once

#include <vector>

#include "setup/ui/geometry.h"

namespace setup::ui {

enum class AlignCode
{
    None = 0,
    LeftsOrTops = 1,
    Centres = 2,
    RightsOrBottoms = 3,
    SpaceEqually = 4,
    CentreInWindow = 5,
};

// `rects` are the movable selected controls' bounds; `selectedCount` counts every selected
// control; `parentExtent` is the first control's parent's width (horizontal) or height.
void AlignRects(std::vector<TRect>& rects, AlignCode code, bool horizontal,
                std::size_t selectedCount, int parentExtent);

}  // namespace setup::ui
