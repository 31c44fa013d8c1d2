#include <gtest/gtest.h>

#include "setup/htmlview/images/png_reader.h"
#include "setup/htmlview/images/png_writer.h"
#include "setup/htmlview/tests/image_fixtures.h"

namespace {

using namespace htmlview;
using namespace htmlview::fixtures;

void ExpectColors(const PixelImage& image, const ExpectedImage& expected)
{
    ASSERT_EQ(image.width, expected.width);
    ASSERT_EQ(image.height, expected.height);
    int wrong = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 3;
            const Rgb want{expected.values[at], expected.values[at + 1], expected.values[at + 2]};
            if (!(image.ColorAt(x, y) == want) && wrong++ < 3)
                ADD_FAILURE() << "pixel " << x << "," << y;
        }
    EXPECT_EQ(wrong, 0);
}

TEST(LoadPng, EveryColorTypeAndDepthShowsTheScriptsColors)
{
    struct Case
    {
        const char* stem;
        int bits;
    };
    const Case cases[] = {
        {"type0_depth1", 1},  {"type0_depth2", 4},  {"type0_depth4", 4},   {"type0_depth8", 8},
        {"type0_depth16", 8}, {"type2_depth8", 24}, {"type2_depth16", 24}, {"type3_depth1", 1},
        {"type3_depth2", 4},  {"type3_depth4", 4},  {"type3_depth8", 8},   {"type4_depth8", 8},
        {"type4_depth16", 8}, {"type6_depth8", 24}, {"type6_depth16", 24},
    };
    for (const Case& c : cases) {
        for (const char* suffix : {"", "_interlaced"}) {
            const std::string stem = std::string(c.stem) + suffix;
            SCOPED_TRACE(stem);
            const PngImage png = LoadPng(ReadImageFixture(stem + ".png"));
            EXPECT_EQ(png.image.bitsPerPixel, c.bits);
            ExpectColors(png.image, ExpectedColors(stem));
        }
    }
}

TEST(LoadPng, ChunkVariantsLoadTheSamePixels)
{
    for (const char* stem : {"split_idat", "unknown_ancillary", "gamma_identity", "gamma_zero",
                             "rgb_short_trns", "palette_trns"}) {
        SCOPED_TRACE(stem);
        const PngImage png = LoadPng(ReadImageFixture(std::string(stem) + ".png"));
        ExpectColors(png.image, ExpectedColors(stem));
        EXPECT_FALSE(png.transparent);
    }
}

TEST(LoadPng, RgbTransparencyNamesTheColor)
{
    const PngImage png = LoadPng(ReadImageFixture("rgb_trns_green.png"));
    EXPECT_TRUE(png.transparent);
    EXPECT_EQ(png.transparentColor, (Rgb{0, 255, 0}));
}

TEST(LoadPng, RefusesBrokenFiles)
{
    struct Case
    {
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        {"bad_crc.png", "it has corrupted data"},
        {"unknown_critical.png", "critical(s) chunk(s)"},
        {"short_ihdr.png", "the IHDR chunk"},
        {"huge_ihdr.png", "size is out of range"},
        {"truncated_idat.png", "ends before the image is complete"},
        {"no_idat.png", "has no data"},
        {"bad_signature.png", "invalid file header"},
        {"bad_filter.png", "unknown set of filter types"},
        {"palette_missing.png", "requeries a palette"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        try {
            LoadPng(ReadImageFixture(c.file));
            ADD_FAILURE() << "loaded";
        } catch (const PngError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("Portable Network Graphics format handler error\r\n\r\n", 0),
                      0u);
            EXPECT_NE(message.find(c.message), std::string::npos) << message;
        }
    }
}

TEST(SavePng, RoundTripsEveryFormat)
{
    for (const char* stem : {"type2_depth8", "type3_depth1", "type3_depth4", "type3_depth8",
                             "type0_depth2", "type0_depth16_interlaced"}) {
        SCOPED_TRACE(stem);
        const PngImage original = LoadPng(ReadImageFixture(std::string(stem) + ".png"));
        for (unsigned filters : {1u, kPngDefaultFilters, 0b11111u}) {
            const PngImage again = LoadPng(SavePng(original.image, nullptr, filters));
            EXPECT_EQ(again.image.bitsPerPixel, original.image.bitsPerPixel);
            ExpectColors(again.image, ExpectedColors(stem));
        }
    }
    const PngImage green = LoadPng(ReadImageFixture("rgb_trns_green.png"));
    const Rgb key{0, 255, 0};
    const PngImage again = LoadPng(SavePng(green.image, &key));
    EXPECT_TRUE(again.transparent);
    EXPECT_EQ(again.transparentColor, key);
}

TEST(ChoosePngFilter, PicksTheMostRepetitiveRowAndPrefersEarlierOnTies)
{
    const std::vector<std::uint8_t> zeros(12, 0);
    const std::vector<std::uint8_t> ramp = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const std::vector<std::uint8_t> flat(12, 7);
    struct Case
    {
        std::vector<std::uint8_t> row, previous;
        unsigned filters;
        int chosen;
    };
    const Case cases[] = {
        {ramp, zeros, kPngDefaultFilters, 1},  // Sub turns a ramp into ones
        {ramp, zeros, 1u, 0},                  // None alone
        {flat, zeros, kPngDefaultFilters, 0},  // already repetitive: None wins the tie
        {ramp, ramp, 0b00101u, 2},             // Up against an equal row gives zeros
        {{1, 9, 3, 200, 5, 77}, zeros, kPngDefaultFilters, 0},  // nothing repeats
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChoosePngFilter(c.row, c.previous, 1, c.filters), c.chosen);
}

}  // namespace
