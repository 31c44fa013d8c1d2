// Free cluster runs of a volume: the runs read from the volume bitmap, and the difference of two
// readings that tells which runs a snapshot deletion freed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace shred::snapshots {

// Clusters one bitmap request covers (4096 bitmap bytes).
inline constexpr std::uint32_t kBitmapPageClusters = 32768;
inline constexpr std::uint32_t kBitmapPageBytes = kBitmapPageClusters / 8;

struct ClusterExtent
{
    std::uint64_t start = 0;   // first cluster on the volume
    std::uint64_t length = 0;  // clusters

    bool operator==(const ClusterExtent&) const = default;
};

// Extents in ascending cluster order, as the bitmap is read.
using ClusterExtentList = std::vector<ClusterExtent>;

// Appends every maximal run of clear bits among the first bitCount bits as an extent starting at
// firstCluster + bit index. A run still open at the last bit is appended too, so a free run that
// crosses a page boundary becomes two extents.
void AppendFreeRuns(const std::uint8_t* bitmap, std::uint32_t bitCount, std::uint64_t firstCluster,
                    ClusterExtentList& list);

// Removes from after every extent that before holds with the same start and length: what stays
// are the runs that did not exist in the same form before (freed runs and runs that grew).
void SubtractExtents(ClusterExtentList& after, const ClusterExtentList& before);

// "--PrintList - %d objects--" and one "LCN: ...\tFree: ..." line per extent.
std::string FormatExtentList(const ClusterExtentList& list);

}  // namespace shred::snapshots
