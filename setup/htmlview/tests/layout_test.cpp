#include <gtest/gtest.h>

#include "setup/htmlview/layout/background_tiles.h"
#include "setup/htmlview/layout/block.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/builder/document_builder.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;

// Every character 8 pixels wide; the default 12-point font is 16 pixels high (18 with leading).
class LayoutTest : public ::testing::Test
{
protected:
    Document& Build(const std::string& html, int width)
    {
        DocumentBuilder builder(document, codePages);
        builder.Build(html);
        document.Layout(width, 0);
        return document;
    }
    TextSection& Section(std::u16string_view text)
    {
        SectionStyle style;
        style.font.request = {"Courier New", -16};
        style.font.metrics = measurer.Metrics(style.font.request);
        sections.push_back(std::make_unique<TextSection>(document, style));
        sections.back()->AppendText(text, {}, false, 0);
        return *sections.back();
    }
    std::vector<const TextSection*> TextSections(const CellBasic& cell)
    {
        std::vector<const TextSection*> found;
        for (const auto& section : cell.sections) {
            if (auto* text = dynamic_cast<const TextSection*>(section.get()))
                found.push_back(text);
            else if (auto* block = dynamic_cast<const Block*>(section.get()))
                for (const TextSection* inner : TextSections(block->cell))
                    found.push_back(inner);
        }
        return found;
    }
    std::vector<std::u16string> Lines(const TextSection& s)
    {
        std::vector<std::u16string> out;
        for (const LineRec& line : s.lines)
            out.push_back(s.text.substr(line.start, line.charCount));
        return out;
    }

    FakeCodePages codePages;
    FakeFontCatalog fonts;
    FakeTextMeasurer measurer;
    Document document{measurer, fonts};
    std::vector<std::unique_ptr<TextSection>> sections;
};

TEST_F(LayoutTest, CloseTextCleansWhiteSpace)
{
    struct Case
    {
        std::u16string in, out;
    };
    const std::u16string br(1, kBreakMark);
    const std::vector<Case> cases = {
        {u"a  b", u"a b"},
        {u"  a b  ", u"a b"},
        {u"a " + br + u" b", u"a" + br + u"b"},
        {u"a" + br, u"a"},
        {br, br},
    };
    for (const Case& c : cases) {
        TextSection& s = Section(c.in);
        s.CloseText();
        EXPECT_EQ(s.text, c.out);
        EXPECT_EQ(s.posCount, static_cast<int>(c.out.size()));
    }
}

TEST_F(LayoutTest, WordsWrapAtSpacesAndAnOverlongWordStaysWhole)
{
    // 180 pixels of text: 22 characters.
    Build("<p>aaaa bbbb cccc dddd eeee ffff</p><p>xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx yy</p>", 180);
    const auto texts = TextSections(document.cell);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(Lines(*texts[0]),
              (std::vector<std::u16string>{u"aaaa bbbb cccc dddd ", u"eeee ffff"}))
        << document.DumpLayout();
    EXPECT_EQ(Lines(*texts[1]),
              (std::vector<std::u16string>{u"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx ", u"yy"}));
    EXPECT_GE(document.maxWidth, 30 * 8);
}

TEST_F(LayoutTest, JustifiedLinesShareTheRestExceptTheLast)
{
    Build("<p style=\"text-align: justify\">aaaa bbbb cccc dddd eeee ffff</p>", 180);
    const auto texts = TextSections(document.cell);
    ASSERT_EQ(texts.size(), 1u);
    ASSERT_EQ(texts[0]->lines.size(), 2u);
    // 19 characters drawn (the trailing space is not): 180 - 152 = 28 over 3 spaces.
    EXPECT_EQ(texts[0]->lines[0].extraWidth, 28);
    EXPECT_EQ(texts[0]->lines[0].spaceCount, 3);
    EXPECT_EQ(texts[0]->lines[1].extraWidth, 0);
}

