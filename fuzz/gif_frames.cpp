// The picture control's GIF reading over any bytes: the screen, the frames, and each frame's own
// GIF read again.
#include <cstddef>
#include <cstdint>
#include <span>

#include "suite/update/gif_frames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    update::ReadGifScreen(bytes);
    for (const update::GifFrame& frame : update::ReadGifFrames(bytes)) {
        update::ReadGifFrames(frame.gif);
        update::FrameDelayMs(frame.delay);
    }
    return 0;
}
