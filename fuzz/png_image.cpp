// A PNG through the transparent-colour scan and the reader with lowered size limits; what loads
// is written again and read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "setup/htmlview/images/image_loader.h"
#include "setup/htmlview/images/png_reader.h"
#include "setup/htmlview/images/png_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    htmlview::FindPngTransparentColor(std::span(data, size));
    htmlview::PngLimits limits;
    limits.maxDimension = 4096;
    limits.maxPixelBytes = 8'000'000;
    try {
        const htmlview::PngImage png = htmlview::LoadPng(std::span(data, size), limits);
        const auto again = htmlview::LoadPng(htmlview::SavePng(png.image));
        if (again.image.pixels.size() != png.image.pixels.size())
            std::abort();
    } catch (const htmlview::ImageError&) {
    }
    return 0;
}