TEST_F(LayoutTest, FloatingImagesAtLineStartAndInMidLine)
{
    document.imageSize = [](const std::string&) { return std::optional<ImageSize>({50, 40}); };
    Build(
        "<p style=\"margin: 0\"><img src=\"a\" align=left>aaaa bbbb cccc dddd eeee ffff</p>"
        "<p style=\"margin: 0\">gggg <img src=\"b\" align=right> hhhh</p>",
        200);
    const auto texts = TextSections(document.cell);
    ASSERT_EQ(texts.size(), 2u);
    // At the line start the float narrows that line at once: 50 pixels and 3 on each side.
    const TextSection& first = *texts[0];
    EXPECT_EQ(first.images[0]->floatIndent, 3);
    EXPECT_EQ(first.lines[0].indent, 56) << document.DumpLayout();
    EXPECT_EQ(first.lines[0].charCount, 1 + 15);  // the mark and "aaaa bbbb cccc "
    // Lines below the float's 40 pixels have the whole width again.
    int y = first.originY;
    for (const LineRec& line : first.lines) {
        EXPECT_EQ(line.indent, y < 40 ? 56 : 0) << y;
        y += line.Height();
    }
    // In mid-line it goes below the finished line, at the right edge.
    const TextSection& second = *texts[1];
    const InlineImage& right = *second.images[0];
    EXPECT_EQ(right.paintY, second.originY + second.lines[0].Height());
    EXPECT_EQ(right.floatIndent, 200 - 56 + 3);
    EXPECT_EQ(second.paintHeight, second.lines[0].Height() + 40);
}

TEST_F(LayoutTest, VerticalMarginsCollapse)
{
    struct Case
    {
        int above, below, gap;
    };
    for (const Case& c : std::vector<Case>{{10, 20, 20}, {10, -5, 5}, {-10, -5, -10}}) {
        Document doc(measurer, fonts);
        DocumentBuilder builder(doc, codePages);
        builder.Build("<div style=\"margin: 0; margin-bottom: " + std::to_string(c.above) +
                      "px\">a</div><div style=\"margin: 0; margin-top: " + std::to_string(c.below) +
                      "px\">b</div>");
        doc.Layout(200, 0);
        const auto texts = TextSections(doc.cell);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[1]->originY - texts[0]->boxBottom, c.gap) << c.above << "/" << c.below;
    }
}

TEST_F(LayoutTest, PercentWidthAndAutoMarginsCenter)
{
    Build("<div style=\"width: 50%; margin-left: auto; margin-right: auto\">a</div>", 400);
    const auto* body = dynamic_cast<const Block*>(document.cell.sections.front().get());
    ASSERT_NE(body, nullptr);
    const auto* div = dynamic_cast<const Block*>(body->cell.sections.front().get());
    ASSERT_NE(div, nullptr);
    EXPECT_EQ(div->contentWidth, 200) << document.DumpLayout();
    EXPECT_EQ(div->box.margin[SideLeft], 100);
    EXPECT_EQ(div->box.margin[SideRight], 100);
}

TEST_F(LayoutTest, RightFloatTakesNoHeightAndNarrowsTheText)
{
    Build(
        "<div style=\"float: right; width: 100px; margin: 0\">f</div>"
        "<p>aaaa bbbb cccc dddd eeee</p>",
        220);
    const auto texts = TextSections(document.cell);
    ASSERT_EQ(texts.size(), 2u);
    // The paragraph starts level with the float; its first line (y 14, beside the float's
    // 18 pixels) has 120 pixels, the next the whole width.
    const auto* paragraph = dynamic_cast<const Block*>(texts[1]->ownerBlock);
    ASSERT_NE(paragraph, nullptr);
    EXPECT_EQ(paragraph->originY, texts[0]->ownerBlock->originY) << document.DumpLayout();
    EXPECT_EQ(Lines(*texts[1]), (std::vector<std::u16string>{u"aaaa bbbb cccc ", u"dddd eeee"}));
}

