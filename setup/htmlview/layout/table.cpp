#include "setup/htmlview/layout/table.h"

#include <algorithm>
#include <numeric>

#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/layout_dump.h"
#include "setup/htmlview/layout/table_widths.h"
#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/util/text.h"
#include "setup/htmlview/util/win_math.h"

namespace htmlview {

namespace {

// A width for the table's own flow: so large a table still lays out in bounded room.
constexpr int kMaxTableWidth = 100000;

// A HEIGHT attribute: pixels, or a percentage from 0 to 100.
void ReadHeight(const Attribute& attribute, int& pixels, int& percent)
{
    if (attribute.IsPercent())
        percent = std::clamp(attribute.number, 0, 100);
    else
        pixels = std::clamp(attribute.number, 0, kMaxTableWidth);
}

std::optional<std::uint32_t> ColorAttribute(const AttributeList& attributes, Sym symbol)
{
    const Attribute* attribute = attributes.Find(symbol);
    return attribute ? ParseColor(attribute->value, false) : std::nullopt;
}

// System button highlight and shadow: the raised and sunken frames' default colours.
constexpr int kButtonHighlight = 20, kButtonShadow = 16;

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
        widthPercent = w->IsPercent();
        widthAttr = widthPercent ? std::min(w->number, 100) : std::min(w->number, kMaxTableWidth);
    }
    if (const Attribute* h = attributes.Find(Sym::Height); h && h->number > 0) {
        heightPercent = h->IsPercent();
        heightAttr = std::clamp(h->number, 0, heightPercent ? 100 : kMaxTableWidth);
    }
    if (const auto both = ColorAttribute(attributes, Sym::Bordercolor))
        lightColor = darkColor = *both;
    if (const auto light = ColorAttribute(attributes, Sym::Bordercolorlight))
        lightColor = *light;
    if (const auto dark = ColorAttribute(attributes, Sym::Bordercolordark))
        darkColor = *dark;
    if (const auto color = ColorAttribute(attributes, Sym::Bgcolor); color && *color != kNoColor)
        background = *color;
    if (const Attribute* a = attributes.Find(Sym::Align)) {
        const std::string value = LowerAscii(Trim(a->value));
        align = value == "center" || value == "middle" ? Align::Middle
                : value == "right"                     ? Align::Right
                : value == "left"                      ? Align::Left
                                                       : Align::None;
    }
}

void TableSection::StartRow(const AttributeList* attributes)
{
    rows.emplace_back();
    RowFormat& format = rowFormats.emplace_back();
    if (const Attribute* h = attributes ? attributes->Find(Sym::Height) : nullptr)
        ReadHeight(*h, format.height, format.percent);
}

Block& TableSection::CaptionBlock(const Properties& properties, bool onTop)
{
    if (!caption) {
        caption = std::make_unique<Block>(document, properties);
        captionOnTop = onTop;
    }
    return *caption;
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
        if (w->IsPercent() && w->number >= 1 && w->number <= 100) {
            cell.widthAttr = w->number * 10;
            cell.isPercent = true;
        } else if (!w->IsPercent() && w->number > 0) {
            cell.widthAttr = std::min(w->number, kMaxTableWidth);
        }
    }
    if (const Attribute* h = attributes.Find(Sym::Height))
        ReadHeight(*h, cell.requestedHeight, cell.requestedPercent);
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
    if (caption) {
        // A caption wider than the table widens the whole.
        int captionMin = 0, captionMax = 0;
        caption->MeasureWidths(captionMin, captionMax);
        min = std::max(min, captionMin);
        max = std::max(max, captionMin);
    }
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

int TableSection::LayoutCaption(int top, int& pos)
{
    m_captionIndents.Clear();
    m_captionIndents.Reset(m_captionX, m_captionX + outerWidth);
    LayoutArgs args;
    args.x = m_captionX;
    args.y = top;
    args.refX = args.refY = 1000;
    args.availWidth = outerWidth;
    args.indents = &m_captionIndents;
    int maxWidth = 0;
    const int height = caption->Layout(args, maxWidth, pos);
    return std::max(height, m_captionIndents.FloatBottom() - top);
}

int TableSection::HeightRequest(int availHeight) const
{
    if (heightAttr <= 0)
        return 0;
    return heightPercent ? MulDivWin(std::max(0, availHeight), heightAttr, 100) : heightAttr;
}

