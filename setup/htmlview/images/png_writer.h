// Writes an image as PNG: palette images at their own depth, everything else as 8-bit RGB, with a
// filter chosen per row from the enabled set. Also serves screenshots and test-failure pictures.
#pragma once

#include <cstdint>
#include <vector>

#include "setup/htmlview/images/pixel_image.h"

namespace htmlview {

// Filter set bits: 0 None (always on), 1 Sub, 2 Up, 3 Average, 4 Paeth.
constexpr unsigned kPngDefaultFilters = 0b11011;

std::vector<std::uint8_t> SavePng(const PixelImage& image, const Rgb* transparentColor = nullptr,
                                  unsigned filters = kPngDefaultFilters);

// The filter byte the writer picks for a row (previous row all zeros for the first).
int ChoosePngFilter(const std::vector<std::uint8_t>& row, const std::vector<std::uint8_t>& previous,
                    int bytesPerPixel, unsigned filters);

}  // namespace htmlview
