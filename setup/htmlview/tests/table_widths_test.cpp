#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "setup/htmlview/layout/table_widths.h"

namespace {

using namespace htmlview;

ColumnWidths Columns(std::vector<int> min, std::vector<int> max, std::vector<int> percent = {})
{
    ColumnWidths c;
    c.min = std::move(min);
    c.max = std::move(max);
    c.percent = percent.empty() ? std::vector<int>(c.min.size(), 0) : std::move(percent);
    c.widths.assign(c.min.size(), 0);
    return c;
}

int Sum(const std::vector<int>& v)
{
    return std::accumulate(v.begin(), v.end(), 0);
}

// What every distribution must keep: no negative width, never below a column's minimum, and the
// exact room when it is at least the minimum.
void ExpectSound(const ColumnWidths& c, int room, const char* what)
{
    for (int i = 0; i < c.Count(); ++i) {
        EXPECT_GE(c.widths[i], 0) << what << " column " << i;
        EXPECT_GE(c.widths[i], c.min[i]) << what << " column " << i;
    }
    if (room >= c.TotalMin() && c.Count() > 0) {
        EXPECT_EQ(Sum(c.widths), room) << what;
    }
}

TEST(TableWidths, AbsoluteDistribution)
{
    struct Case
    {
        std::vector<int> min, max;
        int available;
        bool specified;
        std::vector<int> widths;
    };
    const std::vector<Case> cases{
        {{10, 20}, {50, 100}, 20, false, {10, 20}},    // below the minimum
        {{10, 20}, {50, 100}, 500, false, {50, 100}},  // room for the maximum
        {{10, 20}, {50, 100}, 70, false, {23, 47}},    // slack shared 40:80
        {{10, 20}, {50, 100}, 300, true, {100, 200}},  // a requested width fills
        {{10, 10}, {10, 10}, 41, true, {20, 21}},      // no slack: by minimum, exact sum
        {{0, 0, 0}, {0, 0, 0}, 10, true, {4, 3, 3}},   // nothing to go by: equal shares
    };
    for (const Case& k : cases) {
        ColumnWidths c = Columns(k.min, k.max);
        WidthsAbsolute(c, k.available, k.specified);
        EXPECT_EQ(c.widths, k.widths) << k.available;
        if (k.specified || k.available <= c.TotalMax()) {
            ExpectSound(c, k.available, "absolute");
        }
    }
}

TEST(TableWidths, RequestedWidthWithPercentages)
{
    struct Case
    {
        std::vector<int> min, max, percent;
        int width;
        std::vector<int> widths;
    };
    const std::vector<Case> cases{
        {{10, 10}, {20, 200}, {300, 0}, 400, {120, 280}},  // 30 %, the rest to the free column
        {{10, 10}, {20, 20}, {300, 300}, 400, {200, 200}},  // no free column: by percentage
        {{150, 10}, {150, 20}, {300, 0}, 400, {150, 250}},  // a percentage below its minimum
        {{300, 300}, {300, 300}, {500, 500}, 400, {300, 300}},  // every column at its minimum
        {{50, 10, 10}, {50, 10, 10}, {800, 800, 0}, 200, {95, 95, 10}},  // over 100 %
        {{0, 0}, {0, 0}, {0, 0}, 99, {50, 49}},  // no cells wider than nothing: equal shares
    };
    for (const Case& k : cases) {
        ColumnWidths c = Columns(k.min, k.max, k.percent);
        WidthsForTableWidth(c, k.width);
        EXPECT_EQ(c.widths, k.widths) << k.width;
        ExpectSound(c, k.width, "table width");
    }
}

TEST(TableWidths, AvailableWidthWithPercentages)
{
    struct Case
    {
        std::vector<int> min, max, percent;
        int available, request;
        std::vector<int> widths;
    };
    const std::vector<Case> cases{
        // Natural width 200 (100 at 50 %) fits: the table takes it.
        {{10, 10}, {100, 100}, {500, 0}, 600, 0, {100, 100}},
        // Not enough room: the percentage column keeps its share, the rest goes by slack.
        {{10, 10}, {100, 300}, {500, 0}, 150, 0, {75, 75}},
        // A percentage share below the column's minimum drops the percentage.
        {{100, 10}, {100, 300}, {100, 0}, 300, 0, {100, 200}},
        // A table without any cells.
        {{}, {}, {}, 300, 0, {}},
        // Room below the minimum: the minimum, never less.
        {{100, 100}, {200, 200}, {0, 0}, 50, 0, {100, 100}},
    };
    for (const Case& k : cases) {
        ColumnWidths c = Columns(k.min, k.max, k.percent);
        WidthsForAvailable(c, k.available, k.request);
        EXPECT_EQ(c.widths, k.widths) << k.available;
        for (int w : c.widths)
            EXPECT_GE(w, 0);
    }
}

TEST(TableWidths, SpansAndPercentagesInTheMeasure)
{
    // Two single cells, then one spanning both that needs more than they do together.
    std::vector<CellMeasure> cells{{0, 1, 20, 40, 2}, {1, 1, 60, 80, 2}, {0, 2, 200, 300, 2}};
    ColumnWidths c = MeasureColumns(cells, 2, false, 0);
    EXPECT_GE(c.min[0] + c.min[1], 202);
    EXPECT_GE(c.max[0] + c.max[1], 302);
    EXPECT_LT(c.min[0], c.min[1]);  // grown in proportion to what they held
    // A span past the last column is cut; a pixel width becomes a share of the room.
    cells = {{1, 50, 10, 10, 0, 100, false}, {0, 1, 5, 5, 0, 250, true}};
    c = MeasureColumns(cells, 2, true, 400);
    EXPECT_EQ(c.percent[0], 250);
    EXPECT_EQ(c.percent[1], 250);
    // Empty columns spread a spanning minimum in equal shares.
    c = MeasureColumns({{0, 3, 90, 90, 0}}, 3, true, 0);
    EXPECT_EQ(c.min, (std::vector<int>{30, 30, 30}));
}

// Random tables through every distribution, checked by the invariants alone.
TEST(TableWidths, RandomTablesKeepTheInvariants)
{
    std::mt19937 random(7);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 3000; ++round) {
        const int columns = pick(0, 8);
        std::vector<CellMeasure> cells;
        for (int k = pick(0, 12); k > 0 && columns > 0; --k) {
            CellMeasure m{pick(0, columns - 1), pick(1, 4), pick(0, 300), pick(0, 600), pick(0, 8)};
            if (pick(0, 2) == 0) {
                m.isPercent = pick(0, 1) == 0;
                m.widthAttr = m.isPercent ? pick(10, 1000) : pick(1, 500);
            }
            cells.push_back(m);
        }
        const int room = pick(0, 2000);
        const ColumnWidths measured = MeasureColumns(cells, columns, pick(0, 1) == 1, room);
        for (int i = 0; i < measured.Count(); ++i)
            ASSERT_LE(measured.min[i], measured.max[i]);
        ColumnWidths a = measured;
        WidthsAbsolute(a, room, true);
        ExpectSound(a, room, "absolute");
        ColumnWidths t = measured;
        WidthsForTableWidth(t, room);
        ExpectSound(t, room, "table width");
        ColumnWidths v = measured;
        WidthsForAvailable(v, room, pick(0, 1) ? room : 0);
        for (int w : v.widths)
            ASSERT_GE(w, 0);
        if (HasFailure())
            return;
    }
}

}  // namespace
