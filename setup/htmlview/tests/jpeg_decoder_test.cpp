#include "setup/htmlview/images/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

using namespace htmlview;

// Encodes a picture with libjpeg itself: the left half one colour, the right half another.
std::vector<std::uint8_t> EncodeJpeg(int width, int height, Rgb left, Rgb right, bool grey)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        const Rgb& c = x < width / 2 ? left : right;
        if (grey) {
            row[static_cast<std::size_t>(x)] = c.red;
        } else {
            row[static_cast<std::size_t>(x) * 3] = c.red;
            row[static_cast<std::size_t>(x) * 3 + 1] = c.green;
            row[static_cast<std::size_t>(x) * 3 + 2] = c.blue;
        }
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

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
