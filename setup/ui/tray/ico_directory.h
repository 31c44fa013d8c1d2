// The images an icon file holds, from its directory: which one suits a size and where its bytes
// lie. Icon files come from form files, so every entry is checked against the file's length.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace setup::ui::tray {

struct IcoImage
{
    std::size_t offset = 0;
    std::size_t size = 0;
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

// The image whose width is nearest `side` (the deeper colours among equals); none when the
// directory is malformed or an entry reaches past the file.
std::optional<IcoImage> PickIcoImage(std::string_view file, int side);

}  // namespace setup::ui::tray
