// The dotted grid painted behind a designed form: one tile as wide as the screen (in whole grid
// steps) with a dot at every step, copied over the form's client area.
#pragma once

#include <vector>

#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/geometry.h"
#include "setup/ui/graphics.h"

namespace setup::ui {

class TCustomForm;

struct GridColors
{
    TColor background = clBtnFace;
    TColor dots = clBlack;
};

// The designer's colours, clNone taking the form's colour and font colour (button face and black
// without a form).
GridColors ResolveGridColors(TColor designerColor, TColor gridColor, const TCustomForm* form);

// Width: the screen width down to a whole number of steps; height: a whole number of steps.
TPoint GridTileSize(int screenWidth, int step);
htmlview::PixelImage MakeGridTile(int screenWidth, int step, htmlview::Rgb background,
                                  htmlview::Rgb dots);
// Where the tile's copies go: rows 0 to client height div tile height, columns likewise.
std::vector<TPoint> GridTileOrigins(TPoint tileSize, const TRect& client);

}  // namespace setup::ui
