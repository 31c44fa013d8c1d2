// Row heights of a table, free of any window system: what each row's cells need, what they ask
// for, and the spreading of a requested table height over the rows. Heights never go negative
// and, when the table is asked to be taller than its content, add up to the room exactly.
#pragma once

#include <vector>

namespace htmlview {

struct RowNeed
{
    int content = 0;         // the tallest cell's content, or its height in pixels
    int desired = 0;         // at least `content`; more for heights given in percent
    bool specified = false;  // a cell of the row asks for a height
};

// A cell spanning `span` rows from `first` that needs `content` and asks for `desired`: what the
// spanned rows lack is spread in equal parts, the last row taking the remainder.
void SpreadSpanningCell(std::vector<RowNeed>& rows, int first, int span, int content, int desired,
                        bool specified);

// The rows' heights for `room` (the table's requested height less frames and spacing; 0 or less
// for none). Extra room goes to rows without a requested height, else in proportion to what the
// rows ask for.
std::vector<int> RowHeightsFor(const std::vector<RowNeed>& rows, int room);

}  // namespace htmlview
