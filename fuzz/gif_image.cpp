// A GIF through the decoder, the frame strip and the animated image, with the size limits lowered
// so that large declared sizes are refused quickly.
#include <cstddef>
#include <cstdint>
#include <span>

#include "setup/htmlview/images/animated_image.h"
#include "setup/htmlview/util/fake_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    htmlview::GifLimits limits;
    limits.maxFramePixels = 4'000'000;
    limits.maxFrames = 200;
    limits.maxStripBytes = 8'000'000;
    limits.maxMaskedStripBytes = 4'000'000;
    htmlview::FakeClock clock;
    bool single = false;
    auto image = htmlview::AnimatedImage::FromGif(std::span(data, size), clock, single, limits);
    if (image) {
        image->SetAnimate(true);
        for (int i = 0; i < 8; ++i) {
            clock.now += 40;
            image->CheckTime({});
        }
    }
    return 0;
}
