#include "setup/htmlview/images/image_screen_win32.h"

#include <gtest/gtest.h>

#include "setup/htmlview/tests/image_fixtures.h"

namespace {

using namespace htmlview;
using namespace htmlview::fixtures;

PixelImage Checker(int bits)
{
    PixelImage image;
    image.Allocate(5, 3, bits, UINT64_MAX);
    if (bits <= 8) {
        image.palette[0] = {0, 0, 0};
        image.palette[1] = {200, 10, 30};
    }
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            if (bits <= 8)
                image.SetIndex(x, y, (x + y) % 2);
            else
                image.SetColor(x, y, (x + y) % 2 ? Rgb{200, 10, 30} : Rgb{});
        }
    return image;
}

TEST(ImageScreen, ScreenColorsComeWithTheStaticColors)
{
    const ScreenColors screen = ReadScreenColors();
    EXPECT_TRUE(screen.depth == 4 || screen.depth == 8 || screen.depth == 24);
    ASSERT_EQ(screen.defaultPalette.size(), 20u);
    EXPECT_EQ(screen.defaultPalette[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(screen.defaultPalette[19], (Rgb{255, 255, 255}));
}

TEST(ImageScreen, PixelsSurviveTheTripThroughABitmap)
{
    for (int bits : {1, 4, 8, 24}) {
        const PixelImage image = Checker(bits);
        const core::UniqueGdiObject bitmap = CreateBitmapFromPixels(image);
        ASSERT_TRUE(bitmap) << bits;
        const PixelImage back = ReadBitmapPixels(static_cast<HBITMAP>(bitmap.Get()));
        ASSERT_EQ(back.width, 5);
        ASSERT_EQ(back.height, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(back.ColorAt(x, y), image.ColorAt(x, y)) << bits << ":" << x << "," << y;
    }
}

TEST(ImageScreen, MaskedDrawingKeepsTheBackgroundUnderTransparentPixels)
{
    PixelImage target;
    target.Allocate(5, 3, 24, UINT64_MAX);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            target.SetColor(x, y, {0, 90, 250});
    const core::UniqueGdiObject canvas = CreateBitmapFromPixels(target);
    const PixelImage image = Checker(24);  // black squares are the transparent ones
    const core::UniqueGdiObject bitmap = CreateBitmapFromPixels(image);
    const core::UniqueGdiObject mask = CreateBitmapFromPixels(MakeImageMask(image, Rgb{0, 0, 0}));
    core::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ old = SelectObject(dc.Get(), canvas.Get());
    ASSERT_TRUE(DrawImageWithMask(dc.Get(), static_cast<HBITMAP>(bitmap.Get()),
                                  static_cast<HBITMAP>(mask.Get()), 0, 0, 5, 3));
    SelectObject(dc.Get(), old);
    const PixelImage drawn = ReadBitmapPixels(static_cast<HBITMAP>(canvas.Get()));
    EXPECT_EQ(drawn.ColorAt(0, 0), (Rgb{0, 90, 250}));
    EXPECT_EQ(drawn.ColorAt(1, 0), (Rgb{200, 10, 30}));
    EXPECT_EQ(drawn.ColorAt(4, 2), (Rgb{0, 90, 250}));
    if (HasFailure())
        ADD_FAILURE() << "drawn: " << WriteFailurePicture("masked_draw", drawn);
}

}  // namespace
