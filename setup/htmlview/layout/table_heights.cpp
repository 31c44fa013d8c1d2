#include "setup/htmlview/layout/table_heights.h"

#include <algorithm>

#include "setup/htmlview/util/win_math.h"

namespace htmlview {

namespace {

long long Sum(const std::vector<RowNeed>& rows, int first, int count, int RowNeed::*field)
{
    long long total = 0;
    for (int r = first; r < first + count; ++r)
        total += rows[r].*field;
    return total;
}

void Spread(std::vector<RowNeed>& rows, int first, int span, int need, int RowNeed::*field)
{
    const long long lack = static_cast<long long>(need) - Sum(rows, first, span, field);
    if (lack <= 0)
        return;
    for (int r = first; r < first + span; ++r)
        rows[r].*field += static_cast<int>(lack / span);
    rows[first + span - 1].*field += static_cast<int>(lack % span);
}

// numerator / denominator to the nearest integer, halves to the even one.
long long RoundHalfEven(long long numerator, long long denominator)
{
    long long quotient = numerator / denominator;
    const long long twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

}  // namespace

void SpreadSpanningCell(std::vector<RowNeed>& rows, int first, int span, int content, int desired,
                        bool specified)
{
    const int count = static_cast<int>(rows.size());
    if (first < 0 || first >= count || span < 1)
        return;
    span = std::min(span, count - first);
    for (int r = first; r < first + span; ++r)
        rows[r].specified = rows[r].specified || specified;
    Spread(rows, first, span, std::max(0, content), &RowNeed::content);
    Spread(rows, first, span, std::max(content, desired), &RowNeed::desired);
    for (int r = first; r < first + span; ++r)
        rows[r].desired = std::max(rows[r].desired, rows[r].content);
}

std::vector<int> RowHeightsFor(const std::vector<RowNeed>& rows, int room)
{
    const int count = static_cast<int>(rows.size());
    std::vector<int> heights(count);
    for (int r = 0; r < count; ++r)
        heights[r] = std::max(0, rows[r].content);
    if (count == 0)
        return heights;
    const long long sumContent = Sum(rows, 0, count, &RowNeed::content);
    long long sumDesired = 0;
    int free = 0;
    for (const RowNeed& row : rows) {
        sumDesired += std::max(row.content, row.desired);
        free += row.specified ? 0 : 1;
    }
    if (sumContent >= room)
        return heights;
    auto desired = [&](int r) { return std::max(rows[r].content, rows[r].desired); };
    long long given = 0;
    if (sumDesired < room && free > 0) {
        // The rows get what they ask for; the rows that ask nothing share the rest.
        const long long share = (room - sumDesired) / free;
        int lastFree = 0;
        for (int r = 0; r < count; ++r) {
            heights[r] = desired(r);
            if (!rows[r].specified) {
                heights[r] += static_cast<int>(share);
                lastFree = r;
            }
            given += heights[r];
        }
        heights[lastFree] += static_cast<int>(room - given);
        return heights;
    }
    for (int r = 0; r < count - 1; ++r) {
        if (sumDesired < room) {
            // Every row asks for a height: they grow in proportion; with nothing asked for in
            // pixels, in equal parts.
            heights[r] = sumDesired > 0
                             ? static_cast<int>(RoundHalfEven(
                                   static_cast<long long>(desired(r)) * room, sumDesired))
                             : static_cast<int>(room / count);
        } else {
            const long long stretch = desired(r) - rows[r].content;
            heights[r] =
                rows[r].content + static_cast<int>(RoundHalfEven(stretch * (room - sumContent),
                                                                 sumDesired - sumContent));
        }
        given += heights[r];
    }
    // The last row takes the rest; where rounding up the rows above left it short of its content,
    // they give back what they have beyond theirs.
    long long last = room - given;
    for (int r = 0; r < count - 1 && last < rows[count - 1].content; ++r) {
        const long long give =
            std::min<long long>(rows[count - 1].content - last, heights[r] - rows[r].content);
        if (give > 0) {
            heights[r] -= static_cast<int>(give);
            last += give;
        }
    }
    heights[count - 1] = static_cast<int>(std::max<long long>(0, last));
    return heights;
}

}  // namespace htmlview
