#include "setup/ui/skin/blits.h"

#include <algorithm>

#include "setup/ui/skin/flat_glyphs.h"

namespace setup::ui::skin {

void DrawStretchedTransparent(htmlview::PixelImage& dest, const TRect& rect,
                              const htmlview::PixelImage& source, Rgb32 key)
{
    if (source.width <= 0 || source.height <= 0 || rect.Width() <= 0 || rect.Height() <= 0)
        return;
    key &= 0xFFFFFF;
    for (int y = 0; y < rect.Height(); ++y) {
        const int sy = y * source.height / rect.Height();
        for (int x = 0; x < rect.Width(); ++x) {
            const Rgb32 c = PixelAt(source, x * source.width / rect.Width(), sy);
            if (c != key)
                SetPixel(dest, rect.left + x, rect.top + y, c);
        }
    }
}

void DrawTiledTransparent(htmlview::PixelImage& dest, const TRect& rect,
                          const htmlview::PixelImage& source, Rgb32 key)
{
    if (source.width <= 0 || source.height <= 0)
        return;
    key &= 0xFFFFFF;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            const Rgb32 c =
                PixelAt(source, (x - rect.left) % source.width, (y - rect.top) % source.height);
            if (c != key)
                SetPixel(dest, x, y, c);
        }
}

void DrawTransparentOnCanvas(TCanvas& canvas, TPoint at, const htmlview::PixelImage& source,
                             Rgb32 key)
{
    if (!canvas.Device())
        return;
    key &= 0xFFFFFF;
    for (int y = 0; y < source.height; ++y) {
        int x = 0;
        while (x < source.width) {
            if (PixelAt(source, x, y) == key) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < source.width && PixelAt(source, x, y) != key)
                ++x;
            const TRect part{start, y, x, y + 1};
            canvas.Device()->DrawImage(part.Offset(at.x, at.y), CropPixels(source, part));
        }
    }
}

htmlview::PixelImage EmbossedImage(const htmlview::PixelImage& source, Rgb32 key, Rgb32 face,
                                   Rgb32 highlight, Rgb32 shadow)
{
    key &= 0xFFFFFF;
    htmlview::PixelImage image = NewPixels(source.width, source.height, face);
    for (const auto& [offset, colour] : {std::pair{1, highlight}, std::pair{0, shadow}})
        for (int y = 0; y < source.height; ++y)
            for (int x = 0; x < source.width; ++x)
                if (PixelAt(source, x, y) != key)
                    SetPixel(image, x + offset, y + offset, colour);
    return image;
}

htmlview::PixelImage DownPattern(Rgb32 face, int width, int height)
{
    htmlview::PixelImage image = NewPixels(width, height, face);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (x % 2 == y % 2)
                SetPixel(image, x, y, MakeRgb(255, 255, 255));
    return image;
}

}  // namespace setup::ui::skin