std::vector<RowNeed> TableSection::RowNeeds(int room) const
{
    std::vector<RowNeed> needs(rows.size());
    int maxSpan = 1;
    ForEachCell([&](const TableCell& cell) { maxSpan = std::max(maxSpan, cell.rowSpan); });
    // Rows from cells of span 1 first, then the spanning cells spread what their rows lack.
    for (int span = 1; span <= maxSpan; ++span)
        ForEachCell([&](const TableCell& cell) {
            if (cell.rowSpan != span)
                return;
            const RowFormat& row = rowFormats[cell.row];
            const int pixels = std::max(cell.requestedHeight, row.height);
            const int percent = std::max(cell.requestedPercent, row.percent);
            const int between = (span - 1) * cellSpacing;
            int content = cell.contentHeight;
            int desired = 0;
            bool specified = false;
            if (pixels > 0) {
                content = std::max(content, pixels);
                specified = true;
            } else if (percent > 0) {
                desired = MulDivWin(percent, std::max(0, room), 100);
                specified = room > 0;
            }
            SpreadSpanningCell(needs, cell.row, span, std::max(0, content - between),
                               std::max(0, desired - between), specified);
        });
    return needs;
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

    // A caption wider than the table widens the whole; the table is centred under it.
    outerWidth = tableWidth;
    if (caption) {
        int captionMin = 0, captionMax = 0;
        caption->MeasureWidths(captionMin, captionMax);
        outerWidth = std::max(tableWidth, std::min(captionMin, kMaxTableWidth));
    }
    tableLeft = 0;
    if (align == Align::Middle)
        tableLeft = std::max(0, (available - outerWidth) / 2);
    else if (align == Align::Right)
        tableLeft = std::max(0, available - outerWidth);
    m_captionX = args.x + tableLeft;
    m_layoutX = m_captionX + (outerWidth - tableWidth) / 2;

    boxTop = inkTop = args.y;
    captionHeight = 0;
    if (caption && captionOnTop)
        captionHeight = LayoutCaption(args.y, pos);
    gridTop = args.y + captionHeight;

    // First pass: each cell's content height in its width.
    const int rowCount = static_cast<int>(rows.size());
    const int startPos = pos;
    for (auto& row : rows)
        for (TableCell& cell : row) {
            cell.x = columnX[cell.column] + cellSpacing;
            cell.width = std::max(
                0, columnX[cell.column + cell.colSpan] - columnX[cell.column] - cellSpacing);
            cell.contentHeight = LayoutCell(cell, gridTop, pos);
        }
    // The rows' heights, stretched to a requested table height.
    const int heightRoom =
        std::max(0, HeightRequest(args.availHeight) - frame - rowCount * cellSpacing);
    rowHeights = RowHeightsFor(RowNeeds(heightRoom), heightRoom);

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
            LayoutCell(cell, gridTop + cell.y + offset, pos);
        }
    gridHeight = rowCount > 0 ? rowY[rowCount] + border : frame + border;
    int height = captionHeight + gridHeight;
    if (caption && !captionOnTop) {
        captionHeight = LayoutCaption(gridTop + gridHeight, pos);
        height += captionHeight;
    }

    posCount = pos - firstPos;
    originY = args.y;
    boxLeft = m_captionX;
    layoutHeight = paintHeight = height;
    boxBottom = inkBottom = args.y + height;
    maxWidth = outerWidth;
    return height;
}

std::vector<Block*> TableSection::BlocksInOrder() const
{
    std::vector<Block*> blocks;
    if (caption && captionOnTop)
        blocks.push_back(caption.get());
    ForEachCell([&](const TableCell& cell) { blocks.push_back(cell.block.get()); });
    if (caption && !captionOnTop)
        blocks.push_back(caption.get());
    return blocks;
}

void TableSection::PaintFrames(const PaintArgs& args, int left, int top) const
{
    const std::uint32_t light = ResolveColor(
        lightColor != kNoneColor ? lightColor : 0xFF000000u + kButtonHighlight, document.fonts);
    const std::uint32_t dark = ResolveColor(
        darkColor != kNoneColor ? darkColor : 0xFF000000u + kButtonShadow, document.fonts);
    auto frame = [&](const Rect& outer, int width, bool raised) {
        BorderCommand command;
        command.outer = outer;
        command.inner = {outer.left + width, outer.top + width, outer.right - width,
                         outer.bottom - width};
        command.styles.fill(1);  // solid sides in the two frame colours
        const std::uint32_t topLeft = raised ? light : dark, bottomRight = raised ? dark : light;
        command.colors = {topLeft, bottomRight, bottomRight, topLeft};
        args.plan->commands.push_back(command);
    };
    if (border > 0)
        frame({left, top, left + tableWidth, top + gridHeight}, border, true);
    if (border <= 0)
        return;
    // A sunken line around every cell that shows something; empty cells get none.
    for (const auto& row : rows)
        for (const TableCell& cell : row)
            if (cell.framed && !cell.block->cell.sections.empty())
                frame({left + cell.x, top + cell.y, left + cell.x + cell.width,
                       top + cell.y + cell.height},
                      1, false);
}

