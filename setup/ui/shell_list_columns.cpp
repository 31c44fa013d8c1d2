#include "setup/ui/shell_list_columns.h"

#include <algorithm>

namespace setup::ui {

std::vector<std::int32_t> DirectoryColumnWidths(const std::string& stored)
{
    std::vector<std::int32_t> widths{200, 60, 100, 120};
    const std::size_t held = std::min<std::size_t>(stored.size() / 2, widths.size());
    for (std::size_t i = 0; i < held; ++i)
        widths[i] = static_cast<unsigned char>(stored[2 * i]) |
                    (static_cast<unsigned char>(stored[2 * i + 1]) << 8);
    return widths;
}

std::vector<TListColumn> DefaultShellColumns(const std::vector<std::int32_t>& widths)
{
    std::vector<TListColumn> columns{
        {"Name", 200, taLeftJustify},
        {"Size", 60, taRightJustify},
        {"Type", 100, taLeftJustify},
        {"Modified", 120, taLeftJustify},
    };
    for (std::size_t i = 0; i < columns.size() && i < widths.size(); ++i)
        columns[i].width = widths[i];
    return columns;
}

std::string KiloBytesText(std::uint64_t size)
{
    const std::uint64_t kilobytes = size / 1024 + (size % 1024 ? 1 : 0);
    const std::string digits = std::to_string(kilobytes);
    // Thousands separated by commas, the leading group one to three digits long.
    std::size_t lead = digits.size() % 3;
    if (lead == 0)
        lead = 3;
    std::string text = digits.substr(0, lead);
    for (std::size_t at = lead; at < digits.size(); at += 3)
        text += "," + digits.substr(at, 3);
    return text + "KB";
}

std::vector<std::string> DetailTexts(const ItemDetails& details)
{
    return {details.hasSize ? KiloBytesText(details.size) : std::string(), details.type,
            details.modified};
}

}  // namespace setup::ui
