#include <gtest/gtest.h>

#include <stdexcept>

#include "setup/htmlview/builder/document_builder.h"
#include "setup/htmlview/builder/head_elements.h"
#include "setup/htmlview/layout/block.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/font_run.h"
#include "setup/htmlview/layout/inline_image.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;

class HeadElementsTest : public ::testing::Test
{
protected:
    void Build(const std::string& html)
    {
        document.imageSize = [](const std::string&) { return ImageSize{100, 50}; };
        builder.Build(html);
        document.Layout(400, 0);
    }
    const TextSection& FirstText() const
    {
        for (const CellBasic* cell = &document.cell;;) {
            const CellBasic* inner = nullptr;
            for (const auto& section : cell->sections) {
                if (auto* text = dynamic_cast<const TextSection*>(section.get()))
                    return *text;
                if (auto* block = dynamic_cast<const Block*>(section.get()))
                    inner = &block->cell;
            }
            if (!inner)
                throw std::logic_error("no text");
            cell = inner;
        }
    }
    // The hit at a point of the first image, in document coordinates.
    int HitImage(int dx, int dy, LinkHit& hit)
    {
        const InlineImage& image = *FirstText().images.at(0);
        return document.HitLink(image.paintX + dx, image.paintY + dy, hit);
    }

    FakeCodePages codePages;
    FakeFontCatalog fonts;
    FakeTextMeasurer measurer;
    Document document{measurer, fonts};
    DocumentBuilder builder{document, codePages};
};

TEST(SheetText, LineEndsBecomeOneCrAndTabsSpaces)
{
    EXPECT_EQ(SheetTextForReading("a\r\nb\nc\rd\te"), "a\rb\rc\rd e");
    EXPECT_EQ(SheetTextForReading(""), "");
}

TEST_F(HeadElementsTest, LinkedSheetStylesTheDocumentAndTheLinkIsReported)
{
    std::vector<std::string> asked, reported;
    builder.hooks.loadStyleSheet = [&](const std::string& href) -> std::optional<LinkedSheet> {
        asked.push_back(href);
        if (href == "broken.css")
            throw std::runtime_error("unreadable");
        if (href == "none.css")
            return std::nullopt;
        return LinkedSheet{"p\n{\tcolor:\t#ff0000 }\r\n", "C:\\site\\"};
    };
    builder.hooks.onLink = [&](const std::string& rel, const std::string& rev,
                               const std::string& href) {
        reported.push_back(rel + "|" + rev + "|" + href);
    };
    Build(
        "<link rel=stylesheet href=broken.css><link rel=stylesheet href=none.css>"
        "<link rel=\" StyleSheet \" href=site.css><link rel=next rev=prev href=two.htm>"
        "<link rel=stylesheet><p>red");
    EXPECT_EQ(asked, (std::vector<std::string>{"broken.css", "none.css", "site.css"}));
    EXPECT_EQ(reported, (std::vector<std::string>{"stylesheet||broken.css", "stylesheet||none.css",
                                                  " StyleSheet ||site.css", "next|prev|two.htm",
                                                  "stylesheet||"}));
    // Stored blue-green-red.
    EXPECT_EQ(FirstText().fonts.at(0)->font.color & 0xFFFFFF, 0x0000FFu);
}

TEST_F(HeadElementsTest, MetaElementsAreReportedAndBackgroundSoundsPlayed)
{
    std::vector<std::string> metas, sounds;
    builder.hooks.onMeta = [&](const std::string& httpEquiv, const std::string& name,
                               const std::string& content) {
        metas.push_back(httpEquiv + "|" + name + "|" + content);
    };
    builder.hooks.onSound = [&](const std::string& source, int loop, bool terminate) {
        sounds.push_back(source + "|" + std::to_string(loop) + (terminate ? "|stop" : ""));
    };
    Build(
        "<meta http-equiv=Refresh content=\"0; URL=next.htm\"><meta name=author content=me>"
        "<bgsound src=a.wav><bgsound src=b.wav loop=3><bgsound loop=2>x");
    EXPECT_EQ(metas, (std::vector<std::string>{"Refresh||0; URL=next.htm", "|author|me"}));
    EXPECT_EQ(sounds, (std::vector<std::string>{"a.wav|1", "b.wav|3"}));
}

