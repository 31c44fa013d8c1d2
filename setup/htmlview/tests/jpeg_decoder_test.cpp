#include "setup/htmlview/images/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "setup/htmlview/tests/image_fixtures.h"

namespace {

using namespace htmlview;
using namespace htmlview::fixtures;

bool Near(Rgb a, Rgb b)
{
    return std::abs(a.red - b.red) <= 6 && std::abs(a.green - b.green) <= 6 &&
           std::abs(a.blue - b.blue) <= 6;
}

TEST(DecodeJpeg, TrueColourOutputKeepsTheColours)
{
    const Rgb orange{240, 120, 16}, teal{16, 128, 128};
    const PixelImage image = DecodeJpeg(EncodeJpeg(32, 16, orange, teal, false));
    ASSERT_EQ(image.bitsPerPixel, 24);
    ASSERT_EQ(image.width, 32);
    ASSERT_EQ(image.height, 16);
    EXPECT_TRUE(Near(image.ColorAt(2, 3), orange));
    EXPECT_TRUE(Near(image.ColorAt(29, 12), teal));
}

TEST(DecodeJpeg, EightBitOutputUsesGreysOrTheGivenPalette)
{
    const std::vector<Rgb> palette = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {255, 255, 255}};
    JpegRequest request;
    request.eightBit = true;
    request.palette = &palette;
    const PixelImage colours =
        DecodeJpeg(EncodeJpeg(32, 16, {250, 5, 5}, {5, 5, 250}, false), request);
    ASSERT_EQ(colours.bitsPerPixel, 8);
    EXPECT_EQ(colours.IndexAt(1, 1), 1);
    EXPECT_EQ(colours.IndexAt(30, 14), 2);
    EXPECT_EQ(colours.palette[3], (Rgb{255, 255, 255}));

    const PixelImage greys = DecodeJpeg(EncodeJpeg(16, 8, {40, 0, 0}, {200, 0, 0}, true), request);
    ASSERT_EQ(greys.bitsPerPixel, 8);
    EXPECT_NEAR(greys.IndexAt(1, 1), 40, 4);
    EXPECT_EQ(greys.palette[200], (Rgb{200, 200, 200}));
}

TEST(DecodeJpeg, RefusesWhatIsNoJpegOrTooLarge)
{
    auto huge = EncodeJpeg(16, 16, {1, 2, 3}, {4, 5, 6}, false);
    JpegRequest small;
    small.maxPixelBytes = 16 * 3 * 15;
    const std::vector<std::uint8_t> notJpeg = {0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3};
    EXPECT_THROW(DecodeJpeg(notJpeg), ImageError);
    EXPECT_THROW(DecodeJpeg({}), ImageError);
    EXPECT_THROW(DecodeJpeg(huge, small), ImageError);
    small.maxPixelBytes = 16 * 3 * 16;
    EXPECT_NO_THROW(DecodeJpeg(huge, small));
}

}  // namespace
