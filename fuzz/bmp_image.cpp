// A BMP file through the reader with a lowered size limit, then the colour-keyed mask and the
// reduction to the shared palette that a palette screen applies.
#include <cstddef>
#include <cstdint>
#include <span>

#include "setup/htmlview/images/global_palette.h"
#include "setup/htmlview/images/image_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<htmlview::Rgb> defaults(20, htmlview::Rgb{128, 128, 128});
    static const htmlview::ScreenColors screen{
        8, htmlview::BuildGlobalPalette(std::vector<htmlview::Rgb>(256), defaults), defaults};
    try {
        htmlview::PixelImage image = htmlview::LoadBmp(std::span(data, size), 1'000'000);
        htmlview::MakeImageMask(image, std::nullopt);
        htmlview::ConvertForScreen(std::move(image), screen);
    } catch (const htmlview::ImageError&) {
    }
    return 0;
}
