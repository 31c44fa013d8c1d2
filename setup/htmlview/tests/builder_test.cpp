#include <gtest/gtest.h>

#include "setup/htmlview/builder/document_builder.h"
#include "setup/htmlview/layout/block.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/font_run.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/keywords.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;

class BuilderTest : public ::testing::Test
{
protected:
    DocumentBuilder& Build(const std::string& html)
    {
        builder.Build(html);
        document.Layout(400, 0);
        return builder;
    }
    template <class T>
    static void Collect(const CellBasic& cell, std::vector<const T*>& found)
    {
        for (const auto& section : cell.sections) {
            if (auto* wanted = dynamic_cast<const T*>(section.get()))
                found.push_back(wanted);
            if (auto* block = dynamic_cast<const Block*>(section.get()))
                Collect(block->cell, found);
        }
    }
    template <class T>
    std::vector<const T*> All()
    {
        std::vector<const T*> found;
        Collect(document.cell, found);
        return found;
    }

    FakeCodePages codePages;
    FakeFontCatalog fonts;
    FakeTextMeasurer measurer;
    Document document{measurer, fonts};
    DocumentBuilder builder{document, codePages};
};

TEST(FontSizeNumber, SignedSizesCountFromTheBaseAndAreClamped)
{
    struct Case
    {
        const char* value;
        int base, size;
    };
    for (const Case& c : std::vector<Case>{{"+2", 3, 5},
                                           {"9", 3, 7},
                                           {"-5", 3, 1},
                                           {"4", 3, 4},
                                           {" -1 ", 6, 5},
                                           {"0", 3, 1},
                                           {"+99999999999999999999", 3, 7},
                                           {"-99999999999999999999", 3, 1},
                                           {"big", 3, 3},
                                           {"+", 3, 3}})
        EXPECT_EQ(FontSizeNumber(c.value, c.base), c.size) << c.value;
}

TEST_F(BuilderTest, FontTagsSizeColourAndBaseFont)
{
    // Default 12 points at 96 pixels an inch: size 5 is 18 points, 24 pixels; size 7 is 36 points.
    Build("a<font size=+2 color=#ff0000>b</font><basefont size=6><font size=+1>c</font>d");
    const auto texts = All<TextSection>();
    ASSERT_EQ(texts.size(), 1u);
    std::vector<int> heights;
    for (const auto& run : texts[0]->fonts)
        heights.push_back(run->font.request.height);
    ASSERT_GE(heights.size(), 4u) << document.DumpLayout();
    EXPECT_EQ(heights[0], -16);
    EXPECT_EQ(heights[1], -24);
    EXPECT_EQ(texts[0]->fonts[1]->font.color & 0xFFFFFF, 0x0000FFu);  // stored blue-green-red
    EXPECT_EQ(heights.back(), -32);  // the base font of size 6 itself: 24 points
    bool sawSeven = false;
    for (int height : heights)
        sawSeven = sawSeven || height == -48;
    EXPECT_TRUE(sawSeven) << "size +1 over a base of 6";
}

TEST_F(BuilderTest, ALinkTakesTheLinkColourAndUnderlineAndANamedAnchorDoesNot)
{
    Build("<a name=top>here</a> <a href=next.htm>go</a> <a name=end>end</a>");
    const auto texts = All<TextSection>();
    ASSERT_EQ(texts.size(), 1u);
    int links = 0;
    for (const auto& run : texts[0]->fonts) {
        const bool link = run->IsLink();
        links += link;
        EXPECT_EQ(run->font.color & 0xFFFFFF, link ? 0xFF0000u : 0u)  // stored blue-green-red
            << "run at " << run->pos;
        EXPECT_EQ(run->font.request.underline, link) << "run at " << run->pos;
    }
    EXPECT_EQ(links, 1);
}

TEST_F(BuilderTest, AlignAttributesYieldToStyles)
{
    Build(
        "<p align=middle>a</p><p align=bogus>b</p>"
        "<div align=right style=\"text-align: left\">c</div><h2 align=RIGHT>d</h2>");
    const auto texts = All<TextSection>();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0]->justify, Justify::Center);
    EXPECT_EQ(texts[1]->justify, Justify::Left);
    EXPECT_EQ(texts[2]->justify, Justify::Left);
    EXPECT_EQ(texts[3]->justify, Justify::Right);
}

