#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "setup/htmlview/layout/font_run.h"
#include "setup/htmlview/tests/text_position.h"
#include "setup/htmlview/tests/viewer_fakes.h"
#include "setup/htmlview/util/fake_platform.h"
#include "setup/htmlview/viewer/html_viewer.h"

namespace {

using namespace htmlview;

using fakes::RecordingWindow;
using FakeFiles = fakes::MemoryFiles;

constexpr std::uint16_t kDown = 0x28, kNext = 0x22, kEnd = 0x23, kC = 'C';

class HtmlViewerTest : public ::testing::Test
{
protected:
    HtmlViewerTest()
    {
        viewer.pane.width = 400;
        viewer.pane.height = 200;
        viewer.Visited().SetMaxCount(50);
        std::string tall = "<html><head><title>Tall</title></head><body>";
        for (int i = 0; i < 60; ++i)
            tall += "<p>line " + std::to_string(i) + "</p>";
        tall += "<a name=end>the end</a></body></html>";
        files.files["C:\\site\\tall.htm"] = tall;
        files.files["C:\\site\\index.htm"] =
            "<title>Index</title><p>Some words to select here</p>"
            "<p><a href=two.htm>second page</a> and <a href=\"tall.htm#end\">the end</a></p>"
            "<p><a href=notes.txt>notes</a></p>";
        files.files["C:\\site\\two.htm"] =
            "<meta http-equiv=refresh content=\"0;url=index.htm\"><title>Two</title>two";
    }
    // The point of the first character of a text, in paint-area coordinates, once the page is
    // painted (hit tests find what was painted).
    std::pair<int, int> PointOf(const std::u16string& text, bool caret = false)
    {
        viewer.Paint({0, 0, viewer.pane.width, viewer.pane.height});
        Document& document = viewer.GetDocument();
        const int pos = fixtures::PositionOfText(document, text);
        EXPECT_GE(pos, 0) << "no such text";
        // A caret point, or just left of the second character: a section's first position is
        // also the end of the one before it.
        int x = 0, y = 0;
        document.PointOfCaret(caret ? pos : pos + 1, x, y);
        return {caret ? x + 1 : x - 3, y + 4 - viewer.VerticalPosition()};
    }

