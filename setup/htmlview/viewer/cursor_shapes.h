// The viewer's own cursors as pictures: the hand over links, the text beam, and the panning marks
// (up and down, up only, down only). The window turns them into system cursors.
#pragma once

#include <string>
#include <vector>

#include "setup/htmlview/viewer/viewer_window.h"

namespace htmlview {

// Rows of a 32 x 32 cursor: '#' black, '.' white, anything else transparent.
struct CursorShape
{
    int hotX = 0, hotY = 0;
    std::vector<std::string> rows;  // 32 rows of 32
};

// None for the cursors the system draws (default and arrow).
const CursorShape* ShapeOf(ViewerCursor cursor);

}  // namespace htmlview
