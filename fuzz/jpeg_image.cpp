// A JPEG through libjpeg at 24 bits, and at 8 bits against a small palette, with lowered limits.
#include <cstddef>
#include <cstdint>
#include <span>

#include "setup/htmlview/images/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<htmlview::Rgb> palette = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}};
    htmlview::JpegRequest request;
    request.maxPixelBytes = 4'000'000;
    for (bool eightBit : {false, true}) {
        request.eightBit = eightBit;
        request.palette = eightBit ? &palette : nullptr;
        try {
            htmlview::DecodeJpeg(std::span(data, size), request);
        } catch (const htmlview::ImageError&) {
        }
    }
    return 0;
}
