// The one palette every image shares on a 256-colour screen: the system's static colours at both
// ends, a colour cube and a grey ramp between.
#pragma once

#include <vector>

#include "setup/htmlview/images/pixel_image.h"

namespace htmlview {

// systemPalette: the screen's 256 entries; defaultPalette: the system's 20 static colours. On a
// true-colour screen the system palette reads as zeros, so the static colours come from the
// default palette then.
std::vector<Rgb> BuildGlobalPalette(const std::vector<Rgb>& systemPalette,
                                    const std::vector<Rgb>& defaultPalette);

}  // namespace htmlview
