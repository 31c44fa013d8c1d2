// Any bytes as a table's rows (what their cells need and ask for, spanning cells) and a requested
// height: the rows' heights must never go negative, never fall below what a row needs when the
// room covers the rows, and add up to the room exactly when the table is asked to be taller.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/byte_reader.h"
#include "setup/htmlview/layout/table_heights.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace htmlview;
    ByteReader in{data, size};
    const int rowCount = in.Next() % 30;
    const int room = in.Wide() * (in.Next() % 8) - 100;
    std::vector<RowNeed> rows(rowCount);
    while (in.at < size) {
        const int first = in.Next() % (rowCount + 2) - 1;
        const int span = in.Next() % 40;
        const int content = in.Wide() - 1000;
        const int desired = in.Wide();
        SpreadSpanningCell(rows, first, span, content, desired, in.Next() & 1);
    }
    long long need = 0;
    for (const RowNeed& row : rows) {
        if (row.content < 0 || row.desired < row.content)
            std::abort();
        need += row.content;
    }
    const std::vector<int> heights = RowHeightsFor(rows, room);
    if (static_cast<int>(heights.size()) != rowCount)
        std::abort();
    long long sum = 0;
    for (int r = 0; r < rowCount; ++r) {
        if (heights[r] < 0 || heights[r] < rows[r].content)
            std::abort();
        sum += heights[r];
    }
    if (rowCount > 0 && need < room && sum != room)
        std::abort();
    return 0;
}
