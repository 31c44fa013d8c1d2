// Small graphic files for the tests, byte by byte: little-endian fields, 24-bit BMP files whose
// pixels a function chooses, icon directories, enhanced and placeable metafile headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "setup/htmlview/images/pixel_image.h"

namespace setup::ui::testing {

std::string Le32(std::uint32_t value);
std::string Le16(std::uint16_t value);
// A bottom-up 24-bit BMP file; the colour of each pixel (x, y from the top) comes from `color`,
// grey when none is given.
std::string BmpFile(int width, int height,
                    const std::function<htmlview::Rgb(int x, int y)>& color = {});
// An icon directory with one entry of the given side (256 stored as 0) and no image behind it.
std::string IcoFile(int side);
std::string EmfFile(int width, int height);
std::string PlaceableWmf(int width, int height, int unitsPerInch);

}  // namespace setup::ui::testing
