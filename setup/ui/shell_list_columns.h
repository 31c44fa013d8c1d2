// The content list's own columns, for folders that describe no columns of their own: name, size,
// type and modified, their widths from the user's stored file-view layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/ui/list_view.h"
#include "setup/ui/shell_namespace.h"

namespace setup::ui {

// The widths of the four columns: the first four 16-bit widths stored, the defaults for any the
// stored value does not hold.
std::vector<std::int32_t> DirectoryColumnWidths(const std::string& stored);
std::vector<TListColumn> DefaultShellColumns(const std::vector<std::int32_t>& widths);
// A file size in kilobytes, a partial kilobyte counted as one: "1KB", "1,025KB".
std::string KiloBytesText(std::uint64_t size);
// The sub-item texts of the size, type and modified columns.
std::vector<std::string> DetailTexts(const ItemDetails& details);

}  // namespace setup::ui
