// The image fixtures the build writes with tests/make_image_fixtures.py, and the pixels the script
// says they hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/htmlview/images/pixel_image.h"

namespace htmlview::fixtures {

std::vector<std::uint8_t> ReadImageFixture(const std::string& name);

struct ExpectedImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> values;  // one index per pixel, or red, green, blue per pixel
};

// NAME.frames: the colour indexes of each frame.
std::vector<ExpectedImage> ExpectedFrames(const std::string& stem);
// NAME.rgb: the colour of each pixel.
ExpectedImage ExpectedColors(const std::string& stem);

// A JPEG made by libjpeg itself: the left half one colour, the right half another.
std::vector<std::uint8_t> EncodeJpeg(int width, int height, Rgb left, Rgb right, bool grey);

// Writes what a failed check saw as NAME.png in the fixture folder's "failures" sibling, for a
// person to look at; returns the path.
std::string WriteFailurePicture(const std::string& name, const PixelImage& image);

}  // namespace htmlview::fixtures
