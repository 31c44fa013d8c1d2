#include "setup/ui/tray/ico_directory.h"

#include <cstdint>
#include <cstdlib>

namespace setup::ui::tray {

namespace {

constexpr std::size_t kHeaderBytes = 6;
constexpr std::size_t kEntryBytes = 16;

std::uint32_t Le(std::string_view bytes, std::size_t offset, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return value;
}

}  // namespace

std::optional<IcoImage> PickIcoImage(std::string_view file, int side)
{
    if (file.size() < kHeaderBytes || Le(file, 0, 2) != 0 || Le(file, 2, 2) != 1)
        return std::nullopt;
    const std::size_t count = Le(file, 4, 2);
    if (count == 0 || file.size() < kHeaderBytes + count * kEntryBytes)
        return std::nullopt;
    std::optional<IcoImage> best;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kHeaderBytes + i * kEntryBytes;
        IcoImage image;
        image.width = file[entry] ? static_cast<unsigned char>(file[entry]) : 256;
        image.height = file[entry + 1] ? static_cast<unsigned char>(file[entry + 1]) : 256;
        image.bitCount = static_cast<int>(Le(file, entry + 6, 2));
        image.size = Le(file, entry + 8, 4);
        image.offset = Le(file, entry + 12, 4);
        if (image.size == 0 || image.offset > file.size() || image.size > file.size() - image.offset)
            return std::nullopt;
        if (!best) {
            best = image;
            continue;
        }
        const int distance = std::abs(image.width - side);
        const int bestDistance = std::abs(best->width - side);
        if (distance < bestDistance || (distance == bestDistance && image.bitCount > best->bitCount))
            best = image;
    }
    return best;
}

}  // namespace setup::ui::tray
