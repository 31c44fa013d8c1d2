// Any bytes as a table's cells and room: measured into columns and distributed by each of the
// width algorithms, which must keep their invariants (no negative width, never below a column's
// minimum, the exact room when it covers the minimum) and end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "fuzz/byte_reader.h"
#include "setup/htmlview/layout/table_widths.h"

namespace {

void Check(const htmlview::ColumnWidths& c, int room, bool exact)
{
    long long sum = 0;
    for (int i = 0; i < c.Count(); ++i) {
        if (c.widths[i] < 0 || (exact && c.widths[i] < c.min[i]))
            std::abort();
        sum += c.widths[i];
    }
    if (exact && c.Count() > 0 && room >= c.TotalMin() && sum != room)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace htmlview;
    ByteReader in{data, size};
    const int columns = in.Next() % 40;
    const int room = in.Wide() * 2;
    const bool percentages = in.Next() & 1;
    std::vector<CellMeasure> cells;
    while (in.at < size && cells.size() < 200) {
        CellMeasure m;
        m.column = in.Next() % (columns + 2) - 1;
        m.span = in.Next() % 50;
        m.min = in.Wide();
        m.max = in.Wide();
        m.spacing = in.Next();
        m.isPercent = in.Next() & 1;
        m.widthAttr = in.Wide() % 1200;
        cells.push_back(m);
    }
    const ColumnWidths measured = MeasureColumns(cells, columns, percentages, room);
    for (int i = 0; i < measured.Count(); ++i)
        if (measured.min[i] < 0 || measured.min[i] > measured.max[i])
            std::abort();
    ColumnWidths a = measured;
    WidthsAbsolute(a, room, true);
    Check(a, room, true);
    ColumnWidths t = measured;
    WidthsForTableWidth(t, room);
    Check(t, room, true);
    ColumnWidths v = measured;
    WidthsForAvailable(v, room, percentages ? room : 0);
    Check(v, room, false);
    return 0;
}
