// Where the copies of a background image go in a box: the offset of its placement on each axis,
// and the repeats that cover the box, limited to what a clip rectangle shows.
#pragma once

#include <vector>

#include "setup/htmlview/layout/paint_plan.h"
#include "setup/htmlview/style/box_values.h"

namespace htmlview {

// The image's offset on one axis of a box `size` long, within [-image, size].
int BackgroundOffsetOf(const BackgroundOffset& placement, int size, int image);

// The image's rectangles (in the box's coordinates, box at `box`) that meet `clip`. An image one
// pixel wide or high is stretched over the box on that axis; an empty image gives none.
std::vector<Rect> BackgroundTiles(const Rect& box, int imageWidth, int imageHeight,
                                  const BackgroundPlacement& placement, const Rect& clip);

}  // namespace htmlview
