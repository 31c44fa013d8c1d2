#include "setup/htmlview/layout/table_widths.h"

#include <algorithm>
#include <numeric>

#include "setup/htmlview/util/win_math.h"

namespace htmlview {

namespace {

// More columns than this come only from broken markup; spans are cut to it as well.
constexpr int kMaxColumns = 1000;

int Sum(const std::vector<int>& values, int from = 0, int count = -1)
{
    if (count < 0)
        count = static_cast<int>(values.size()) - from;
    long long total = 0;
    for (int i = from; i < from + count; ++i)
        total += values[i];
    return ClampToInt(total);
}

// Grows the spanned columns so that together they reach `target`: in proportion to what they
// hold, in equal shares when they hold nothing; rounding leftovers go to the first.
void Spread(std::vector<int>& values, int from, int span, int target)
{
    const int sum = Sum(values, from, span);
    if (sum >= target)
        return;
    for (int j = from; j < from + span; ++j)
        values[j] = sum > 0 ? MulDivWin(values[j], target, sum) : target / span;
    values[from] += std::max(0, target - Sum(values, from, span));
}

// Makes the widths add up to `total` where the minimums allow: missing pixels go to the first
// column, surplus ones come off the first columns still wider than their minimum.
void SettleSum(ColumnWidths& c, int total)
{
    if (c.widths.empty())
        return;
    int diff = total - Sum(c.widths);
    if (diff > 0)
        c.widths[0] += diff;
    for (int i = 0; i < c.Count() && diff < 0; ++i) {
        const int give = std::min(-diff, std::max(0, c.widths[i] - c.min[i]));
        c.widths[i] -= give;
        diff += give;
    }
}

}  // namespace

int ColumnWidths::TotalMin() const
{
    return Sum(min);
}

int ColumnWidths::TotalMax() const
{
    return Sum(max);
}

ColumnWidths MeasureColumns(const std::vector<CellMeasure>& cells, int columnCount,
                            bool percentages, int available)
{
    ColumnWidths c;
    const int n = std::clamp(columnCount, 0, kMaxColumns);
    c.min.assign(n, 0);
    c.max.assign(n, 0);
    c.percent.assign(n, 0);
    c.widths.assign(n, 0);
    int widest = 1;
    for (const CellMeasure& cell : cells)
        widest = std::max(widest, cell.span);
    // Narrow spans first, so wider ones only add what their columns lack.
    for (int span = 1; span <= std::min(widest, n); ++span) {
        for (const CellMeasure& cell : cells) {
            if (cell.column < 0 || cell.column >= n || std::min(cell.span, n - cell.column) != span)
                continue;
            const int spacing = std::max(0, cell.spacing);
            int min = std::max(0, cell.min) + spacing;
            int max = std::max(min, std::max(0, cell.max) + spacing);
            const bool pixels = cell.widthAttr > 0 && !cell.isPercent;
            int percent = 0;
            if (percentages && cell.isPercent)
                percent = std::clamp(cell.widthAttr, 0, 1000);
            else if (percentages && pixels && available > 0)
                percent = std::clamp(MulDivWin(cell.widthAttr, 1000, available), 0, 1000);
            const int col = cell.column;
            if (span == 1) {
                if (pixels)
                    max = std::max(min, cell.widthAttr + spacing);
                c.min[col] = std::max(c.min[col], min);
                c.max[col] = std::max(c.max[col], max);
                c.percent[col] = std::max(c.percent[col], percent);
                continue;
            }
            if (pixels) {
                min = std::max(min, cell.widthAttr);
                max = std::max(min, cell.widthAttr);
            }
            int pctSum = 0, unset = 0;
            for (int j = col; j < col + span; ++j) {
                if (c.percent[j] >= 1)
                    pctSum += c.percent[j];
                else
                    ++unset;
            }
            if (percentages && (percent > 0 || pctSum > 0)) {
                const int share = unset > 0 ? std::max(0, (percent - pctSum) / unset) : 0;
                for (int j = col; j < col + span; ++j) {
                    if (unset == 0 && pctSum < percent)
                        c.percent[j] = MulDivWin(c.percent[j], percent, pctSum);
                    else if (share > 0 && c.percent[j] < 1)
                        c.percent[j] = share;
                }
            }
            Spread(c.min, col, span, min);
            Spread(c.max, col, span, max);
            for (int j = col; j < col + span; ++j)
                c.max[j] = std::max(c.max[j], c.min[j]);
        }
    }
    return c;
}

void WidthsAbsolute(ColumnWidths& c, int available, bool specified)
{
    const int n = c.Count();
    const int totalMin = c.TotalMin(), totalMax = c.TotalMax();
    if (available < totalMin) {
        c.widths = c.min;
        return;
    }
    if (available >= totalMax && !specified) {
        c.widths = c.max;
        return;
    }
    const int room = available - totalMin;
    const int slack = totalMax - totalMin;
    for (int i = 0; i < n; ++i) {
        if (slack > 0)
            c.widths[i] = c.min[i] + MulDivWin(c.max[i] - c.min[i], room, slack);
        else if (totalMin > 0)
            c.widths[i] = c.min[i] + MulDivWin(c.min[i], room, totalMin);
        else  // nothing to go by: equal shares
            c.widths[i] = room / n;
    }
    SettleSum(c, available);
}

void WidthsForTableWidth(ColumnWidths& c, int width)
{
    const int n = c.Count();
    std::vector<bool> fixed(n, false), isFree(n, false);
    int freeCount = 0, pctTotal = 0;
    long long slack = 0;
    for (int i = 0; i < n; ++i) {
        if (c.percent[i] <= 0) {
            c.widths[i] = c.min[i];
            isFree[i] = true;
            ++freeCount;
            slack += std::max(0, c.max[i] - c.min[i]);
            continue;
        }
        const int share = MulDivWin(width, c.percent[i], 1000);
        if (c.min[i] < share) {
            c.widths[i] = share;
            pctTotal += c.percent[i];
        } else {
            c.widths[i] = c.min[i];
            fixed[i] = true;
        }
    }
    int excess = Sum(c.widths) - width;
    if (excess < 0) {
        const int room = -excess;
        if (freeCount == 0 && pctTotal > 0) {
            for (int i = 0; i < n; ++i)
                if (!fixed[i])
                    c.widths[i] += MulDivWin(room, c.percent[i], pctTotal);
        } else if (freeCount > 0 && slack > 0 && slack >= room / 4) {
            for (int i = 0; i < n; ++i)
                if (isFree[i])
                    c.widths[i] += static_cast<int>(
                        static_cast<long long>(room) * std::max(0, c.max[i] - c.min[i]) / slack);
        } else if (n > 0) {
            // Free columns share equally; with none free (every percentage column at its
            // minimum) all columns do.
            const int among = freeCount > 0 ? freeCount : n;
            for (int i = 0; i < n; ++i)
                if (freeCount == 0 || isFree[i])
                    c.widths[i] += room / among;
        }
    } else if (excess > 0 && pctTotal > 0) {
        for (int pass = 0; pass < 4 && pctTotal > 0; ++pass) {
            bool changed = false;
            for (int i = 0; i < n; ++i) {
                if (fixed[i] || isFree[i] || pctTotal <= 0)
                    continue;
                if (c.widths[i] - MulDivWin(excess, c.percent[i], pctTotal) < c.min[i]) {
                    excess -= c.widths[i] - c.min[i];
                    pctTotal -= c.percent[i];
                    c.widths[i] = c.min[i];
                    fixed[i] = true;
                    changed = true;
                }
            }
            if (!changed)
                break;
        }
        if (pctTotal > 0 && excess > 0)
            for (int i = 0; i < n; ++i)
                if (!fixed[i] && !isFree[i])
                    c.widths[i] = std::max(
                        c.min[i], c.widths[i] - MulDivWin(excess, c.percent[i], pctTotal));
    }
    SettleSum(c, width);
}

void WidthsForAvailable(ColumnWidths& c, int available, int widthRequest)
{
    const int n = c.Count();
    if (n == 0)
        return;
    int pctSum = 0;
    for (int p : c.percent)
        pctSum += std::max(0, p);
    if ((pctSum > 0 && pctSum <= 1000) || widthRequest > 0) {
        int freeMax = 0, natural = 0;
        for (int i = 0; i < n; ++i) {
            if (c.percent[i] > 0)
                natural = std::max(natural, MulDivWin(c.max[i], 1000, c.percent[i]));
            else
                freeMax += c.max[i];
        }
        natural = std::max(natural, pctSum < 1000 ? MulDivWin(freeMax, 1000, 1000 - pctSum)
                                    : freeMax > 0 ? 30000
                                                  : 0);
        if (available >= natural) {
            const int w = widthRequest > 0 ? available : natural;
            const int freeWidth = std::max(0, MulDivWin(w, 1000 - std::min(pctSum, 1000), 1000));
            for (int i = 0; i < n; ++i)
                c.widths[i] = c.percent[i] > 0 ? MulDivWin(w, c.percent[i], 1000)
                              : freeMax > 0    ? MulDivWin(c.max[i], freeWidth, freeMax)
                                               : 0;
            return;
        }
        // Percentages that do not fit are scaled down until they do; the limit only falls, and
        // the pass count is bounded besides.
        int limit = 268435455;
        for (int round = 0; round < 64; ++round) {
            int minSum = 0, pctWidths = 0;
            bool anyPercent = false;
            for (int i = 0; i < n; ++i) {
                if (c.percent[i] <= 0) {
                    minSum += c.min[i];
                    continue;
                }
                const int share = MulDivWin(available, c.percent[i], 1000);
                if (share < c.min[i]) {
                    c.percent[i] = 0;
                    minSum += c.min[i];
                } else {
                    pctWidths += share;
                    anyPercent = true;
                }
            }
            if (!anyPercent)
                break;
            if (available < minSum + pctWidths) {
                int room = std::min(available - minSum, limit - 1);
                if (room <= 0 || pctWidths <= 0) {
                    std::fill(c.percent.begin(), c.percent.end(), 0);
                    break;
                }
                for (int& p : c.percent)
                    if (p > 0)
                        p = MulDivWin(p, room, pctWidths);
                limit = room;
                continue;
            }
            for (int i = 0; i < n; ++i)
                if (c.percent[i] > 0)
                    c.min[i] = c.max[i] = MulDivWin(available, c.percent[i], 1000);
            break;
        }
    }
    const int totalMin = c.TotalMin(), totalMax = c.TotalMax();
    if (available < totalMin) {
        c.widths = c.min;
        return;
    }
    const int room = available - totalMin;
    int widest = 0;
    for (int i = 0; i < n; ++i) {
        if (totalMax == totalMin)
            c.widths[i] = c.min[i] + room / n;
        else
            c.widths[i] = c.min[i] + MulDivWin(c.max[i] - c.min[i], room, totalMax - totalMin);
        if (c.max[i] - c.min[i] > c.max[widest] - c.min[widest])
            widest = i;
    }
    const int diff = available - Sum(c.widths);
    if (diff > 0)
        c.widths[totalMax == totalMin ? 0 : widest] += diff;
    else
        SettleSum(c, available);
}

}  // namespace htmlview