TEST(BackgroundTiles, PlacementsRepeatsAndClip)
{
    using Kind = BackgroundOffset::Kind;
    struct Case
    {
        BackgroundPlacement placement;
        int imageWidth, imageHeight;
        Rect clip;
        std::vector<int> lefts;  // of the tiles in the first row
        std::size_t count;
    };
    const Rect box{100, 100, 125, 125};
    const Rect all{0, 0, 1000, 1000};
    auto place = [](BackgroundOffset x, BackgroundOffset y, bool repeatX, bool repeatY) {
        BackgroundPlacement p;
        p.x = x;
        p.y = y;
        p.repeatX = repeatX;
        p.repeatY = repeatY;
        return p;
    };
    const std::vector<Case> cases = {
        // 5 pixels in, repeated: copies from -5 on, three a row.
        {place({Kind::Pixels, 5}, {Kind::Pixels, 5}, true, true), 10, 10, all, {95, 105, 115}, 9},
        {place({Kind::Centered, 0}, {Kind::Percent, 100}, false, false), 10, 10, all, {107}, 1},
        {place({Kind::Percent, 100}, {Kind::Pixels, 0}, false, true), 10, 10, all, {115}, 3},
        // Far outside the box: held at its edge.
        {place({Kind::Pixels, 5000}, {Kind::Pixels, 0}, false, false), 10, 10, all, {125}, 1},
        // A clip showing one row and column of the repeats.
        {place({Kind::Pixels, 0}, {Kind::Pixels, 0}, true, true),
         10,
         10,
         {112, 112, 114, 114},
         {110},
         1},
        // One pixel wide: stretched over the box.
        {place({Kind::Pixels, 0}, {Kind::Pixels, 0}, true, false), 1, 10, all, {100}, 1},
        {place({Kind::Pixels, 0}, {Kind::Pixels, 0}, true, true), 0, 10, all, {}, 0},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::vector<Rect> tiles =
            BackgroundTiles(box, c.imageWidth, c.imageHeight, c.placement, c.clip);
        EXPECT_EQ(tiles.size(), c.count) << i;
        std::vector<int> lefts;
        for (const Rect& tile : tiles)
            if (tile.top == tiles.front().top)
                lefts.push_back(tile.left);
        EXPECT_EQ(lefts, c.lefts) << i;
    }
}

