// What the notification-area code reads from outside: an icon file's directory (form files carry
// it) and the toolbar button records read out of Explorer's memory, in both layouts. A picked
// image must lie inside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "setup/ui/tray/ico_directory.h"
#include "setup/ui/tray/taskbar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace setup::ui::tray;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    for (const int side : {16, 32}) {
        if (const auto image = PickIcoImage(file, side)) {
            if (image->offset + image->size > size)
                std::abort();
        }
    }
    for (const bool explorer64 : {false, true}) {
        const TrayButtonLayout layout = TrayButtonLayoutFor(explorer64);
        ParseTrayButton(std::span(data, size), layout);
        ParseTrayButtonOwner(std::span(data, size), layout);
    }
    return 0;
}
