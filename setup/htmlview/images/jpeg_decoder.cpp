#include "setup/htmlview/images/jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <string>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace htmlview {
namespace {

// libjpeg reports fatal errors through a callback that must not return: it jumps back here.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnFatal(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    errors->base.format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr) {}

// All C++ objects live in the caller, so a jump out of libjpeg skips no destructor.
bool Decode(std::span<const std::uint8_t> data, const JpegRequest& request, PixelImage& out,
            std::vector<JSAMPLE>& colormap, std::string& error)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnFatal;
    errors.base.output_message = OnMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        error = errors.message;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    int bits = 24;
    if (request.eightBit) {
        bits = 8;
        if (grey) {
            info.out_color_space = JCS_GRAYSCALE;
        } else {
            info.out_color_space = JCS_RGB;
            info.quantize_colors = TRUE;
            if (request.palette && !request.palette->empty()) {
                const auto count = std::min<std::size_t>(request.palette->size(), 256);
                colormap.resize(count * 3);
                for (std::size_t i = 0; i < count; ++i) {
                    colormap[i] = (*request.palette)[i].red;
                    colormap[count + i] = (*request.palette)[i].green;
                    colormap[2 * count + i] = (*request.palette)[i].blue;
                }
                info.colormap = static_cast<JSAMPARRAY>((*info.mem->alloc_small)(
                    reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, 3 * sizeof(JSAMPROW)));
                for (std::size_t c = 0; c < 3; ++c)
                    info.colormap[c] = colormap.data() + c * count;
                info.actual_number_of_colors = static_cast<int>(count);
            } else {
                info.desired_number_of_colors = 256;
            }
        }
    } else {
        info.out_color_space = JCS_RGB;
    }
    const std::uint64_t size = DibRowBytes(info.image_width, bits) * info.image_height;
    if (size > request.maxPixelBytes || info.image_width > 65535 || info.image_height > 65535) {
        jpeg_destroy_decompress(&info);
        error = "Image too large";
        return false;
    }
    jpeg_start_decompress(&info);
    try {
        out.Allocate(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                     bits, request.maxPixelBytes);
    } catch (const std::exception& e) {
        jpeg_destroy_decompress(&info);
        error = e.what();
        return false;
    }
    if (bits == 8) {
        for (int i = 0; i < 256; ++i) {
            if (grey)
                out.palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i),
                                                            static_cast<std::uint8_t>(i),
                                                            static_cast<std::uint8_t>(i)};
            else if (i < info.actual_number_of_colors)
                out.palette[static_cast<std::size_t>(i)] = {
                    info.colormap[0][i], info.colormap[1][i], info.colormap[2][i]};
        }
    }
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW row = out.Row(y);
        jpeg_read_scanlines(&info, &row, 1);
        if (bits == 24)
            for (std::size_t x = 0; x < info.output_width; ++x)
                std::swap(row[x * 3], row[x * 3 + 2]);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

PixelImage DecodeJpeg(std::span<const std::uint8_t> data, const JpegRequest& request)
{
    PixelImage image;
    std::vector<JSAMPLE> colormap;
    std::string error;
    if (data.empty() || !Decode(data, request, image, colormap, error))
        throw ImageError("JPEG error: " + error);
    return image;
}

}  // namespace htmlview
