// Entry names as the extraction uses them: which ones may be written below a target folder, the
// name a flat extraction writes, and the look-up of the names a caller asked for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace standins::archive {

// False for names that would leave the target folder or name something else than a file in it:
// empty names, rooted paths, drive letters, UNC and device paths, any colon (also alternate data
// streams), ".." and other all-dot components (Windows drops trailing dots and spaces, so "..."
// and ".. " would climb too), device names such as CON or NUL.txt, and control characters.
bool IsSafeEntryName(std::u16string_view name);

// The last component of a backslash-separated name.
std::u16string_view BareName(std::u16string_view name);

// For each wanted name the indices of the archive names equal to it (separators and ASCII letter
// case ignored). Returns the position of the first wanted name that matches nothing, or npos.
std::size_t SelectEntries(const std::vector<std::string>& archiveNames,
                          const std::vector<std::string>& wanted, std::vector<bool>& selected);

}  // namespace standins::archive
