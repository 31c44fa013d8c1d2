#include "setup/htmlview/images/animated_image_win32.h"

#include <cstring>

#include "setup/htmlview/images/image_screen_win32.h"

namespace htmlview {
namespace {

// The ternary raster operation "destination AND NOT source".
constexpr DWORD kAndNotSource = 0x00220326;

core::UniqueGdiObject BitmapFromBmp(const std::vector<std::uint8_t>& bmp)
{
    if (bmp.size() < kBmpHeaderBytes)
        return core::UniqueGdiObject();
    BITMAPINFOHEADER header{};
    std::memcpy(&header, bmp.data() + 14, sizeof header);
    void* bits = nullptr;
    core::UniqueGdiObject bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header),
                                                  DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits)
        std::memcpy(bits, bmp.data() + kBmpHeaderBytes, bmp.size() - kBmpHeaderBytes);
    return bitmap;
}

}  // namespace

StripBitmaps MakeStripBitmaps(const GifStrip& strip)
{
    StripBitmaps bitmaps;
    bitmaps.color = BitmapFromBmp(strip.colorBmp);
    if (strip.HasMask())
        bitmaps.mask = BitmapFromBmp(strip.maskBmp);
    return bitmaps;
}

bool DrawStripPart(HDC target, const StripBitmaps& strip, const ImageRect& destination,
                   const ImageRect& source)
{
    const int sourceWidth = source.right - source.left;
    const int sourceHeight = source.bottom - source.top;
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    core::UniqueMemoryDc sourceDc(CreateCompatibleDC(target));
    if (!sourceDc || !strip.color)
        return false;
    const int oldMode = SetStretchBltMode(target, COLORONCOLOR);
    bool drawn;
    if (!strip.mask) {
        SelectGuard color(sourceDc.Get(), strip.color.Get());
        drawn = StretchBlt(target, destination.left, destination.top, width, height, sourceDc.Get(),
                           source.left, source.top, sourceWidth, sourceHeight, SRCCOPY) != 0;
    } else {
        // The cell's colours with its transparent pixels turned black, so they OR in as nothing.
        core::UniqueMemoryDc cellDc(CreateCompatibleDC(target));
        core::UniqueGdiObject cell(CreateCompatibleBitmap(target, sourceWidth, sourceHeight));
        drawn = cellDc && cell;
        if (drawn) {
            SelectGuard selectCell(cellDc.Get(), cell.Get());
            {
                SelectGuard color(sourceDc.Get(), strip.color.Get());
                drawn = BitBlt(cellDc.Get(), 0, 0, sourceWidth, sourceHeight, sourceDc.Get(),
                               source.left, source.top, SRCCOPY) != 0;
            }
            SelectGuard mask(sourceDc.Get(), strip.mask.Get());
            drawn =
                drawn &&
                BitBlt(cellDc.Get(), 0, 0, sourceWidth, sourceHeight, sourceDc.Get(), source.left,
                       source.top, kAndNotSource) != 0 &&
                StretchBlt(target, destination.left, destination.top, width, height, sourceDc.Get(),
                           source.left, source.top, sourceWidth, sourceHeight, SRCAND) != 0 &&
                StretchBlt(target, destination.left, destination.top, width, height, cellDc.Get(),
                           0, 0, sourceWidth, sourceHeight, SRCPAINT) != 0;
        }
    }
    SetStretchBltMode(target, oldMode);
    return drawn;
}

bool DrawAnimatedImage(HDC target, AnimatedImage& image, const StripBitmaps& strip,
                       const ImageRect& destination)
{
    const ImageRect source = image.PrepareDraw(destination);
    if (!image.visible || image.FrameCount() == 0)
        return true;
    image.drawn = true;
    return DrawStripPart(target, strip, destination, source);
}

}  // namespace htmlview