TEST_F(HeadElementsTest, ClientSideMapsDecideTheLinkOfTheirImage)
{
    struct Case
    {
        int dx, dy;
        int flags;
        const char* url;
        const char* title;
    };
    Build(
        "<map name=Nav>text is dropped<area shape=rect coords=0,0,40,40 href=left.htm "
        "title=Left><area shape=circle coords=70,25,10 href=ring.htm target=side>"
        "<area shape=rect coords=0,0,100,50 nohref></map>"
        "<a href=outer.htm><img src=p.gif usemap=\"#nav\"></a>");
    ASSERT_EQ(document.maps.size(), 1u);
    EXPECT_EQ(document.maps[0]->Name(), "NAV");
    for (const Case& c : std::vector<Case>{{5, 5, kHitLink | kHitTitle, "left.htm", "Left"},
                                           {70, 25, kHitLink, "ring.htm", ""},
                                           {90, 45, 0, "", ""}}) {
        LinkHit hit;
        EXPECT_EQ(HitImage(c.dx, c.dy, hit) & (kHitLink | kHitTitle), c.flags) << c.dx;
        EXPECT_EQ(hit.target.url, c.url) << c.dx;
        EXPECT_EQ(hit.title, c.title) << c.dx;
    }
}

TEST_F(HeadElementsTest, ServerSideMapsAddThePointAndUnknownMapsFallBackToTheLink)
{
    Build(
        "<a href=map.cgi><img src=p.gif ismap></a><br>"
        "<a href=plain.htm><img src=q.gif usemap=#missing></a>");
    LinkHit hit;
    EXPECT_EQ(HitImage(7, 9, hit) & kHitLink, kHitLink);
    EXPECT_EQ(hit.target.url, "map.cgi?7,9");
    const InlineImage& second = *FirstText().images.at(1);
    LinkHit other;
    EXPECT_EQ(document.HitLink(second.paintX + 1, second.paintY + 1, other) & kHitLink, kHitLink);
    EXPECT_EQ(other.target.url, "plain.htm");
}

TEST_F(HeadElementsTest, AMapWithoutItsEndGivesUpAtItsThirdStraySymbol)
{
    // B, its end tag and I are strays: the first two and the text between are dropped, the I
    // and what follows it are content again.
    Build("<map name=m><area coords=0,0,5,5 href=a><b>one</b><i>two</i> three");
    EXPECT_TRUE(document.maps.empty());
    const std::string dump = document.DumpLayout();
    EXPECT_EQ(dump.find("one"), std::string::npos) << dump;
    EXPECT_NE(dump.find("two three"), std::string::npos) << dump;
}

TEST_F(HeadElementsTest, PageBreaksStandInTheFlowWithoutHeight)
{
    Build("<p>a</p><page><p>b</p>");
    const std::string dump = document.DumpLayout();
    const auto page = dump.find("page");
    ASSERT_NE(page, std::string::npos) << dump;
    EXPECT_LT(dump.find("\"a\""), page);
    EXPECT_GT(dump.find("\"b\""), page);
}

TEST(TabStopLinks, MoreThanFourHundredLinksTakeNoTabStops)
{
    for (const int count : {400, 401}) {
        FakeCodePages codePages;
        FakeFontCatalog fonts;
        FakeTextMeasurer measurer;
        Document document{measurer, fonts};
        DocumentBuilder builder{document, codePages};
        std::string html = "<a name=only>not a link</a>";
        for (int i = 0; i < count; ++i)
            html += "<a href=\"#l" + std::to_string(i) + "\">l<b>in</b>k</a> ";
        builder.Build(html);
        document.Layout(400, 0);
        EXPECT_EQ(document.noTabLinks, count > DocumentBuilder::kMaxTabLinks) << count;
        // One stop a link however many runs it has.
        EXPECT_EQ(document.TabStopLinks().size(), count > 400 ? 0u : 400u) << count;
    }
}

}  // namespace
