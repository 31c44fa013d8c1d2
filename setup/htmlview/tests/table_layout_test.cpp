#include <gtest/gtest.h>

#include <numeric>

#include "setup/htmlview/builder/document_builder.h"
#include "setup/htmlview/layout/block.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/table.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/keywords.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;

// Characters are 8 pixels wide; the default font's lines 18 pixels high.
class TableLayoutTest : public ::testing::Test
{
protected:
    void Build(const std::string& html, int width = 400)
    {
        DocumentBuilder builder(document, codePages);
        builder.Build(html);
        document.Layout(width, 0);
    }
    static void Collect(const CellBasic& cell, std::vector<const TableSection*>& found)
    {
        for (const auto& section : cell.sections) {
            if (auto* table = dynamic_cast<const TableSection*>(section.get())) {
                found.push_back(table);
                for (const auto& row : table->rows)
                    for (const TableCell& c : row)
                        Collect(c.block->cell, found);
            }
            if (auto* block = dynamic_cast<const Block*>(section.get()))
                Collect(block->cell, found);
        }
    }
    std::vector<const TableSection*> Tables()
    {
        std::vector<const TableSection*> found;
        Collect(document.cell, found);
        return found;
    }
    // What every laid-out table keeps: no negative width, columns adding up to the table, cells
    // inside the table and apart from each other, rows at least as high as their cells' content.
    void ExpectSound(const TableSection& t)
    {
        for (int w : t.columnWidths)
            EXPECT_GE(w, 0);
        const int sum = std::accumulate(t.columnWidths.begin(), t.columnWidths.end(), 0);
        EXPECT_EQ(sum + 2 * t.border + t.cellSpacing, t.tableWidth);
        for (const auto& row : t.rows)
            for (const TableCell& c : row) {
                EXPECT_GE(c.width, 0);
                EXPECT_LE(c.x + c.width, t.tableWidth);
                EXPECT_LE(c.y + c.height, t.layoutHeight);
                if (c.rowSpan == 1) {
                    EXPECT_GE(c.height, c.contentHeight) << "row " << c.row;
                }
            }
    }

    FakeCodePages codePages;
    FakeFontCatalog fonts;
    FakeTextMeasurer measurer;
    Document document{measurer, fonts};
};

TEST_F(TableLayoutTest, WidthKinds)
{
    struct Case
    {
        const char* html;
        int tableWidth;
        std::vector<int> columns;
    };
    const std::vector<Case> cases{
        // Auto: each column as wide as its text (8 per character) plus padding 1+1 and spacing 2.
        {"<table><tr><td>ab<td>abcd</table>", 2 + 20 + 36, {20, 36}},
        // Fixed: the requested width goes by slack, all of it to the column with a width.
        {"<table width=300 cellspacing=0 cellpadding=0><tr><td width=100>a<td>b</table>",
         300,
         {292, 8}},
        // Percentage of the room, the rest to the free column.
        {"<table width=400 cellspacing=0 cellpadding=0><tr><td width=25%>a<td>b</table>",
         400,
         {100, 300}},
        // A border adds its frame and a thin edge to each cell.
        {"<table border=2 cellspacing=0 cellpadding=0><tr><td>ab</table>", 4 + 18, {18}},
    };
    for (const Case& c : cases) {
        document.cell.sections.clear();
        Build(c.html);
        const auto tables = Tables();
        ASSERT_EQ(tables.size(), 1u) << c.html;
        EXPECT_EQ(tables[0]->tableWidth, c.tableWidth) << c.html << "\n" << document.DumpLayout();
        EXPECT_EQ(tables[0]->columnWidths, c.columns) << c.html;
        ExpectSound(*tables[0]);
    }
}

TEST_F(TableLayoutTest, SpansPlaceCellsOnTheGrid)
{
    Build(
        "<table cellspacing=0 cellpadding=0><tr><td rowspan=99>a<td colspan=2>bc"
        "<tr><td>d<td>e<tr><td colspan=100000>f</table>");
    const auto tables = Tables();
    ASSERT_EQ(tables.size(), 1u);
    const TableSection& t = *tables[0];
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0][0].rowSpan, 3);  // cut at the last row
    EXPECT_EQ(t.rows[1][0].column, 1);   // beside the row span
    EXPECT_EQ(t.rows[1][1].column, 2);
    EXPECT_EQ(t.rows[2][0].column, 1);
    EXPECT_LE(t.rows[2][0].colSpan, TableSection::kMaxSpan);
    ExpectSound(t);
}

TEST_F(TableLayoutTest, RowsTakeTheTallestCellAndAlignVertically)
{
    Build(
        "<table cellspacing=0 cellpadding=0 width=100><tr><td valign=bottom>a"
        "<td>b<br>c<br>d</table>");
    const auto tables = Tables();
    ASSERT_EQ(tables.size(), 1u);
    const TableSection& t = *tables[0];
    ASSERT_EQ(t.rowHeights.size(), 1u);
    EXPECT_EQ(t.rowHeights[0], 3 * 18);
    const TableCell& low = t.rows[0][0];
    EXPECT_EQ(low.block->originY - t.originY, 2 * 18) << document.DumpLayout();
    ExpectSound(t);
}