TEST_F(LayoutTest, ListMarkers)
{
    struct Case
    {
        ListStyle style;
        int number;
        std::u16string text;
    };
    const std::vector<Case> cases = {
        {ListStyle::Decimal, 3, u"3."},     {ListStyle::LowerAlpha, 27, u"z."},
        {ListStyle::UpperAlpha, 2, u"B."},  {ListStyle::LowerRoman, 25, u"xx."},
        {ListStyle::UpperRoman, 4, u"IV."},  // numbers below 1 have no letter or numeral
        {ListStyle::LowerAlpha, 0, u"0."},  {ListStyle::LowerRoman, -3, u"-3."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MarkerText(c.style, c.number), c.text) << c.number;
}

TEST_F(LayoutTest, OrderedListFromZeroPaintsDecimalMarkers)
{
    Build("<ol start=0 type=a><li>one<li>two</ol>", 300);
    const PaintPlan plan = document.Paint({0, 0, 300, 200});
    std::vector<std::u16string> markers;
    for (const PaintCommand& command : plan.commands)
        if (const auto* text = std::get_if<TextCommand>(&command))
            if (text->text.back() == u'.')
                markers.push_back(text->text);
    EXPECT_EQ(markers, (std::vector<std::u16string>{u"0.", u"a."}));
}

TEST_F(LayoutTest, PreformattedTextBreaksOnlyAtLineEnds)
{
    Build("<pre>a  long   line that does not wrap\nsecond</pre>", 100);
    const auto texts = TextSections(document.cell);
    ASSERT_EQ(texts.size(), 1u);
    ASSERT_EQ(texts[0]->lines.size(), 2u) << document.DumpLayout();
    EXPECT_EQ(texts[0]->lines[0].charCount, 34);  // 33 characters and the line end
    EXPECT_EQ(document.maxWidth, 33 * 8);
}

TEST_F(LayoutTest, RulesTakeTheirWidthSizeAndAlignment)
{
    Build("<hr size=5 width=50%><hr width=100 align=right><hr size=0 width=150%>", 400);
    const auto* body = dynamic_cast<const Block*>(document.cell.sections.front().get());
    ASSERT_NE(body, nullptr);
    ASSERT_EQ(body->cell.sections.size(), 3u);
    struct Expected
    {
        int width, marginLeft, height;
    };
    const std::vector<Expected> expected = {{200, 100, 5}, {100, 300, 2}, {400, 0, 2}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto* rule = dynamic_cast<const Block*>(body->cell.sections[i].get());
        ASSERT_NE(rule, nullptr);
        EXPECT_EQ(rule->contentWidth, expected[i].width) << i << "\n" << document.DumpLayout();
        EXPECT_EQ(rule->box.margin[SideLeft], expected[i].marginLeft) << i;
        EXPECT_EQ(rule->cell.sections.front()->layoutHeight, expected[i].height) << i;
    }
}

TEST_F(LayoutTest, CaretAndPointOfCaret)
{
    Build("<p>abcd efgh</p>", 200);
    document.Paint({0, 0, 200, 100});
    const auto texts = TextSections(document.cell);
    ASSERT_EQ(texts.size(), 1u);
    const LineRec& line = texts[0]->lines.front();
    const int y = texts[0]->originY + 2;
    CaretHit caret;
    // Left of the line: its first position, not in the text.
    EXPECT_EQ(document.CaretAtPoint(line.startX - 1 < 0 ? 0 : line.startX - 1, y, caret),
              texts[0]->firstPos);
    // Past the middle of the third character: the position after it.
    EXPECT_EQ(document.CaretAtPoint(line.startX + 2 * 8 + 5, y, caret), texts[0]->firstPos + 3);
    EXPECT_TRUE(caret.inText);
    EXPECT_EQ(document.CaretAtPoint(line.startX + 2 * 8 + 3, y, caret), texts[0]->firstPos + 2);
    int x = 0, py = 0;
    ASSERT_TRUE(document.PointOfCaret(texts[0]->firstPos + 2, x, py));
    EXPECT_EQ(x, line.startX + 16);
    char16_t ch = 0;
    ASSERT_TRUE(document.CharAt(texts[0]->firstPos + 5, ch));
    EXPECT_EQ(ch, u'e');
}

// Every caret position's point, once painted, leads back to that position, in any paragraph,
// line, list item or table cell: a section's first position is shown before its character, not
// at the end of the section before it.
TEST_F(LayoutTest, EachCaretPositionHasItsOwnPoint)
{
    const char* const documents[] = {
        "<p>abcd efgh ijkl mnop qrst uvwx</p><p>second para</p>",
        "<ul><li>one item<li>two items here</ul><div>after the list</div>",
        "<table><tr><td>left cell<td>right cell</tr></table><p>below</p>",
    };
    for (const char* html : documents)
        {
            Document doc(measurer, fonts);
            DocumentBuilder builder(doc, codePages);
            builder.Build(html);
            doc.Layout(80, 0);
            doc.Paint({0, 0, 80, 400});
            int checked = 0;
            for (int pos = 0; pos < doc.cell.posCount; ++pos) {
                char16_t c = 0;
                if (!doc.CharAt(pos, c) || c == u' ' || c < u' ')
                    continue;
                int x = -1, y = -1;
                ASSERT_TRUE(doc.PointOfCaret(pos, x, y)) << html << " at " << pos;
                CaretHit caret;
                EXPECT_EQ(doc.CaretAtPoint(x + 1, y + 1, caret), pos)
                    << html << " at " << pos << " (" << x << ","
                    << y << ")";
                ++checked;
            }
            EXPECT_GT(checked, 10) << html;
        }
}

TEST_F(LayoutTest, LinksAreHitUnderTheirText)
{
    Build("<p>go <a href=\"x.htm\" title=\"tip\">there</a> now</p>", 300);
    document.Paint({0, 0, 300, 100});
    const auto texts = TextSections(document.cell);
    ASSERT_EQ(texts.size(), 1u);
    const LineRec& line = texts[0]->lines.front();
    LinkHit hit;
    const int y = line.paintTop + 4;
    EXPECT_EQ(document.HitLink(line.startX + 4 * 8, y, hit) & kHitLink, kHitLink);
    EXPECT_EQ(hit.target.url, "x.htm");
    LinkHit miss;
    EXPECT_EQ(document.HitLink(line.startX + 4, y, miss) & kHitLink, 0);
}

TEST_F(LayoutTest, EmptyDocumentAndDeepNesting)
{
    Build("", 200);
    int x = 0, y = 0;
    EXPECT_FALSE(document.PointOfCaret(0, x, y));
    int top = 0, index = 0;
    EXPECT_EQ(document.SectionAt(-5, top, index), nullptr);

    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<div>";
    deep += "x";
    Document nested(measurer, fonts);
    DocumentBuilder builder(nested, codePages);
    builder.Build(deep);
    EXPECT_GT(nested.Layout(300, 0), 0);
}

TEST_F(LayoutTest, SelectionSplitsARunAndInvertsItsColours)
{
    Build("<p style=\"color: #102030\">abcdefgh</p>", 200);
    document.selFrom = 2;
    document.selTo = 5;
    const PaintPlan plan = document.Paint({0, 0, 200, 100});
    std::vector<TextCommand> runs;
    for (const PaintCommand& command : plan.commands)
        if (const auto* text = std::get_if<TextCommand>(&command))
            runs.push_back(*text);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, u"ab");
    EXPECT_EQ(runs[1].text, u"cde");
    EXPECT_EQ(runs[2].text, u"fgh");
    EXPECT_EQ(runs[1].x, runs[0].x + 16);
    EXPECT_EQ(runs[2].x, runs[1].x + 24);
    // Colours are Windows values: red in the low byte (palette-relative flags above).
    EXPECT_EQ(runs[0].color & 0xFFFFFF, 0x302010u);
    EXPECT_EQ(runs[0].background, kNoneColor);
    EXPECT_EQ(runs[1].background & 0xFFFFFF, 0x302010u);
    EXPECT_EQ(runs[1].color & 0xFFFFFF, 0x302010u ^ 0xFFFFFFu);
}

