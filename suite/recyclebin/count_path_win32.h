// The files under a Recycle Bin entry and their bytes, and the entry list built from a source.
#pragma once

#include "suite/recyclebin/recycle_bin_source.h"
#include "suite/recyclebin/recycled_items.h"

#include <cstdint>
#include <string>

namespace trashwipe {

// Files under `path` (1 for a file, also for a missing path); their sizes are added to `size`.
// Names beginning with "." are not counted.
int VNTCountPath(const std::wstring& path, std::uint64_t& size);

// One record per entry, in the source's order, with its files counted.
RecycledItemList ReadRecycleBin(IRecycleBinSource& source);

}  // namespace trashwipe
