#include "setup/htmlview/layout/table.h"

#include <algorithm>
#include <numeric>

#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/layout_dump.h"
#include "setup/htmlview/layout/table_widths.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

bool IsPercent(const Attribute& attribute)
{
    return attribute.value.find('%') != std::string::npos;
}

// A width for the table's own flow: so large a table still lays out in bounded room.
constexpr int kMaxTableWidth = 100000;

}  // namespace

TableSection::TableSection(Document& document, const AttributeList& attributes)
    : SectionBase(document)
{
    if (const Attribute* b = attributes.Find(Sym::Border))
        border = b->value.empty() ? 1 : std::clamp(b->number, 0, 100);
    if (const Attribute* p = attributes.Find(Sym::Cellpadding); p && p->number >= 0)
        cellPadding = std::min(p->number, 50);
    if (const Attribute* s = attributes.Find(Sym::Cellspacing); s && s->number >= -1)
        cellSpacing = std::clamp(s->number, 0, 40);
    if (const Attribute* w = attributes.Find(Sym::Width); w && w->number > 0) {
        widthPercent = IsPercent(*w);
        widthAttr = widthPercent ? std::min(w->number, 100) : std::min(w->number, kMaxTableWidth);
    }
    if (const Attribute* a = attributes.Find(Sym::Align)) {
        const std::string value = LowerAscii(Trim(a->value));
        align = value == "center" || value == "middle" ? Align::Middle
                : value == "right"                     ? Align::Right
                : value == "left"                      ? Align::Left
                                                       : Align::None;
    }
}

void TableSection::StartRow()
{
    rows.emplace_back();
}

TableCell& TableSection::AddCell(std::unique_ptr<Block> block, const AttributeList& attributes,
                                 CellAlign vAlign)
{
    if (rows.empty())
        StartRow();
    TableCell& cell = rows.back().emplace_back();
    cell.block = std::move(block);
    cell.vAlign = vAlign;
    if (const Attribute* span = attributes.Find(Sym::Colspan); span && span->number > 1)
        cell.askedColSpan = std::min(span->number, kMaxSpan);
    if (const Attribute* span = attributes.Find(Sym::Rowspan); span && span->number > 1)
        cell.askedRowSpan = std::min(span->number, kMaxSpan);
    if (const Attribute* w = attributes.Find(Sym::Width)) {
        if (IsPercent(*w) && w->number >= 1 && w->number <= 100) {
            cell.widthAttr = w->number * 10;
            cell.isPercent = true;
        } else if (!IsPercent(*w) && w->number > 0) {
            cell.widthAttr = std::min(w->number, kMaxTableWidth);
        }
    }
    if (const Attribute* h = attributes.Find(Sym::Height); h && !IsPercent(*h))
        cell.requestedHeight = std::clamp(h->number, 0, kMaxTableWidth);
    return cell;
}

void TableSection::AddColumns(const ColumnFormat& format, int span)
{
    for (int i = std::clamp(span, 1, 100); i > 0; --i)
        columnFormats.push_back(format);
}

int TableSection::FreeColumnOfOpenRow()
{
    PlaceOnGrid();
    // Past the described columns there is none to look up (and none to index).
    return m_nextColumn < static_cast<int>(columnFormats.size()) ? m_nextColumn : -1;
}

void TableSection::PlaceOnGrid()
{
    // Which grid places are taken, row by row; a row span reaches at most the last row.
    const int rowCount = static_cast<int>(rows.size());
    std::vector<std::vector<char>> taken(rowCount);
    m_columnCount = 0;
    m_nextColumn = 0;
    for (int r = 0; r < rowCount; ++r) {
        int column = 0;
        for (TableCell& cell : rows[r]) {
            std::vector<char>& here = taken[r];
            while (column < static_cast<int>(here.size()) && here[column])
                ++column;
            cell.row = r;
            cell.column = std::min(column, kMaxSpan - 1);
            cell.colSpan = std::clamp(cell.askedColSpan, 1, kMaxSpan - cell.column);
            cell.rowSpan = std::clamp(cell.askedRowSpan, 1, rowCount - r);
            for (int rr = r; rr < r + cell.rowSpan; ++rr) {
                std::vector<char>& line = taken[rr];
                if (static_cast<int>(line.size()) < cell.column + cell.colSpan)
                    line.resize(cell.column + cell.colSpan, 0);
                std::fill(line.begin() + cell.column, line.begin() + cell.column + cell.colSpan, 1);
            }
            column = cell.column + cell.colSpan;
            m_columnCount = std::max(m_columnCount, column);
        }
        if (r == rowCount - 1) {
            const std::vector<char>& here = taken[r];
            while (column < static_cast<int>(here.size()) && here[column])
                ++column;
            m_nextColumn = column;
        }
    }
    // Cells without a width of their own take their column's.
    for (auto& row : rows)
        for (TableCell& cell : row)
            if (cell.widthAttr == 0 && cell.column < static_cast<int>(columnFormats.size()) &&
                columnFormats[cell.column].width > 0) {
                cell.widthAttr = columnFormats[cell.column].width;
                cell.isPercent = columnFormats[cell.column].isPercent;
            }
}

