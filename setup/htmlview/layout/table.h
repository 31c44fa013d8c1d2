// A TABLE in the flow: rows of cells, each cell a block laid out in its own formatting context.
// Cells are placed on a grid by their spans, the column widths come from the width algorithms,
// rows take the height of their tallest cell, and spanning cells spread what they lack.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "setup/htmlview/layout/block.h"
#include "setup/htmlview/layout/table_heights.h"
#include "setup/htmlview/layout/table_widths.h"
#include "setup/htmlview/util/indent_manager.h"

namespace htmlview {

enum class CellAlign
{
    Top,
    Middle,
    Bottom
};

struct TableCell
{
    std::unique_ptr<Block> block;
    int askedColSpan = 1, askedRowSpan = 1;  // as written, cut at the span limit
    int colSpan = 1, rowSpan = 1;            // as placed on the grid
    int widthAttr = 0;                       // pixels, or tenths of a percent when `isPercent`
    bool isPercent = false;
    int requestedHeight = 0;   // pixels
    int requestedPercent = 0;  // of the table's requested height
    CellAlign vAlign = CellAlign::Middle;
    bool framed = false;  // the table's sunken frame goes around it
    // Placed on the grid, then laid out; x and y from the table's top left corner.
    int row = 0, column = 0;
    int x = 0, y = 0, width = 0, height = 0, contentHeight = 0;
    IndentManager indents;
};

// A COL: its width (pixels, or tenths of a percent), text alignment and vertical alignment.
struct ColumnFormat
{
    int width = 0;
    bool isPercent = false;
    std::string align;
    std::optional<CellAlign> vAlign;
};

// A TR's requested height: pixels, or percent of the table's requested height.
struct RowFormat
{
    int height = 0, percent = 0;
};

class TableSection : public SectionBase
{
public:
    // More columns or rows for one cell than this come only from broken markup.
    static constexpr int kMaxSpan = 1000;

    TableSection(Document& document, const AttributeList& attributes);

    void StartRow(const AttributeList* attributes = nullptr);
    // The caption's block: made by the first CAPTION, shared by any later one.
    Block& CaptionBlock(const Properties& properties, bool onTop);
    // A COL spanning `span` columns (at most a hundred).
    void AddColumns(const ColumnFormat& format, int span);
    // The column a new cell of the open row would take, while COLs describe it; -1 otherwise.
    int FreeColumnOfOpenRow();
    // A cell of the open row (one is opened when none is); its spans and width from `attributes`.
    TableCell& AddCell(std::unique_ptr<Block> block, const AttributeList& attributes,
                       CellAlign vAlign);

    int Layout(const LayoutArgs& args, int& maxWidth, int& pos) override;
    int Paint(const PaintArgs& args) override;
    int HitLink(int x, int y, LinkHit& hit) override;
    int CaretAtPoint(int x, int y, CaretHit& caret) override;
    int DocIndexOf(int sourceIndex, bool prev) const override;
    bool PointOfCaret(int pos, bool measure, int& x, int& y) override;
    bool CharAt(int pos, char16_t& ch) const override;
    const SectionBase* SectionHolding(int pos) const override;
    void MeasureWidths(int& min, int& max) override;
    void RegisterPositions(std::vector<SectionBase*>& list) override;
    void Dump(std::string& out, int depth) const override;

    int border = 0, cellPadding = 1, cellSpacing = 2;
    int widthAttr = 0;  // pixels, or percent when `widthPercent`
    bool widthPercent = false;
    Align align = Align::None;
    int heightAttr = 0;  // pixels, or percent when `heightPercent`
    bool heightPercent = false;
    // BORDERCOLOR, BORDERCOLORLIGHT and BORDERCOLORDARK; none for the system's 3D colours.
    std::uint32_t lightColor = kNoneColor, darkColor = kNoneColor;
    std::uint32_t background = kNoneColor;  // BGCOLOR
    std::vector<std::vector<TableCell>> rows;
    std::vector<RowFormat> rowFormats;
    std::unique_ptr<Block> caption;
    bool captionOnTop = true;
    std::vector<ColumnFormat> columnFormats;
    std::vector<int> columnWidths, rowHeights;
    int tableWidth = 0, tableLeft = 0;
    int outerWidth = 0;  // the table, or its caption when that is wider
    int gridTop = 0, gridHeight = 0, captionHeight = 0;

private:
    void PlaceOnGrid();
    // The cells placed and measured into columns; whether any cell asks for a percentage.
    ColumnWidths MeasureColumnsFor(int available, bool& percentages);
    int LayoutCell(TableCell& cell, int top, int& pos);
    int LayoutCaption(int top, int& pos);
    // What each row needs for its cells, spans spread, for the room a requested height leaves.
    std::vector<RowNeed> RowNeeds(int room) const;
    int HeightRequest(int availHeight) const;
    void PaintFrames(const PaintArgs& args, int left, int top) const;
    // The caption when above, the cells row by row, the caption when below.
    std::vector<Block*> BlocksInOrder() const;
    template <class F>
    void ForEachCell(F&& f) const
    {
        for (const auto& row : rows)
            for (const TableCell& cell : row)
                f(cell);
    }

    int m_columnCount = 0;
    int m_nextColumn = 0;  // where a new cell of the last row goes
    int m_layoutX = 0;     // the grid's left edge
    int m_captionX = 0;
    IndentManager m_captionIndents;
};

}  // namespace htmlview
