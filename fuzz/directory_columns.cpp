// The user's stored file-view layout ("DirectoryCols"), as the registry hands it over: any bytes
// give four widths, each from the value's bytes or the default.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/ui/shell_list_columns.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string stored(reinterpret_cast<const char*>(data), size);
    const auto widths = setup::ui::DirectoryColumnWidths(stored);
    if (widths.size() != 4)
        std::abort();
    for (std::int32_t width : widths)
        if (width < 0 || width > 0xFFFF)
            std::abort();
    return 0;
}
