// The frame rectangle of a Flash movie, read from the start of its file: plain movies ("FWS")
// carry it right after the 8-byte header, compressed ones ("CWS") at the start of the zlib stream
// that follows the header. Everything here is outside input and checked as such.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace setup::ui {

// In twips (1/20 pixel).
struct SwfFrameRect
{
    std::int32_t xMin = 0;
    std::int32_t xMax = 0;
    std::int32_t yMin = 0;
    std::int32_t yMax = 0;
};

// How much of a movie's file the reader wants at most: a compressed movie's rectangle can sit
// behind the deflate block's code tables.
inline constexpr std::size_t kSwfHeadBytes = 4096;

// None when the bytes are not a plain or compressed movie, end before the rectangle, or give a
// frame that is empty or larger than a window can be.
std::optional<SwfFrameRect> ReadSwfFrameRect(std::span<const std::uint8_t> fileStart);

// The movie's size in pixels as the frame takes it: the right and bottom edges over 20.
inline std::int32_t SwfPixels(std::int32_t twips)
{
    return twips / 20;
}

}  // namespace setup::ui
