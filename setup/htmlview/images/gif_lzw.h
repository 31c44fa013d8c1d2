// The GIF flavour of LZW: variable-length codes, least significant bit first, a table that stays
// full at 12 bits until the next clear code, and rows placed in interlaced order when asked.
#pragma once

#include <cstdint>
#include <span>

namespace htmlview {

// Decodes the codes into pixels (width * height bytes, left as they are where the data ends).
// Throws GifError 12 or 13.
void DecodeGifLzw(std::span<const std::uint8_t> codes, int minCodeSize, bool interlaced, int width,
                  int height, std::span<std::uint8_t> pixels);

}  // namespace htmlview
