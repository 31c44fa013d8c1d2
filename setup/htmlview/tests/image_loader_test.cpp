#include "setup/htmlview/images/image_loader.h"

#include <gtest/gtest.h>

#include "setup/htmlview/images/global_palette.h"
#include "setup/htmlview/images/image_cache.h"
#include "setup/htmlview/images/png_writer.h"
#include "setup/htmlview/tests/image_fixtures.h"

namespace {

using namespace htmlview;
using namespace htmlview::fixtures;

std::vector<std::uint8_t> Bytes(const char* text)
{
    return {text, text + std::char_traits<char>::length(text)};
}

TEST(ImageKindOf, FromTheFirstBytes)
{
    struct Case
    {
        std::vector<std::uint8_t> bytes;
        ImageKind kind;
    };
    const Case cases[] = {
        {Bytes("BM......"), ImageKind::Bmp},     {Bytes("GIF87a.."), ImageKind::Gif87},
        {Bytes("GIF89a.."), ImageKind::Gif89},   {Bytes("GIF8"), ImageKind::Other},
        {{0x89, 'P', 'N', 'G'}, ImageKind::Png}, {{0xFF, 0xD8, 0xFF}, ImageKind::Jpeg},
        {Bytes("<html>.."), ImageKind::Other},   {{}, ImageKind::Other},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageKindOf(c.bytes), c.kind);
}

TEST(FindPngTransparentColor, OnlyAFullyTransparentPaletteEntry)
{
    EXPECT_EQ(FindPngTransparentColor(ReadImageFixture("palette_trns.png")), (Rgb{1, 2, 3}));
    for (const char* file :
         {"alpha_type6.png", "rgb_trns_green.png", "type3_depth8.png", "still.gif"})
        EXPECT_FALSE(FindPngTransparentColor(ReadImageFixture(file))) << file;
    // A tRNS longer than a palette can be ends the scan.
    auto longTrns = ReadImageFixture("palette_trns.png");
    const std::uint8_t pattern[] = {0, 0, 0, 4, 't', 'R', 'N', 'S'};
    const auto at = std::search(longTrns.begin(), longTrns.end(), pattern, pattern + 8);
    ASSERT_NE(at, longTrns.end());
    at[2] = 0x01;  // 260 bytes
    EXPECT_FALSE(FindPngTransparentColor(longTrns));
}

TEST(LoadImageFromBytes, KindsTransparencyAndMasks)
{
    const ScreenColors trueColor;
    struct Case
    {
        const char* file;
        int transparencyIn, transparencyOut;
        bool loads, masked;
    };
    const Case cases[] = {
        {"palette_trns.png", 0, kOneColor, true, true},
        {"type6_depth8.png", 0, 0, true, false},
        {"type2_depth8.png", kLowerLeftCorner, kLowerLeftCorner, true, true},
        {"still.gif", 0, 0, false, false},
        {"bad_crc.png", 0, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        int transparency = c.transparencyIn;
        const auto loaded = LoadImageFromBytes(ReadImageFixture(c.file), transparency, trueColor);
        EXPECT_EQ(loaded.has_value(), c.loads);
        EXPECT_EQ(transparency, c.transparencyOut);
        if (loaded) {
            EXPECT_EQ(loaded->mask.has_value(), c.masked);
        }
    }
    int jpegTransparency = kLowerLeftCorner;
    const auto jpeg = LoadImageFromBytes(EncodeJpeg(16, 8, {0, 0, 0}, {250, 250, 250}, false),
                                         jpegTransparency, trueColor);
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpegTransparency, kNoTransparency);
    EXPECT_FALSE(jpeg->mask);
    EXPECT_EQ(jpeg->image.bitsPerPixel, 24);

    int transparency = 0;
    const auto palette =
        LoadImageFromBytes(ReadImageFixture("palette_trns.png"), transparency, trueColor);
    ASSERT_TRUE(palette);
    // Index 3 is the transparent one: masked and black; the others stay opaque with colour.
    EXPECT_EQ(palette->mask->IndexAt(0, 1), 0);
    EXPECT_EQ(palette->mask->IndexAt(1, 1), 0);
    EXPECT_EQ(palette->mask->IndexAt(2, 1), 1);
    EXPECT_EQ(palette->image.ColorAt(2, 1), (Rgb{}));
    EXPECT_EQ(palette->image.ColorAt(1, 1), (Rgb{70, 80, 90}));
}

TEST(LoadImageFromBytes, NineteenBytesAreTooFewAndTwentyAreTried)
{
    const auto png = ReadImageFixture("type2_depth8.png");
    int transparency = 0;
    EXPECT_FALSE(LoadImageFromBytes({png.data(), 19}, transparency, {}));
    const std::vector<std::uint8_t> header(20, 0);
    std::vector<std::uint8_t> bm = header;
    bm[0] = 'B';
    bm[1] = 'M';
    EXPECT_FALSE(LoadImageFromBytes(bm, transparency, {}));
}

TEST(LoadBmp, ReadsBottomUpRowsAndPalettes)
{
    // A 2x2 8-bit BMP: palette red, green; rows stored bottom-up.
    std::vector<std::uint8_t> bmp(14 + 40 + 8 + 8, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[10] = 62;
    bmp[14] = 40;
    bmp[18] = 2;
    bmp[22] = 2;
    bmp[26] = 1;
    bmp[28] = 8;
    bmp[46] = 2;
    const std::uint8_t palette[] = {0, 0, 255, 0, 0, 255, 0, 0};
    std::copy(std::begin(palette), std::end(palette), bmp.begin() + 54);
    bmp[62] = 1;  // bottom row: green, red
    bmp[66] = 0;  // top row: red, green
    bmp[67] = 1;
    const PixelImage image = LoadBmp(bmp, 1 << 20);
    EXPECT_EQ(image.ColorAt(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(image.ColorAt(1, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(image.ColorAt(0, 1), (Rgb{0, 255, 0}));
    EXPECT_EQ(image.ColorAt(1, 1), (Rgb{255, 0, 0}));
    bmp.resize(bmp.size() - 1);
    EXPECT_THROW(LoadBmp(bmp, 1 << 20), ImageError);
}

TEST(ConvertForScreen, PaletteScreensGetTheSharedPalette)
{
    const auto png = ReadImageFixture("type2_depth8.png");
    std::vector<Rgb> defaults(20, Rgb{});
    defaults[19] = {255, 255, 255};
    ScreenColors eightBit{8, BuildGlobalPalette(std::vector<Rgb>(256), defaults), defaults};
    int transparency = 0;
    const auto loaded = LoadImageFromBytes(png, transparency, eightBit);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->image.bitsPerPixel, 8);
    EXPECT_EQ(loaded->image.palette, eightBit.globalPalette);
    const auto deep = LoadImageFromBytes(png, transparency, ScreenColors{});
    EXPECT_EQ(deep->image.bitsPerPixel, 24);
}

TEST(StretchBackgroundImage, OnePixelSidesGrowToAtMostAHundred)
{
    PixelImage column;
    column.Allocate(1, 2, 24, UINT64_MAX);
    column.SetColor(0, 0, {255, 0, 0});
    column.SetColor(0, 1, {0, 0, 255});
    struct Case
    {
        int wantedWidth, wantedHeight;
        int width, height;
    };
    const Case cases[] = {{300, 300, 100, 2}, {40, 7, 40, 2}, {0, 0, 1, 2}};
    for (const Case& c : cases) {
        const PixelImage wide = StretchBackgroundImage(column, c.wantedWidth, c.wantedHeight);
        EXPECT_EQ(wide.width, c.width);
        EXPECT_EQ(wide.height, c.height);
        EXPECT_EQ(wide.ColorAt(wide.width - 1, 0), (Rgb{255, 0, 0}));
        EXPECT_EQ(wide.ColorAt(wide.width - 1, 1), (Rgb{0, 0, 255}));
    }
}

TEST(ImageCache, AgesOutImagesNoDocumentUses)
{
    struct Case
    {
        int limit;
        int agingsKept;  // an unused image survives this many loads and goes at the next
    };
    const Case cases[] = {{5, 5}, {0, 0}, {4, 4}};
    for (const Case& c : cases) {
        ImageCache cache;
        cache.SetLimit(c.limit);
        cache.Add("A.GIF", {});
        cache.Add("B.GIF", {});
        cache.Release("A.GIF");  // B stays in use
        for (int i = 0; i < c.agingsKept; ++i)
            cache.Age();
        EXPECT_TRUE(cache.Contains("A.GIF")) << c.limit;
        cache.Age();
        EXPECT_FALSE(cache.Contains("A.GIF")) << c.limit;
        EXPECT_TRUE(cache.Contains("B.GIF")) << c.limit;
    }
}

TEST(ImageCache, TakingResetsIdlenessAndLoweringTheLimitFrees)
{
    ImageCache cache;
    cache.Add("A", {});
    cache.Release("A");
    cache.Age();
    cache.Age();
    ASSERT_TRUE(cache.Take("A"));
    EXPECT_EQ(cache.Take("A")->idle, 0);
    cache.Release("A");
    cache.Release("A");
    cache.Age();
    cache.Age();
    cache.SetLimit(2);
    EXPECT_TRUE(cache.Contains("A"));
    cache.SetLimit(1);
    EXPECT_FALSE(cache.Contains("A"));
    EXPECT_FALSE(cache.Take("A"));
}

}  // namespace