int TableSection::Paint(const PaintArgs& args)
{
    const int shift = args.x - (m_captionX - tableLeft);
    const int left = m_layoutX + shift;
    const int top = gridTop - document.scrollY;
    if (originY - document.scrollY > args.plan->clip.bottom ||
        originY + layoutHeight - document.scrollY < args.plan->clip.top)
        return originY + layoutHeight;
    if (caption) {
        m_captionIndents.Reset(m_captionX + shift, m_captionX + shift + outerWidth);
        PaintArgs child = args;
        child.indents = &m_captionIndents;
        child.x = m_captionX + shift;
        caption->Paint(child);
    }
    if (background != kNoneColor)
        args.plan->commands.push_back(FillCommand{{left, top, left + tableWidth, top + gridHeight},
                                                  ResolveColor(background, document.fonts)});
    for (auto& row : rows)
        for (TableCell& cell : row) {
            if (gridTop + cell.y - document.scrollY > args.plan->clip.bottom ||
                gridTop + cell.y + cell.height - document.scrollY < args.plan->clip.top)
                continue;
            cell.indents.Reset(left + cell.x, left + cell.x + cell.width);
            PaintArgs child = args;
            child.indents = &cell.indents;
            child.x = left + cell.x;
            cell.block->Paint(child);
        }
    PaintFrames(args, left, top);
    return originY + layoutHeight;
}

int TableSection::HitLink(int x, int y, LinkHit& hit)
{
    for (Block* block : BlocksInOrder())
        if (const int flags = block->HitLink(x, y, hit))
            return flags;
    return 0;
}

int TableSection::CaretAtPoint(int x, int y, CaretHit& caret)
{
    if (caption) {
        const int top = captionOnTop ? originY : gridTop + gridHeight;
        if (y >= top && y < top + captionHeight)
            if (const int pos = caption->CaretAtPoint(x, y, caret); pos >= 0)
                return pos;
    }
    for (auto& row : rows)
        for (TableCell& cell : row) {
            const int top = gridTop + cell.y;
            if (y >= top && y < top + cell.height)
                if (const int pos = cell.block->CaretAtPoint(x, y, caret); pos >= 0)
                    return pos;
        }
    return -1;
}

int TableSection::DocIndexOf(int sourceIndex, bool prev) const
{
    for (const Block* block : BlocksInOrder())
        if (const int found = block->DocIndexOf(sourceIndex, prev); found >= 0)
            return found;
    return -1;
}

bool TableSection::PointOfCaret(int pos, bool measure, int& x, int& y)
{
    // As in a cell: the cell holding the position's character first, then an end.
    for (Block* block : BlocksInOrder())
        if (HoldsPosition(*block, pos) && block->PointOfCaret(pos, measure, x, y))
            return true;
    for (Block* block : BlocksInOrder())
        if (block->PointOfCaret(pos, measure, x, y))
            return true;
    return false;
}

const SectionBase* TableSection::SectionHolding(int pos) const
{
    for (const Block* block : BlocksInOrder())
        if (const SectionBase* found = block->SectionHolding(pos))
            return found;
    return nullptr;
}

bool TableSection::CharAt(int pos, char16_t& ch) const
{
    for (const Block* block : BlocksInOrder())
        if (block->CharAt(pos, ch))
            return true;
    return false;
}

void TableSection::RegisterPositions(std::vector<SectionBase*>& list)
{
    for (Block* block : BlocksInOrder())
        block->RegisterPositions(list);
}

void TableSection::Dump(std::string& out, int depth) const
{
    DumpBox(out, depth, "table");
    if (caption && captionOnTop) {
        DumpLine(out, depth + 1, "caption", {{"h", captionHeight}});
        caption->Dump(out, depth + 2);
    }
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
    if (caption && !captionOnTop) {
        DumpLine(out, depth + 1, "caption", {{"h", captionHeight}});
        caption->Dump(out, depth + 2);
    }
}

}  // namespace htmlview
