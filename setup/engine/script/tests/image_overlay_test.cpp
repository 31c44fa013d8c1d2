#include "setup/engine/script/image_overlay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using namespace setup::engine;

void Put32(std::vector<std::uint8_t>& bytes, size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = std::uint8_t(value >> (8 * i));
}

// Headers of a PE image with the given sections (raw pointer, raw size) and optional-header size.
std::vector<std::uint8_t> Headers(
    std::uint16_t optionalHeaderSize,
    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sections)
{
    const size_t pe = 0x80;
    std::vector<std::uint8_t> bytes(pe + 24 + optionalHeaderSize + 40 * sections.size(), 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    Put32(bytes, 0x3C, pe);
    Put32(bytes, pe, 0x00004550);
    bytes[pe + 4 + 2] = std::uint8_t(sections.size());
    bytes[pe + 4 + 16] = std::uint8_t(optionalHeaderSize);
    bytes[pe + 4 + 17] = std::uint8_t(optionalHeaderSize >> 8);
    for (size_t i = 0; i < sections.size(); ++i) {
        const size_t at = pe + 24 + optionalHeaderSize + 40 * i;
        Put32(bytes, at + 16, sections[i].second);
        Put32(bytes, at + 20, sections[i].first);
    }
    return bytes;
}

TEST(ImageEndFromHeaders, TakesTheFurthestSectionOfEitherBitness)
{
    for (std::uint16_t optional : {224, 240}) {
        const auto headers =
            Headers(optional, {{0x400, 0x1000}, {0x3400, 0x200}, {0x1400, 0x2000}});
        EXPECT_EQ(ImageEndFromHeaders(headers.data(), headers.size()), 0x3600u) << optional;
    }
}

TEST(ImageEndFromHeaders, RefusesWhatIsNotAnImage)
{
    auto good = Headers(224, {{0x400, 0x200}});
    auto noMz = good;
    noMz[0] = 'X';
    auto noPe = good;
    noPe[0x80] = 'X';
    auto farPe = good;
    Put32(farPe, 0x3C, 0x7FFFFFF0);
    EXPECT_FALSE(ImageEndFromHeaders(noMz.data(), noMz.size()));
    EXPECT_FALSE(ImageEndFromHeaders(noPe.data(), noPe.size()));
    EXPECT_FALSE(ImageEndFromHeaders(farPe.data(), farPe.size()));
    EXPECT_FALSE(ImageEndFromHeaders(good.data(), good.size() - 1));  // section table cut short
    EXPECT_FALSE(ImageEndFromHeaders(nullptr, 0));
}

TEST(CopyFileOverlay, CopiesOnlyWhatFollowsTheImage)
{
    const auto folder = std::filesystem::temp_directory_path() / "image-overlay-test";
    std::filesystem::create_directories(folder);
    const std::string source = (folder / "setup.exe").string();
    const std::string target = (folder / "script.tmp").string();
    {
        std::ofstream out(source, std::ios::binary);
        out << std::string(600, 'I') << "appended script\r\n";
    }
    EXPECT_TRUE(CopyFileOverlay(source, target, 600));
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "appended script\r\n");
    in.close();

    std::filesystem::remove(target);
    EXPECT_FALSE(CopyFileOverlay(source, target, 617));   // nothing after the image
    EXPECT_FALSE(CopyFileOverlay(source, target, 5000));  // a file shorter than its image
    EXPECT_FALSE(std::filesystem::exists(target));
    std::filesystem::remove_all(folder);
}

}  // namespace
