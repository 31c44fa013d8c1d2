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

// -100, -1 (no file), -3 (a seek failed) or -4 (a write failed or fell short, or the flush
// failed). seedSeconds seeds the random source once for the whole range.
ShredResult OverwriteRegion(IShredFile* file, const PassList& passes, std::uint64_t offset,
                            std::uint64_t length, std::uint32_t seedSeconds);

}  // namespace shred
