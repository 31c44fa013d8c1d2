#include "setup/htmlview/tests/image_fixtures.h"

#include <filesystem>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <jpeglib.h>

#include "setup/htmlview/images/png_writer.h"

namespace htmlview::fixtures {
namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) |
           (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}

std::vector<ExpectedImage> ReadSidecar(const std::string& name, int bytesPerPixel)
{
    const auto bytes = ReadImageFixture(name);
    std::vector<ExpectedImage> images;
    for (std::size_t at = 0; at < bytes.size();) {
        ExpectedImage image;
        image.width = static_cast<int>(Le32(bytes, at));
        image.height = static_cast<int>(Le32(bytes, at + 4));
        const auto size = static_cast<std::size_t>(image.width * image.height * bytesPerPixel);
        at += 8;
        image.values.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
        images.push_back(std::move(image));
    }
    return images;
}

}  // namespace

std::vector<std::uint8_t> ReadImageFixture(const std::string& name)
{
    std::ifstream in(std::string(IMAGE_FIXTURE_DIR) + "/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing image fixture " + name);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<ExpectedImage> ExpectedFrames(const std::string& stem)
{
    return ReadSidecar(stem + ".frames", 1);
}

ExpectedImage ExpectedColors(const std::string& stem)
{
    return ReadSidecar(stem + ".rgb", 3).at(0);
}

std::string WriteFailurePicture(const std::string& name, const PixelImage& image)
{
    const std::filesystem::path folder =
        std::filesystem::path(IMAGE_FIXTURE_DIR).parent_path() / "image_failures";
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / (name + ".png");
    const auto png = SavePng(image);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return path.string();
}

std::vector<std::uint8_t> EncodeJpeg(int width, int height, Rgb left, Rgb right, bool grey)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        const Rgb& c = x < width / 2 ? left : right;
        if (grey) {
            row[static_cast<std::size_t>(x)] = c.red;
        } else {
            row[static_cast<std::size_t>(x) * 3] = c.red;
            row[static_cast<std::size_t>(x) * 3 + 1] = c.green;
            row[static_cast<std::size_t>(x) * 3 + 2] = c.blue;
        }
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

}  // namespace htmlview::fixtures
