#include "shred/snapshots/cluster_extents.h"

#include <cinttypes>
#include <cstdio>

namespace shred::snapshots {

void AppendFreeRuns(const std::uint8_t* bitmap, std::uint32_t bitCount, std::uint64_t firstCluster,
                    ClusterExtentList& list)
{
    std::uint32_t runStart = 0;
    bool inRun = false;
    for (std::uint32_t bit = 0; bit < bitCount; ++bit) {
        const bool used = (bitmap[bit / 8] >> (bit % 8)) & 1;
        if (!used && !inRun) {
            runStart = bit;
            inRun = true;
        } else if (used && inRun) {
            list.push_back({firstCluster + runStart, bit - runStart});
            inRun = false;
        }
    }
    if (inRun)
        list.push_back({firstCluster + runStart, bitCount - runStart});
}

void SubtractExtents(ClusterExtentList& after, const ClusterExtentList& before)
{
    // Both lists ascend, so one forward walk over each finds every identical extent.
    ClusterExtentList kept;
    kept.reserve(after.size());
    std::size_t b = 0;
    for (const ClusterExtent& extent : after) {
        while (b < before.size() && before[b].start < extent.start)
            ++b;
        bool same = false;
        for (std::size_t i = b; i < before.size() && before[i].start == extent.start; ++i)
            same = same || before[i].length == extent.length;
        if (!same)
            kept.push_back(extent);
    }
    after.swap(kept);
}

std::string FormatExtentList(const ClusterExtentList& list)
{
    char line[96];
    std::snprintf(line, sizeof line, "--PrintList - %d objects--\n", static_cast<int>(list.size()));
    std::string text = line;
    for (const ClusterExtent& extent : list) {
        std::snprintf(line, sizeof line, "LCN: %" PRId64 "\tFree: %" PRId64 "\n",
                      static_cast<std::int64_t>(extent.start),
                      static_cast<std::int64_t>(extent.length));
        text += line;
    }
    return text;
}

}  // namespace shred::snapshots