TEST_F(TableLayoutTest, StrayTextGoesBeforeTheTableAndMisplacedTagsAreSkipped)
{
    Build("<td>lost<tr>x<table>before<tr><td>in</table>after");
    const auto* body = dynamic_cast<const Block*>(document.cell.sections.front().get());
    ASSERT_NE(body, nullptr);
    std::vector<std::string> kinds;
    for (const auto& section : body->cell.sections) {
        if (auto* text = dynamic_cast<const TextSection*>(section.get()))
            kinds.push_back(std::string(text->text.begin(), text->text.end()));
        else if (dynamic_cast<const TableSection*>(section.get()))
            kinds.push_back("<table>");
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"lostx", "before", "<table>", "after"}))
        << document.DumpLayout();
}

TEST_F(TableLayoutTest, ElevenNestedTablesMakeTen)
{
    std::string html;
    for (int i = 0; i < 11; ++i)
        html += "<table><tr><td>";
    html += "x";
    for (int i = 0; i < 11; ++i)
        html += "</td></tr></table>";
    Build(html, 600);
    const auto tables = Tables();
    EXPECT_EQ(tables.size(), 10u);
    for (const TableSection* t : tables)
        ExpectSound(*t);
}

TEST_F(TableLayoutTest, ColumnsDescribeAlignmentWidthAndSpan)
{
    Build(
        "<table cellspacing=0 cellpadding=0><colgroup valign=top><col align=right width=50>"
        "<col span=500></colgroup><tr><td align=left>a<td valign=bottom>b<br>c"
        "<td>beyond</table><table><col align=center><tr><td rowspan=2>a<tr><td>b<td>c</table>");
    const auto tables = Tables();
    ASSERT_EQ(tables.size(), 2u);
    const TableSection& t = *tables[0];
    EXPECT_EQ(t.columnFormats.size(), 101u);  // a span is cut at a hundred
    const auto& row = t.rows[0];
    auto justify = [](const TableCell& cell) {
        return dynamic_cast<const TextSection&>(*cell.block->cell.sections.front()).justify;
    };
    EXPECT_EQ(justify(row[0]), Justify::Right);  // the column's wins over the cell's
    EXPECT_EQ(row[0].width, 50);
    EXPECT_EQ(row[1].vAlign, CellAlign::Top);
    EXPECT_EQ(justify(row[2]), Justify::Left);
    // Beside a row span the next free column is the second, which no COL describes.
    const TableSection& u = *tables[1];
    EXPECT_EQ(justify(u.rows[0][0]), Justify::Center);
    EXPECT_EQ(justify(u.rows[1][0]), Justify::Left);
    EXPECT_EQ(u.rows[1][0].column, 1);
    ExpectSound(t);
    ExpectSound(u);
}

