// The pictures of the component tree and its pop-up menu, drawn here: a local disk for a part that
// will be installed, two for a whole feature, a red cross for one that will not, each with the
// drop-down mark that says a menu opens on it.
#pragma once

#include <vector>

#include "setup/htmlview/images/pixel_image.h"

namespace setup::wizard {

inline constexpr int kComponentImageWidth = 32;
inline constexpr int kComponentImageHeight = 16;

// In image-index order: not installed, installed, unavailable, unavailable with its parts,
// installed locally, installed with its parts.
std::vector<htmlview::PixelImage> ComponentImages();

}  // namespace setup::wizard
