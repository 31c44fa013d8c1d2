// Column widths of a table, free of any window system: each column's minimum and maximum from the
// cells' measured content, and the distribution of a table width over the columns (pixel widths,
// percentages and free columns). Widths never go negative and, where the room is at least the
// columns' minimum, add up to it exactly.
#pragma once

#include <vector>

namespace htmlview {

// One cell as the width pass sees it.
struct CellMeasure
{
    int column = 0, span = 1;
    int min = 0, max = 0;  // its content's, without padding, border or spacing
    int spacing = 0;       // padding, border and the table's cell spacing
    int widthAttr = 0;     // pixels, or tenths of a percent when `isPercent`; 0 none
    bool isPercent = false;
};

struct ColumnWidths
{
    std::vector<int> min, max, percent, widths;  // percent in tenths (1000 = 100 %)

    int Count() const { return static_cast<int>(min.size()); }
    int TotalMin() const;
    int TotalMax() const;
};

// Minimum and maximum per column. With `percentages`, pixel widths count as their share of
// `available` and spanning cells spread their excess by percentage.
ColumnWidths MeasureColumns(const std::vector<CellMeasure>& cells, int columnCount,
                            bool percentages, int available);

// Between minimum and maximum in proportion to the slack; `specified` fills `available` even when
// the maximum is smaller.
void WidthsAbsolute(ColumnWidths& columns, int available, bool specified);
// A table asked to be `width` wide whose columns carry percentages.
void WidthsForTableWidth(ColumnWidths& columns, int width);
// A table without a requested width whose columns carry percentages.
void WidthsForAvailable(ColumnWidths& columns, int available, int widthRequest);

}  // namespace htmlview
