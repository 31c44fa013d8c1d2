#include "shred/snapshots/cluster_extents.h"

#include <gtest/gtest.h>

namespace shred::snapshots {
namespace {

TEST(AppendFreeRuns, EveryClearRunBecomesOneExtent)
{
    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> bitmap;
        std::uint32_t bits;
        std::uint64_t first;
        ClusterExtentList expected;
    };
    const std::vector<Case> cases = {
        {"all used", {0xFF, 0xFF}, 16, 0, {}},
        {"all free, open at the end", {0x00, 0x00}, 16, 100, {{100, 16}}},
        {"runs inside a byte", {0b10011001}, 8, 0, {{1, 2}, {5, 2}}},
        {"run across a byte", {0x0F, 0xF0}, 16, 8, {{12, 8}}},
        {"bits past the count ignored", {0xFF, 0x00}, 12, 0, {{8, 4}}},
        {"free first cluster", {0xFE}, 8, 32768, {{32768, 1}}},
    };
    for (const Case& c : cases) {
        ClusterExtentList list;
        AppendFreeRuns(c.bitmap.data(), c.bits, c.first, list);
        EXPECT_EQ(list, c.expected) << c.name;
    }
}

TEST(SubtractExtents, KeepsOnlyRunsThatChanged)
{
    struct Case
    {
        const char* name;
        ClusterExtentList after, before, expected;
    };
    const std::vector<Case> cases = {
        {"nothing deleted", {{0, 5}, {10, 5}}, {{0, 5}, {10, 5}}, {}},
        {"new run", {{0, 5}, {7, 2}, {10, 5}}, {{0, 5}, {10, 5}}, {{7, 2}}},
        {"run grew", {{0, 5}, {10, 9}}, {{0, 5}, {10, 5}}, {{10, 9}}},
        {"runs joined", {{0, 15}}, {{0, 5}, {10, 5}}, {{0, 15}}},
        {"same start other length", {{4, 3}}, {{4, 2}}, {{4, 3}}},
        {"before empty", {{3, 1}}, {}, {{3, 1}}},
        {"run taken meanwhile", {{10, 5}}, {{0, 5}, {10, 5}}, {}},
    };
    for (const Case& c : cases) {
        ClusterExtentList list = c.after;
        SubtractExtents(list, c.before);
        EXPECT_EQ(list, c.expected) << c.name;
    }
}

TEST(FormatExtentList, CountThenOneLinePerExtent)
{
    EXPECT_EQ(FormatExtentList({{7, 2}, {5000000000, 3}}),
              "--PrintList - 2 objects--\nLCN: 7\tFree: 2\nLCN: 5000000000\tFree: 3\n");
}

}  // namespace
}  // namespace shred::snapshots