TEST_F(TableLayoutTest, DumpShowsColumnsRowsAndCells)
{
    Build("<table cellspacing=1 cellpadding=0><tr><td>ab<td>c</table>");
    const std::string dump = document.DumpLayout();
    EXPECT_NE(dump.find("columns width=27 \"17 9\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("rows count=1 \"18\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("cell row=0 col=1 x=18 y=1 w=8 h=18"), std::string::npos) << dump;
}

TEST_F(TableLayoutTest, CaptionsGoAboveOrBelowAndWidenTheTable)
{
    struct Case
    {
        const char* html;
        bool onTop;
        int outerWidth;
    };
    // The caption's text is 8 pixels a character and breaks only between words.
    const std::vector<Case> cases{
        {"<table cellspacing=0 cellpadding=0><caption>top</caption><tr><td>ab</table>", true, 24},
        {"<table cellspacing=0 cellpadding=0><caption align=BOTTOM>below</caption>"
         "<tr><td>ab</table>",
         false, 40},
        // Two captions share one block, placed where the first asked.
        {"<table cellspacing=0 cellpadding=0><caption>abcdefgh</caption><tr><td>ab"
         "<caption align=bottom>ij</caption></table>",
         true, 64},
    };
    for (const Case& c : cases) {
        document.cell.sections.clear();
        Build(c.html);
        const auto tables = Tables();
        ASSERT_EQ(tables.size(), 1u) << c.html;
        const TableSection& t = *tables[0];
        ASSERT_NE(t.caption, nullptr) << c.html;
        EXPECT_EQ(t.captionOnTop, c.onTop) << c.html;
        EXPECT_EQ(t.outerWidth, c.outerWidth) << c.html << "\n" << document.DumpLayout();
        EXPECT_EQ(t.tableWidth, 16) << c.html;
        EXPECT_EQ(t.layoutHeight, t.captionHeight + t.gridHeight) << c.html;
        // The caption and the grid do not overlap, and the grid is centred under a wider caption.
        const int captionTop = t.caption->originY;
        if (c.onTop)
            EXPECT_LE(captionTop + t.captionHeight, t.gridTop) << document.DumpLayout();
        else
            EXPECT_GE(captionTop, t.gridTop + t.gridHeight) << document.DumpLayout();
        EXPECT_EQ(t.rows[0][0].block->boxLeft, t.caption->boxLeft + (c.outerWidth - 16) / 2)
            << c.html << "\n"
            << document.DumpLayout();
        ExpectSound(t);
    }
    // The caption's text is found where it is painted: before the cells when on top.
    document.cell.sections.clear();
    Build("<table><caption>cap</caption><tr><td>cell</table>");
    char16_t ch = 0;
    ASSERT_TRUE(document.CharAt(0, ch));
    EXPECT_EQ(ch, u'c');
}

TEST_F(TableLayoutTest, RequestedHeightsSpreadOverTheRows)
{
    struct Case
    {
        const char* html;
        std::vector<int> rows;
    };
    // One line is 18 high; with no spacing, padding or border the rows fill the table exactly.
    const std::vector<Case> cases{
        // Extra height goes to the rows that ask for none.
        {"<table height=100 cellspacing=0 cellpadding=0><tr height=40><td>a<tr><td>b<tr><td>c"
         "</table>",
         {40, 30, 30}},
        // All rows asking: in proportion to what they ask.
        {"<table height=120 cellspacing=0 cellpadding=0><tr><td height=20>a<tr><td height=40>b"
         "</table>",
         {40, 80}},
        // Percentages of the table's height.
        {"<table height=200 cellspacing=0 cellpadding=0><tr height=25%><td>a<tr><td>b</table>",
         {50, 150}},
        // A smaller table height than the content keeps the content.
        {"<table height=10 cellspacing=0 cellpadding=0><tr><td>a<tr><td>b</table>", {18, 18}},
        // A cell spanning two rows spreads its height over them.
        {"<table cellspacing=0 cellpadding=0><tr><td rowspan=2 height=101>a<td>b<tr><td>c"
         "</table>",
         {50, 51}},
    };
    for (const Case& c : cases) {
        document.cell.sections.clear();
        Build(c.html);
        const auto tables = Tables();
        ASSERT_EQ(tables.size(), 1u) << c.html;
        EXPECT_EQ(tables[0]->rowHeights, c.rows) << c.html << "\n" << document.DumpLayout();
        ExpectSound(*tables[0]);
    }
}

TEST(TableHeights, RowsNeverFallShortAndFillTheRoom)
{
    struct Case
    {
        std::vector<RowNeed> rows;
        int room;
        std::vector<int> heights;
    };
    const std::vector<Case> cases{
        {{}, 100, {}},
        {{{10, 10, false}, {20, 20, false}}, 0, {10, 20}},
        {{{10, 10, false}, {20, 20, true}}, 100, {80, 20}},
        // Ties round to the even number; the last row takes what is left.
        {{{1, 1, true}, {1, 1, true}, {1, 1, true}, {1, 1, true}}, 10, {2, 2, 2, 4}},
        // Rows asking for nothing in pixels share equally instead of dividing by nothing.
        {{{0, 0, true}, {0, 0, true}}, 9, {4, 5}},
        // Asked for more than the room: stretched between content and wish.
        {{{10, 50, true}, {10, 30, true}}, 50, {30, 20}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RowHeightsFor(c.rows, c.room), c.heights) << c.room;

    std::vector<RowNeed> spanned(3);
    SpreadSpanningCell(spanned, 1, 5, 31, 40, true);  // the span is cut at the last row
    EXPECT_EQ(spanned[1].content, 15);
    EXPECT_EQ(spanned[2].content, 16);
    EXPECT_EQ(spanned[2].desired, 20);
    EXPECT_TRUE(spanned[2].specified);
    EXPECT_FALSE(spanned[0].specified);
}

TEST_F(TableLayoutTest, RowAndTableColoursFallBackAndNowrapKeepsOneLine)
{
    Build(
        "<table bgcolor=#0000ff cellspacing=0><tr bgcolor=#00ff00><td>a<td bgcolor=#ff0000>b"
        "<tr><td>c<td nowrap>d e f g h i j k<td nowrap width=20>l m n</table>",
        100);
    const auto tables = Tables();
    ASSERT_EQ(tables.size(), 1u);
    const TableSection& t = *tables[0];
    auto background = [](const TableCell& cell) { return BackgroundColorOf(cell.block->style); };
    EXPECT_EQ(background(t.rows[0][0]), MakeRgb(0, 255, 0));
    EXPECT_EQ(background(t.rows[0][1]), MakeRgb(255, 0, 0));
    EXPECT_EQ(background(t.rows[1][0]), MakeRgb(0, 0, 255));
    auto lines = [](const TableCell& cell) {
        return dynamic_cast<const TextSection&>(*cell.block->cell.sections.front()).lines.size();
    };
    EXPECT_EQ(lines(t.rows[1][1]), 1u) << document.DumpLayout();
    EXPECT_GT(lines(t.rows[1][2]), 1u) << document.DumpLayout();  // a pixel width wins
}

}  // namespace
