#include "setup/htmlview/layout/background_tiles.h"

#include <algorithm>

namespace htmlview {

namespace {

// The starts of the copies along one axis that meet [visibleFrom, visibleTo).
std::vector<int> AxisStarts(int size, int image, const BackgroundOffset& placement, bool repeat,
                            int visibleFrom, int visibleTo)
{
    std::vector<int> starts;
    const int offset = BackgroundOffsetOf(placement, size, image);
    if (!repeat) {
        if (offset < visibleTo && offset + image > visibleFrom)
            starts.push_back(offset);
        return starts;
    }
    int start = offset > 0 ? offset - (offset + image - 1) / image * image : offset;
    // Skip the copies above the visible part at once.
    if (start + image <= visibleFrom)
        start += (visibleFrom - start) / image * image;
    for (; start < std::min(size, visibleTo); start += image)
        starts.push_back(start);
    return starts;
}

}  // namespace

int BackgroundOffsetOf(const BackgroundOffset& placement, int size, int image)
{
    long long offset = 0;
    switch (placement.kind) {
        case BackgroundOffset::Kind::Centered:
            offset = (size - image) / 2;
            break;
        case BackgroundOffset::Kind::Percent:
            offset = static_cast<long long>(size - image) * placement.value / 100;
            break;
        case BackgroundOffset::Kind::Pixels:
            offset = placement.value;
            break;
    }
    return static_cast<int>(std::clamp<long long>(offset, -image, size));
}

std::vector<Rect> BackgroundTiles(const Rect& box, int imageWidth, int imageHeight,
                                  const BackgroundPlacement& placement, const Rect& clip)
{
    std::vector<Rect> tiles;
    const int width = box.Width(), height = box.Height();
    if (imageWidth <= 0 || imageHeight <= 0 || width <= 0 || height <= 0)
        return tiles;
    if (imageWidth == 1)
        imageWidth = width;
    if (imageHeight == 1)
        imageHeight = height;
    const std::vector<int> xs = AxisStarts(width, imageWidth, placement.x, placement.repeatX,
                                           clip.left - box.left, clip.right - box.left);
    const std::vector<int> ys = AxisStarts(height, imageHeight, placement.y, placement.repeatY,
                                           clip.top - box.top, clip.bottom - box.top);
    for (const int y : ys)
        for (const int x : xs)
            tiles.push_back(
                {box.left + x, box.top + y, box.left + x + imageWidth, box.top + y + imageHeight});
    return tiles;
}

}  // namespace htmlview
