#include "setup/ui/designer/design_grid.h"

#include <algorithm>

#include "setup/ui/form.h"

namespace setup::ui {

GridColors ResolveGridColors(TColor designerColor, TColor gridColor, const TCustomForm* form)
{
    GridColors colors;
    colors.background = designerColor != clNone ? designerColor
                        : form                  ? form->Color()
                                                : clBtnFace;
    colors.dots = gridColor != clNone ? gridColor : form ? form->Font()->Color() : clBlack;
    return colors;
}

TPoint GridTileSize(int screenWidth, int step)
{
    step = std::max(step, 1);
    // A few rows of steps keep the copies few without a large tile.
    const int height = step * std::max(1, 64 / step);
    return {std::max(step, screenWidth / step * step), height};
}

htmlview::PixelImage MakeGridTile(int screenWidth, int step, htmlview::Rgb background,
                                  htmlview::Rgb dots)
{
    step = std::max(step, 1);
    const TPoint size = GridTileSize(screenWidth, step);
    htmlview::PixelImage tile;
    tile.Allocate(size.x, size.y, 24, 64u << 20);
    for (int y = 0; y < size.y; ++y)
        for (int x = 0; x < size.x; ++x)
            tile.SetColor(x, y, background);
    for (int row = 0; row <= size.y / step; ++row)
        for (int column = 0; column <= size.x / step; ++column)
            if (column * step < size.x && row * step < size.y)
                tile.SetColor(column * step, row * step, dots);
    return tile;
}

std::vector<TPoint> GridTileOrigins(TPoint tileSize, const TRect& client)
{
    std::vector<TPoint> origins;
    if (tileSize.x <= 0 || tileSize.y <= 0)
        return origins;
    for (int row = 0; row <= client.Height() / tileSize.y; ++row)
        for (int column = 0; column <= client.Width() / tileSize.x; ++column)
            origins.push_back({client.left + column * tileSize.x, client.top + row * tileSize.y});
    return origins;
}

}  // namespace setup::ui
