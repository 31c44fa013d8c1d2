// The overwrite of one byte range of a file the caller holds open: every pass of an algorithm
// over the whole range, in pass order, then a flush. No progress, pause or abort.
#pragma once

#include "shred/engine/algorithm.h"
#include "shred/engine/shred_system.h"
#include "shred/engine/shred_types.h"

#include <cstdint>

namespace shred {

inline constexpr ShredResult kRegionBadHandle = -1;
inline constexpr ShredResult kRegionSeekFailed = -3;
inline constexpr ShredResult kRegionWriteFailed = -4;

// The part of the range [offset, offset + length) inside a file of size bytes.
std::uint64_t ClipRegion(std::uint64_t offset, std::uint64_t length, std::uint64_t size);

// -100, -1 (no file), -3 (the size or a seek failed) or -4 (a write failed or fell short, or the
// flush failed). The range is clipped to the file's size: the file never grows, and bytes past
// its end, which hold nothing, are not written. seedSeconds seeds the random source once for
// the whole range.
ShredResult OverwriteRegion(IShredFile* file, const PassList& passes, std::uint64_t offset,
                            std::uint64_t length, std::uint32_t seedSeconds);

}  // namespace shred