ColumnWidths TableSection::MeasureColumnsFor(int available, bool& percentages)
{
    PlaceOnGrid();
    std::vector<CellMeasure> measures;
    percentages = false;
    ForEachCell([&](const TableCell& cell) {
        int cellMin = 0, cellMax = 0;
        cell.block->MeasureWidths(cellMin, cellMax);
        measures.push_back({cell.column, cell.colSpan, cellMin, cellMax, cellSpacing,
                            cell.widthAttr, cell.isPercent});
        percentages = percentages || cell.isPercent;
    });
    return MeasureColumns(measures, m_columnCount, percentages, available);
}

void TableSection::MeasureWidths(int& min, int& max)
{
    bool percentages = false;
    const ColumnWidths c = MeasureColumnsFor(0, percentages);
    const int frame = 2 * border + cellSpacing;
    min = c.TotalMin() + frame;
    max = std::max(min, c.TotalMax() + frame);
    if (widthAttr > 0 && !widthPercent)
        max = min = std::max(min, widthAttr);
}

int TableSection::LayoutCell(TableCell& cell, int top, int& pos)
{
    // Each cell is a formatting context of its own: floats inside stay inside.
    const int left = m_layoutX + cell.x;
    cell.indents.Clear();
    cell.indents.Reset(left, left + cell.width);
    LayoutArgs args;
    args.x = left;
    args.y = top;
    args.refX = args.refY = 1000;
    args.availWidth = cell.width;
    args.indents = &cell.indents;
    int maxWidth = 0;
    const int height = cell.block->Layout(args, maxWidth, pos);
    return std::max(height, cell.indents.FloatBottom() - top);
}

int TableSection::Layout(const LayoutArgs& args, int& maxWidth, int& pos)
{
    firstPos = pos;
    const int available = std::clamp(args.availWidth, 0, kMaxTableWidth);
    const int frame = 2 * border + cellSpacing;
    int request = 0;
    if (widthAttr > 0)
        request = widthPercent ? available * widthAttr / 100 : widthAttr;

    const int room = std::max(0, (request > 0 ? request : available) - frame);
    bool percentages = false;
    ColumnWidths c = MeasureColumnsFor(room, percentages);
    if (percentages && request > 0)
        WidthsForTableWidth(c, room);
    else if (percentages)
        WidthsForAvailable(c, room, 0);
    else
        WidthsAbsolute(c, room, request > 0);
    columnWidths = c.widths;
    std::vector<int> columnX(m_columnCount + 1, border);
    for (int i = 0; i < m_columnCount; ++i)
        columnX[i + 1] = columnX[i] + columnWidths[i];
    tableWidth = columnX[m_columnCount] + cellSpacing + border;

    m_layoutX = args.x;
    tableLeft = 0;
    if (align == Align::Middle)
        tableLeft = std::max(0, (available - tableWidth) / 2);
    else if (align == Align::Right)
        tableLeft = std::max(0, available - tableWidth);
    m_layoutX += tableLeft;

    // First pass: each cell's height in its width; rows from cells of span 1, then spans spread
    // what their rows lack in equal parts (the last row takes the remainder).
    const int rowCount = static_cast<int>(rows.size());
    rowHeights.assign(rowCount, 0);
    const int startPos = pos;
    int maxSpan = 1;
    for (auto& row : rows)
        for (TableCell& cell : row) {
            cell.x = columnX[cell.column] + cellSpacing;
            cell.width =
                std::max(0, columnX[cell.column + cell.colSpan] - columnX[cell.column] - cellSpacing);
            cell.contentHeight = std::max(LayoutCell(cell, args.y, pos), cell.requestedHeight);
            maxSpan = std::max(maxSpan, cell.rowSpan);
        }
    for (int span = 1; span <= maxSpan; ++span)
        ForEachCell([&](const TableCell& cell) {
            if (cell.rowSpan != span)
                return;
            const int last = cell.row + span - 1;
            int have = std::accumulate(rowHeights.begin() + cell.row, rowHeights.begin() + last + 1,
                                       0) + (span - 1) * cellSpacing;
            const int lack = cell.contentHeight - have;
            if (lack <= 0)
                return;
            for (int r = cell.row; r <= last; ++r)
                rowHeights[r] += lack / span;
            rowHeights[last] += lack % span;
        });

    // Second pass: the cells at their rows, moved down by their vertical alignment.
    std::vector<int> rowY(rowCount + 1, border + cellSpacing);
    for (int r = 0; r < rowCount; ++r)
        rowY[r + 1] = rowY[r] + rowHeights[r] + cellSpacing;
    pos = startPos;
    for (auto& row : rows)
        for (TableCell& cell : row) {
            cell.y = rowY[cell.row];
            cell.height = rowY[cell.row + cell.rowSpan] - cellSpacing - cell.y;
            const int slack = std::max(0, cell.height - cell.contentHeight);
            const int offset = cell.vAlign == CellAlign::Middle   ? slack / 2
                               : cell.vAlign == CellAlign::Bottom ? slack
                                                                  : 0;
            LayoutCell(cell, args.y + cell.y + offset, pos);
        }
    const int height = rowCount > 0 ? rowY[rowCount] + border : 2 * border + cellSpacing;

    posCount = pos - firstPos;
    originY = boxTop = inkTop = args.y;
    boxLeft = m_layoutX;
    layoutHeight = paintHeight = height;
    boxBottom = inkBottom = args.y + height;
    maxWidth = tableWidth;
    return height;
}

