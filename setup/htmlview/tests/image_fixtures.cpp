#include "setup/htmlview/tests/image_fixtures.h"

#include <filesystem>

#include <fstream>
#include <iterator>
#include <stdexcept>

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

}  // namespace htmlview::fixtures
