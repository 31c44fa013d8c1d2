#include "setup/ui/tests/graphic_files.h"

namespace setup::ui::testing {

std::string Le32(std::uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

std::string Le16(std::uint16_t value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string BmpFile(int width, int height, const std::function<htmlview::Rgb(int x, int y)>& color)
{
    const int stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<std::size_t>(stride * height), '\x80');
    if (color) {
        for (int y = 0; y < height; ++y) {
            // Rows are stored bottom first.
            char* row = pixels.data() + static_cast<std::size_t>(stride * (height - 1 - y));
            for (int x = 0; x < width; ++x) {
                const htmlview::Rgb rgb = color(x, y);
                row[3 * x] = static_cast<char>(rgb.blue);
                row[3 * x + 1] = static_cast<char>(rgb.green);
                row[3 * x + 2] = static_cast<char>(rgb.red);
            }
        }
    }
    const std::string info = Le32(40) + Le32(width) + Le32(height) + Le16(1) + Le16(24) + Le32(0) +
                             Le32(static_cast<std::uint32_t>(pixels.size())) + Le32(0) + Le32(0) +
                             Le32(0) + Le32(0);
    return "BM" + Le32(static_cast<std::uint32_t>(14 + 40 + pixels.size())) + Le32(0) + Le32(54) +
           info + pixels;
}

std::string IcoFile(int side)
{
    const char stored = static_cast<char>(side == 256 ? 0 : side);
    return Le16(0) + Le16(1) + Le16(1) + std::string(1, stored) + std::string(1, stored) +
           std::string(2, '\0') + Le16(1) + Le16(32) + Le32(0) + Le32(22);
}

std::string EmfFile(int width, int height)
{
    std::string file = Le32(1) + Le32(88) + Le32(0) + Le32(0) + Le32(width - 1) + Le32(height - 1);
    file.resize(40, '\0');
    file += " EMF";
    file.resize(88, '\0');
    return file;
}

std::string PlaceableWmf(int width, int height, int unitsPerInch)
{
    return Le32(0x9AC6CDD7) + Le16(0) + Le16(0) + Le16(0) + Le16(width) + Le16(height) +
           Le16(unitsPerInch) + Le32(0) + Le16(0) + std::string(18, '\0');
}

}  // namespace setup::ui::testing