int TableSection::Paint(const PaintArgs& args)
{
    const int shift = args.x - (m_layoutX - tableLeft);
    const int left = m_layoutX + shift;
    const int top = originY - document.scrollY;
    if (border > 0) {
        BorderCommand frame;
        frame.outer = {left, top, left + tableWidth, top + layoutHeight};
        frame.inner = {left + border, top + border, left + tableWidth - border,
                       top + layoutHeight - border};
        frame.styles.fill(3);  // outset
        args.plan->commands.push_back(frame);
    }
    for (auto& row : rows)
        for (TableCell& cell : row) {
            if (cell.block->originY - document.scrollY > args.plan->clip.bottom ||
                originY + cell.y + cell.height - document.scrollY < args.plan->clip.top)
                continue;
            if (border > 0) {
                BorderCommand sunken;
                sunken.outer = {left + cell.x - 1, top + cell.y - 1, left + cell.x + cell.width + 1,
                                top + cell.y + cell.height + 1};
                sunken.inner = {left + cell.x, top + cell.y, left + cell.x + cell.width,
                                top + cell.y + cell.height};
                sunken.styles.fill(2);  // inset
                args.plan->commands.push_back(sunken);
            }
            cell.indents.Reset(left + cell.x, left + cell.x + cell.width);
            PaintArgs child = args;
            child.indents = &cell.indents;
            child.x = left + cell.x;
            cell.block->Paint(child);
        }
    return originY + layoutHeight;
}

int TableSection::HitLink(int x, int y, LinkHit& hit)
{
    for (auto& row : rows)
        for (TableCell& cell : row)
            if (const int flags = cell.block->HitLink(x, y, hit))
                return flags;
    return 0;
}

int TableSection::CaretAtPoint(int x, int y, CaretHit& caret)
{
    for (auto& row : rows)
        for (TableCell& cell : row) {
            const int top = originY + cell.y;
            if (y >= top && y < top + cell.height)
                if (const int pos = cell.block->CaretAtPoint(x, y, caret); pos >= 0)
                    return pos;
        }
    return -1;
}

int TableSection::DocIndexOf(int sourceIndex, bool prev) const
{
    int found = -1;
    ForEachCell([&](const TableCell& cell) {
        if (found < 0)
            found = cell.block->DocIndexOf(sourceIndex, prev);
    });
    return found;
}

bool TableSection::PointOfCaret(int pos, bool measure, int& x, int& y)
{
    for (auto& row : rows)
        for (TableCell& cell : row)
            if (cell.block->PointOfCaret(pos, measure, x, y))
                return true;
    return false;
}

bool TableSection::CharAt(int pos, char16_t& ch) const
{
    bool found = false;
    ForEachCell([&](const TableCell& cell) { found = found || cell.block->CharAt(pos, ch); });
    return found;
}

void TableSection::RegisterPositions(std::vector<SectionBase*>& list)
{
    for (auto& row : rows)
        for (TableCell& cell : row)
            cell.block->RegisterPositions(list);
}

void TableSection::Dump(std::string& out, int depth) const
{
    DumpBox(out, depth, "table");
    std::string widths;
    for (int w : columnWidths)
        widths += (widths.empty() ? "" : " ") + std::to_string(w);
    std::string heights;
    for (int h : rowHeights)
        heights += (heights.empty() ? "" : " ") + std::to_string(h);
    DumpLine(out, depth + 1, "columns", {{"width", tableWidth}}, widths);
    DumpLine(out, depth + 1, "rows", {{"count", static_cast<int>(rows.size())}}, heights);
    ForEachCell([&](const TableCell& cell) {
        DumpLine(out, depth + 1, "cell",
                 {{"row", cell.row},
                  {"col", cell.column},
                  {"x", cell.x},
                  {"y", cell.y},
                  {"w", cell.width},
                  {"h", cell.height}});
        cell.block->Dump(out, depth + 2);
    });
}

}  // namespace htmlview
