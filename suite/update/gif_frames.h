// The GIF reading of the picture control: the logical screen, the walk over the data's blocks, and
// each frame of an animation cut out as a GIF of its own for the system's picture loader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace update {

struct GifScreen
{
    int width = 0;
    int height = 0;
    std::size_t globalTableBytes = 0;
    // The global colour table's entry at the background index, as 0x00BBGGRR; white without a
    // table.
    std::uint32_t background = 0x00FFFFFF;
};

struct GifFrame
{
    std::vector<std::uint8_t> gif;  // header, global table, control extension, image, trailer
    int left = 0, top = 0, width = 0, height = 0;
    int delay = 0;     // hundredths of a second
    int disposal = 0;  // 2: restore the background, 3: restore what was under the frame
};

// "GIF87a" or "GIF89a".
bool IsGif(std::span<const std::uint8_t> data);
std::optional<GifScreen> ReadGifScreen(std::span<const std::uint8_t> data);
// The frames the block walk finds; the walk stops at the trailer, at an unknown block, or at a
// block that would run past the end of the data.
std::vector<GifFrame> ReadGifFrames(std::span<const std::uint8_t> data);

// How long a frame stays: its delay, or 100 ms for delays of 4 hundredths or less.
int FrameDelayMs(int delay);

}  // namespace update
