#include "setup/engine/statements/light_setup.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "setup/engine/rtl/stream.h"
#include "setup/engine/script/image_overlay.h"

namespace setup::engine {

namespace {

constexpr std::size_t kHeaderBytes = 4096;

void CopyBytes(rtl::TStream& from, rtl::TStream& to, std::uint64_t count)
{
    std::vector<std::uint8_t> buffer(64 * 1024);
    while (count > 0) {
        const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer.size()));
        from.ReadBuffer(buffer.data(), chunk);
        to.WriteBuffer(buffer.data(), chunk);
        count -= chunk;
    }
}

}  // namespace

bool BuildLightSetup(const std::string& program, const std::string& file)
{
    const std::string written = file + ".to";
    try {
        auto image = rtl::OpenFileStream(program, rtl::FileStreamMode::OpenReadDenyWrite);
        auto carried = rtl::OpenFileStream(file, rtl::FileStreamMode::OpenReadDenyWrite);
        std::vector<std::uint8_t> headers(static_cast<std::size_t>(
            std::min<std::int64_t>(image->Size(), static_cast<std::int64_t>(kHeaderBytes))));
        image->ReadBuffer(headers.data(), headers.size());
        const auto end = ImageEndFromHeaders(headers.data(), headers.size());
        if (!end || *end > static_cast<std::uint64_t>(image->Size()))
            return false;
        {
            auto light = rtl::OpenFileStream(written, rtl::FileStreamMode::Create);
            image->SetPosition(0);
            CopyBytes(*image, *light, *end);
            CopyBytes(*carried, *light, static_cast<std::uint64_t>(carried->Size()));
        }
        carried.reset();
        std::filesystem::rename(file, file + ".nox");
        std::error_code failed;
        std::filesystem::rename(written, file, failed);
        if (failed) {
            std::filesystem::rename(file + ".nox", file, failed);
            throw std::filesystem::filesystem_error("light setup", failed);
        }
        return true;
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(written, ignored);
        return false;
    }
}

void RemoveLightSetup(const std::string& file)
{
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    std::filesystem::rename(file + ".nox", file, ignored);
}

}  // namespace setup::engine