TEST_F(LayoutTest, InlineBorderAcrossTwoLinesHasNoInnerSides)
{
    document.imageSize = [](const std::string&) { return std::optional<ImageSize>(); };
    Build("<p>aaaa bbbb <span style=\"border: 2px solid red\">cccc dddd eeee</span> ffff</p>", 160);
    const PaintPlan plan = document.Paint({0, 0, 160, 200});
    std::vector<BorderCommand> borders;
    for (const PaintCommand& command : plan.commands)
        if (const auto* border = std::get_if<BorderCommand>(&command))
            borders.push_back(*border);
    ASSERT_EQ(borders.size(), 2u) << document.DumpLayout();
    // First line: open at its end; second line: open at its start.
    EXPECT_EQ(borders[0].outer.left, borders[0].inner.left - 2);
    EXPECT_EQ(borders[0].outer.right, borders[0].inner.right);
    EXPECT_EQ(borders[1].outer.left, borders[1].inner.left);
    EXPECT_EQ(borders[1].outer.right, borders[1].inner.right + 2);
    EXPECT_EQ(borders[0].inner.left, 10 * 8);  // after "aaaa bbbb "
    EXPECT_LT(borders[0].inner.bottom, borders[1].inner.top + 1);
}

TEST_F(LayoutTest, DocumentValuesCannotDivideByZeroOrOverflow)
{
    // A picture without size keeps its given width and gets no height from the ratio; a full
    // first-line indent and huge margins stay bounded.
    document.imageSize = [](const std::string&) { return std::optional<ImageSize>(ImageSize{}); };
    Build(
        "<p style=\"text-indent: 100%; margin-left: 2000000000px; padding: 9999999999px\">"
        "aa <img src=\"empty.gif\" width=40> bb</p>",
        200);
    const auto texts = TextSections(document.cell);
    ASSERT_EQ(texts.size(), 1u);
    ASSERT_EQ(texts[0]->images.size(), 1u);
    EXPECT_EQ(texts[0]->images[0]->objWidth, 40);
    EXPECT_EQ(texts[0]->images[0]->objHeight, 0);
    int min = 0, max = 0;
    document.cell.MeasureWidths(min, max);
    EXPECT_GE(max, min);
    EXPECT_LT(document.maxWidth, 1000000);
}

}  // namespace
