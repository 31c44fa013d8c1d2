// The skinned controls' bitmap drawing on pixel images: colour-keyed copies that stretch or tile
// a bitmap (the destination shows through wherever the key colour was), the embossed image of a
// disabled button, the 8 x 8 pattern of a button that stays down, and the keyed copy onto a
// canvas.
#pragma once

#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/canvas.h"
#include "setup/ui/geometry.h"
#include "setup/ui/skin/colors.h"

namespace setup::ui::skin {

// The source scaled to the rectangle (nearest pixel), key-coloured pixels left out.
void DrawStretchedTransparent(htmlview::PixelImage& dest, const TRect& rect,
                              const htmlview::PixelImage& source, Rgb32 key);
// The source at its size, repeated from the rectangle's top-left corner, clipped to it.
void DrawTiledTransparent(htmlview::PixelImage& dest, const TRect& rect,
                          const htmlview::PixelImage& source, Rgb32 key);
// The source's non-key pixels on a canvas, one image per run of them on a row.
void DrawTransparentOnCanvas(TCanvas& canvas, TPoint at, const htmlview::PixelImage& source,
                             Rgb32 key);

// Every pixel other than the key turned to one colour and drawn twice, the highlight copy one
// pixel down and right, then the shadow copy, on the face colour.
htmlview::PixelImage EmbossedImage(const htmlview::PixelImage& source, Rgb32 key, Rgb32 face,
                                   Rgb32 highlight, Rgb32 shadow);
// The 8 x 8 pattern of a button that stays down, repeated over the size: the face with white
// pixels where the row and the column are both even or both odd.
htmlview::PixelImage DownPattern(Rgb32 face, int width, int height);

}  // namespace setup::ui::skin