    FakeCodePages codePages;
    FakeFontCatalog fonts;
    FakeTextMeasurer measurer;
    FakeFiles files;
    RecordingWindow window;
    HtmlViewer viewer{{measurer, fonts, codePages, files}, window};
};

TEST_F(HtmlViewerTest, LoadingLaysOutForThePaneAndScrollsByKeysAndWheel)
{
    viewer.LoadFromFile("tall.htm");
    EXPECT_EQ(viewer.Title(), "Tall");
    EXPECT_EQ(viewer.CurrentFile(), "C:\\site\\tall.htm");
    ASSERT_GT(viewer.DocumentHeight(), 200);
    EXPECT_TRUE(window.bars.vertical);
    const int bottom = viewer.DocumentHeight() - window.bars.paintHeight;

    // One line down shifts the painted contents; a page is a repaint.
    EXPECT_TRUE(viewer.KeyDown(kDown, false, false));
    EXPECT_EQ(viewer.VerticalPosition(), 16);
    EXPECT_EQ(window.shifts, std::vector<int>{-16});
    viewer.KeyDown(kNext, false, false);
    EXPECT_EQ(viewer.VerticalPosition(), 16 + window.bars.paintHeight - 16);
    viewer.KeyDown(kEnd, false, false);
    EXPECT_EQ(viewer.VerticalPosition(), bottom);
    EXPECT_EQ(window.position, bottom);
    // A wheel notch up with three lines: 48 pixels.
    viewer.Wheel(120);
    EXPECT_EQ(viewer.VerticalPosition(), bottom - 48);
    viewer.noWheelMouse = true;
    viewer.Wheel(120);
    EXPECT_EQ(viewer.VerticalPosition(), bottom - 48);

    // A narrower pane keeps the place in the document.
    const int before = viewer.VerticalPosition();
    viewer.pane.width = 300;
    viewer.Relayout();
    EXPECT_NEAR(viewer.VerticalPosition(), before, 40);
}

TEST_F(HtmlViewerTest, DraggingSelectsTextThatCopiesAndDoesNotFollowALink)
{
    viewer.LoadFromFile("index.htm");
    const auto [x1, y1] = PointOf(u"words", true);
    const auto [x2, y2] = PointOf(u" to select", true);
    viewer.MouseDown(MouseButton::Left, false, x1, y1);
    viewer.MouseMove(true, x2, y2);
    viewer.MouseUp(MouseButton::Left, false, x2, y2);
    EXPECT_EQ(viewer.SelectedText(), u"words");
    viewer.KeyDown(kC, false, true);
    EXPECT_EQ(window.copied, u"words");

    // A drag that ends on a link selects and stays on the page.
    const auto [lx, ly] = PointOf(u"second page");
    viewer.MouseDown(MouseButton::Left, false, x1, y1);
    viewer.MouseMove(true, lx + 8, ly);
    viewer.MouseUp(MouseButton::Left, false, lx + 8, ly);
    EXPECT_EQ(viewer.CurrentFile(), "C:\\site\\index.htm");
    EXPECT_FALSE(viewer.SelectedText().empty());

    // A double click selects a word.
    viewer.DoubleClick(x1, y1);
    EXPECT_EQ(viewer.SelectedText(), u"words");
}

TEST_F(HtmlViewerTest, HoverAndClickFollowLinksWithHistoryVisitedLinksAndRefresh)
{
    viewer.History().SetMaxCount(5);
    std::vector<std::string> covered, clicked;
    std::vector<std::pair<int, std::string>> refreshes;
    viewer.onHotSpotCovered = [&](const std::string& url) { covered.push_back(url); };
    viewer.onHotSpotClick = [&](const std::string& url) {
        clicked.push_back(url);
        return false;
    };
    viewer.onMetaRefresh = [&](int delay, const std::string& url) {
        refreshes.emplace_back(delay, url);
    };
    viewer.LoadFromFile("index.htm");
    const auto [x, y] = PointOf(u"second page");
    viewer.MouseMove(false, x, y);
    EXPECT_EQ(window.cursor, ViewerCursor::Hand);
    EXPECT_TRUE(window.hoverTimer);
    viewer.HoverTimerTick(false);  // the mouse left the document
    EXPECT_EQ(covered, (std::vector<std::string>{"two.htm", ""}));

    viewer.MouseDown(MouseButton::Left, false, x, y);
    viewer.MouseUp(MouseButton::Left, false, x, y);
    EXPECT_EQ(clicked, std::vector<std::string>{"two.htm"});
    EXPECT_EQ(viewer.CurrentFile(), "C:\\site\\two.htm");
    EXPECT_EQ(viewer.Title(), "Two");
    EXPECT_EQ(refreshes, (std::vector<std::pair<int, std::string>>{{1, "index.htm"}}));
    ASSERT_EQ(viewer.History().Entries().size(), 2u);
    EXPECT_TRUE(viewer.Visited().Contains("c:\\site\\TWO.htm"));

    // Back on the index, the visited link shows visited.
    viewer.LoadFromFile("index.htm");
    bool visited = false;
    for (const FontRun* run : viewer.GetDocument().links)
        visited = visited || (run->link.url == "two.htm" && run->visited);
    EXPECT_TRUE(visited);

    // A link to another file's anchor scrolls there; a text file is left alone.
    const auto [ex, ey] = PointOf(u"the end");
    viewer.MouseDown(MouseButton::Left, false, ex, ey);
    viewer.MouseUp(MouseButton::Left, false, ex, ey);
    EXPECT_EQ(viewer.CurrentFile(), "C:\\site\\tall.htm");
    EXPECT_GT(viewer.VerticalPosition(), 0);
    viewer.LoadFromFile("index.htm");
    viewer.SetLink("notes.txt", "");
    viewer.ActivateLink();
    EXPECT_EQ(viewer.CurrentFile(), "C:\\site\\index.htm");
}

TEST_F(HtmlViewerTest, MissingFilesPlainTextAndPanning)
{
    bool busyAfter = true;
    viewer.onProcessing = [&](bool busy) { busyAfter = busy; };
    try {
        viewer.LoadFromFile("missing.htm#x");
        ADD_FAILURE() << "no error";
    } catch (const ViewerError& error) {
        EXPECT_STREQ(error.what(), "Can't locate file: missing.htm");
    }
    EXPECT_FALSE(busyAfter);
    EXPECT_FALSE(viewer.Busy());

    viewer.LoadTextFromString("plain <b>text</b>\r\nsecond line");
    EXPECT_EQ(viewer.CurrentFile(), "");
    EXPECT_EQ(viewer.VerticalPosition(), 0);
    viewer.SelectAll();
    EXPECT_EQ(viewer.SelectedText(), u"plain <b>text</b>\r\nsecond line");

    // A middle click pans until the next click; moving far starts the scroll steps.
    viewer.LoadFromFile("tall.htm");
    viewer.MouseDown(MouseButton::Middle, false, 50, 50);
    viewer.MouseUp(MouseButton::Middle, false, 50, 50);
    EXPECT_TRUE(viewer.Panning());
    viewer.MouseMove(false, 50, 120);
    EXPECT_TRUE(window.dragTimer);
    viewer.DragScrollStep(120);
    EXPECT_EQ(viewer.VerticalPosition(), 32);
    EXPECT_EQ(window.cursor, ViewerCursor::PanDown);
    viewer.MouseDown(MouseButton::Left, false, 50, 120);
    EXPECT_FALSE(viewer.Panning());
    EXPECT_FALSE(window.dragTimer);
}

}  // namespace
