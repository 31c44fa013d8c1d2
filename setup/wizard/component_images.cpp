#include "setup/wizard/component_images.h"

#include "setup/ui/image_list.h"

namespace setup::wizard {

namespace {

using htmlview::PixelImage;
using htmlview::Rgb;

constexpr Rgb kOutline{64, 64, 64};
constexpr Rgb kCase{192, 192, 192};
constexpr Rgb kLight{0, 160, 0};
constexpr Rgb kCross{200, 0, 0};

PixelImage Blank()
{
    PixelImage image;
    image.Allocate(kComponentImageWidth, kComponentImageHeight, 24, 1 << 20);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.SetColor(x, y, ui::kImageListTransparent);
    return image;
}

void Box(PixelImage& image, int left, int top, int right, int bottom, Rgb fill)
{
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const bool edge = x == left || x == right || y == top || y == bottom;
            image.SetColor(x, y, edge ? kOutline : fill);
        }
}

// A drive's case with its light, its top-left corner given.
void Disk(PixelImage& image, int left, int top)
{
    Box(image, left, top, left + 11, top + 6, kCase);
    image.SetColor(left + 9, top + 4, kLight);
    image.SetColor(left + 8, top + 4, kLight);
}

void Cross(PixelImage& image, int left, int top)
{
    for (int i = 0; i < 9; ++i) {
        for (int thick = 0; thick < 2; ++thick) {
            image.SetColor(left + i + thick, top + i, kCross);
            image.SetColor(left + 8 - i + thick, top + i, kCross);
        }
    }
}

// The small arrow beside the picture: a menu opens here.
void DropMark(PixelImage& image)
{
    for (int row = 0; row < 3; ++row)
        for (int x = 20 + row; x <= 24 - row; ++x)
            image.SetColor(x, 7 + row, kOutline);
}

PixelImage WithDropMark(PixelImage image)
{
    DropMark(image);
    return image;
}

}  // namespace

std::vector<PixelImage> ComponentImages()
{
    PixelImage crossed = Blank();
    Cross(crossed, 3, 3);
    PixelImage crossedWithParts = Blank();
    Disk(crossedWithParts, 4, 7);
    Cross(crossedWithParts, 1, 1);
    PixelImage disk = Blank();
    Disk(disk, 2, 5);
    PixelImage disks = Blank();
    Disk(disks, 5, 2);
    Disk(disks, 2, 7);
    return {WithDropMark(crossed), WithDropMark(disk),  WithDropMark(crossed),
            WithDropMark(crossedWithParts), WithDropMark(disk), WithDropMark(disks)};
}

}  // namespace setup::wizard
