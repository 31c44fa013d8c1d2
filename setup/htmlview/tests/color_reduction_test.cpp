#include "setup/htmlview/images/color_reduction.h"

#include <gtest/gtest.h>

#include "setup/htmlview/images/global_palette.h"

namespace {

using namespace htmlview;

PixelImage Filled(int width, int height, Rgb color)
{
    PixelImage image;
    image.Allocate(width, height, 24, UINT64_MAX);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetColor(x, y, color);
    return image;
}

TEST(WebSafeLookup, RoundsEachComponentToItsLevel)
{
    struct Case
    {
        Rgb color;
        int index;
        Rgb found;
    };
    const Case cases[] = {
        {{255, 255, 255}, 215, {255, 255, 255}},
        {{27, 27, 27}, 0, {0, 0, 0}},
        {{48, 0, 0}, 36, {51, 0, 0}},
        {{0, 47, 100}, 2, {0, 0, 102}},
    };
    WebSafeLookup lookup;
    for (const Case& c : cases) {
        Rgb found;
        EXPECT_EQ(lookup.Lookup(c.color, found), c.index);
        EXPECT_EQ(found, c.found);
    }
}

TEST(InverseTableLookup, LowerIndexOwnsACellAndSearchesFindTheClosest)
{
    InverseTableLookup lookup({{8, 8, 8}, {9, 9, 9}, {255, 255, 255}, {200, 0, 0}});
    struct Case
    {
        Rgb color;
        int index;
    };
    const Case cases[] = {{{9, 9, 9}, 0}, {{200, 200, 200}, 2}, {{180, 30, 10}, 3}, {{0, 0, 0}, 0}};
    for (const Case& c : cases) {
        Rgb found;
        EXPECT_EQ(lookup.Lookup(c.color, found), c.index);
    }
}

TEST(OctreeQuantizer, FewColorsStayExact)
{
    PixelImage image;
    image.Allocate(10, 1, 24, UINT64_MAX);
    std::vector<Rgb> colors;
    for (int i = 0; i < 10; ++i) {
        colors.push_back({static_cast<std::uint8_t>(i * 25), static_cast<std::uint8_t>(i * 3),
                          static_cast<std::uint8_t>(255 - i * 20)});
        image.SetColor(i, 0, colors.back());
    }
    const auto palette = OptimizedPalette(image, 256, 8, true, std::vector<Rgb>(20, {1, 2, 3}));
    ASSERT_EQ(palette.size(), 256u);
    for (const Rgb& c : colors)
        EXPECT_NE(std::find(palette.begin() + 10, palette.begin() + 246, c), palette.begin() + 246);
    EXPECT_EQ(palette[0], (Rgb{1, 2, 3}));
    EXPECT_EQ(palette[255], (Rgb{1, 2, 3}));
}

TEST(OctreeQuantizer, MergesTheDeepestNodesPastTheLimit)
{
    OctreeQuantizer quantizer(2);
    quantizer.Add({0, 0, 0});
    quantizer.Add({0, 0, 2});  // a sibling of the first down to the last level
    quantizer.Add({255, 255, 255});
    const auto colors = quantizer.Colors();
    ASSERT_EQ(colors.size(), 2u);
    EXPECT_EQ(colors[0], (Rgb{0, 0, 1}));
    EXPECT_EQ(colors[1], (Rgb{255, 255, 255}));
}

TEST(ReduceColors, FloydSteinbergKeepsTheAverageWhereNearestCannot)
{
    const PixelImage grey = Filled(16, 16, {128, 128, 128});
    const std::vector<Rgb> blackWhite = {{0, 0, 0}, {255, 255, 255}};
    struct Case
    {
        DitherKind dither;
        int minWhite, maxWhite;
    };
    const Case cases[] = {{DitherKind::Nearest, 256, 256}, {DitherKind::FloydSteinberg, 120, 136}};
    for (const Case& c : cases) {
        const PixelImage reduced = ReduceColors(grey, blackWhite, c.dither);
        int white = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                white += reduced.IndexAt(x, y);
        EXPECT_GE(white, c.minWhite);
        EXPECT_LE(white, c.maxWhite);
    }
}

TEST(ReduceColors, WebSafeUsesTheCubeIndexes)
{
    const PixelImage image = Filled(3, 2, {255, 0, 51});
    const PixelImage reduced = ReduceColors(image, WebSafePalette(), DitherKind::Nearest, true);
    EXPECT_EQ(reduced.bitsPerPixel, 8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(reduced.IndexAt(x, y), 5 * 36 + 1);
    EXPECT_EQ(reduced.ColorAt(0, 0), (Rgb{255, 0, 51}));
}

TEST(BuildGlobalPalette, CubeGreysAndStaticColors)
{
    std::vector<Rgb> defaults;
    for (int i = 0; i < 20; ++i)
        defaults.push_back({static_cast<std::uint8_t>(i), 0, 0});
    std::vector<Rgb> system(256, Rgb{});
    system[3] = {7, 7, 7};
    struct Case
    {
        const std::vector<Rgb>& system;
        Rgb first, last;
    };
    const Case cases[] = {{std::vector<Rgb>(256), {0, 0, 0}, {19, 0, 0}},  // true-colour screen
                          {system, {0, 0, 0}, {0, 0, 0}}};
    for (const Case& c : cases) {
        const auto palette = BuildGlobalPalette(c.system, defaults);
        EXPECT_EQ(palette[0], c.first);
        EXPECT_EQ(palette[255], c.last);
        EXPECT_EQ(palette[10], (Rgb{55, 55, 55}));
        EXPECT_EQ(palette[11], (Rgb{115, 55, 55}));
        EXPECT_EQ(palette[224], (Rgb{235, 255, 255}));
        EXPECT_EQ(palette[225], (Rgb{135, 135, 135}));
        EXPECT_EQ(palette[244], (Rgb{245, 245, 245}));  // 250 falls under entry 245
        EXPECT_EQ(palette[245], (Rgb{255, 255, 254}));
    }
    EXPECT_EQ(BuildGlobalPalette(system, defaults)[3], (Rgb{7, 7, 7}));
    EXPECT_EQ(BuildGlobalPalette(std::vector<Rgb>(256), defaults)[9], (Rgb{9, 0, 0}));
    EXPECT_EQ(BuildGlobalPalette(std::vector<Rgb>(256), defaults)[246], (Rgb{10, 0, 0}));
}

}  // namespace