TEST_F(BuilderTest, ListItemsNumberAndKind)
{
    Build(
        "<ol start=3><li>a<li value=7>b<li>c</ol><dl><dt>t<dd>d</dl><li>lone"
        "<ul type=plain><li>p</ul>");
    const auto items = All<ListItemBlock>();
    ASSERT_EQ(items.size(), 7u) << document.DumpLayout();
    EXPECT_EQ(items[0]->number, 3);
    EXPECT_EQ(items[1]->number, 7);
    EXPECT_EQ(items[2]->number, 8);
    EXPECT_EQ(items[0]->kind, ListKind::Ordered);
    EXPECT_EQ(items[3]->kind, ListKind::Definition);
    EXPECT_EQ(items[4]->kind, ListKind::Definition);
    EXPECT_EQ(items[5]->kind, ListKind::Lone);
    EXPECT_EQ(items[6]->kind, ListKind::Unordered);
    EXPECT_EQ(items[6]->listStyle, ListStyle::None);
}

TEST_F(BuilderTest, TitleAndBaseAreHandedBack)
{
    Build(
        "<html><head><title>The &amp; page</title><base href=\"http://h/d/\" target=main>"
        "</head><body>x</body></html>");
    EXPECT_EQ(builder.title, u"The & page");
    EXPECT_EQ(builder.base, "http://h/d/");
    EXPECT_EQ(builder.baseTarget, "main");
    const auto texts = All<TextSection>();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text, u"x");
}

TEST_F(BuilderTest, NestingIsBoundedForBlocksAndInlines)
{
    std::string deep;
    for (int i = 0; i < 3000; ++i)
        deep += i % 2 ? "<div>" : "<b>";
    deep += "x";
    Build(deep);
    int depth = 0;
    for (const CellBasic* cell = &document.cell; cell;) {
        const Block* inner = nullptr;
        for (const auto& section : cell->sections)
            if (auto* block = dynamic_cast<const Block*>(section.get()))
                inner = block;
        cell = inner ? &inner->cell : nullptr;
        depth += inner ? 1 : 0;
    }
    EXPECT_LE(depth, static_cast<int>(DocumentBuilder::kMaxDepth));
    EXPECT_GT(depth, 50);
}

TEST(BodyTag, OnlyTheFirstBodyBeforeAnyContentSetsItsAttributes)
{
    struct Case
    {
        const char* html;
        std::uint32_t background;
        int marginLeft;
    };
    const std::uint32_t green = MakeRgb(0, 255, 0);
    const std::vector<Case> cases{
        {"<html><head><title>t</title></head><body bgcolor=#00ff00 leftmargin=300>text", green,
         200},
        {"<body marginwidth=7 topmargin=3 bgcolor=#00ff00>x<body bgcolor=#ff0000>y", green, 7},
        {"text<body bgcolor=#ff0000>", kNoColor, -1},
        {"<table><tr><td><body bgcolor=#ff0000>x</table>", kNoColor, -1},
    };
    for (const Case& c : cases) {
        FakeCodePages codePages;
        FakeFontCatalog fonts;
        FakeTextMeasurer measurer;
        Document document{measurer, fonts};
        DocumentBuilder builder{document, codePages};
        builder.Build(c.html);
        ASSERT_EQ(document.cell.sections.size(), 1u) << c.html;
        const auto* body = dynamic_cast<const BodyBlock*>(document.cell.sections[0].get());
        ASSERT_NE(body, nullptr) << c.html;
        EXPECT_EQ(BackgroundColorOf(body->style), c.background) << c.html;
        if (c.marginLeft >= 0) {
            EXPECT_EQ(body->style.Text(MarginLeft) ? *body->style.Text(MarginLeft) : "",
                      std::to_string(c.marginLeft) + "px")
                << c.html;
        }
        EXPECT_FALSE(body->cell.sections.empty()) << c.html;
    }
}

TEST_F(BuilderTest, ScriptsAreNotShownAndWbrBreaksNobr)
{
    Build("<p>a<script>var hidden = 1;</script>b</p><nobr>aaaa aaaa<wbr>aaaa aaaa</nobr>");
    const auto sections = All<TextSection>();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0]->text, u"ab");
    ASSERT_EQ(sections[1]->text, u"aaaa aaaa aaaa aaaa");
    EXPECT_EQ(sections[1]->breakFlags[4], 'n') << sections[1]->breakFlags;
    EXPECT_EQ(sections[1]->breakFlags[9], 'y') << sections[1]->breakFlags;
}

TEST_F(BuilderTest, PlainTextKeepsItsLinesAndSpaces)
{
    builder.BuildText("a  <b>\r\n\r\nlast\n");
    document.Layout(400, 0);
    const auto sections = All<TextSection>();
    ASSERT_EQ(sections.size(), 1u);
    ASSERT_NE(dynamic_cast<const PreformattedSection*>(sections[0]), nullptr);
    EXPECT_EQ(sections[0]->text, u"a  <b>\b\blast\b");
    EXPECT_EQ(sections[0]->lines.size(), 3u) << document.DumpLayout();
}

}  // namespace
