// Turns the bytes of a BMP, PNG or JPEG image into pixels suited to the screen, with the
// transparency mask its transparency code asks for. GIFs go through the animated image.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "setup/htmlview/images/pixel_image.h"

namespace htmlview {

enum class ImageKind
{
    Other,
    Bmp,
    Gif87,
    Gif89,
    Png,
    Jpeg
};

ImageKind ImageKindOf(std::span<const std::uint8_t> data);

// Transparency codes callers pass in and get back.
enum Transparency : int
{
    kNoTransparency = 0,
    kLowerLeftCorner = 1,  // the bottom-left pixel's colour is transparent
    kGifMask = 2,
    kOneColor = 3,  // a palette PNG names a fully transparent colour
};

// The colour of the first fully transparent palette entry of a palette PNG.
std::optional<Rgb> FindPngTransparentColor(std::span<const std::uint8_t> data);

// A 1-bit mask, 1 where the image has the key colour (its bottom-left pixel's without one).
PixelImage MakeImageMask(const PixelImage& image, std::optional<Rgb> key);

// An uncompressed BMP file of 1, 4, 8, 24 or 32 bits per pixel.
PixelImage LoadBmp(std::span<const std::uint8_t> data, std::uint64_t maxPixelBytes);

// What the loader needs to know about the screen.
struct ScreenColors
{
    int depth = 24;                   // 4, 8 or 24
    std::vector<Rgb> globalPalette;   // at depth 8
    std::vector<Rgb> defaultPalette;  // the system's 20 static colours
};

// Palette screens get every image reduced to the shared palette; deeper screens keep it.
PixelImage ConvertForScreen(PixelImage image, const ScreenColors& screen);

// A background image one pixel wide or high is widened (or heightened) to at most 100 pixels
// towards the wanted size, so that tiling it costs fewer copies.
PixelImage StretchBackgroundImage(const PixelImage& image, int wantedWidth, int wantedHeight);

struct LoadedImage
{
    PixelImage image;
    std::optional<PixelImage> mask;
};

// None for fewer than 20 bytes, GIFs, unknown kinds and anything that does not decode.
std::optional<LoadedImage> LoadImageFromBytes(std::span<const std::uint8_t> data, int& transparency,
                                              const ScreenColors& screen);

}  // namespace htmlview
