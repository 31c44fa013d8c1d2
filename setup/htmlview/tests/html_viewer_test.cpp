#include <gtest/gtest.h>

#include <algorithm>
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

namespace {

// A 24-bit BMP of one colour, bottom-up rows padded to four bytes.
std::string OwnerGivenBmp(int width, int height, Rgb color)
{
    const int row = (width * 3 + 3) / 4 * 4;
    const std::uint32_t size = 54 + static_cast<std::uint32_t>(row * height);
    std::string bmp(size, '\0');
    auto put = [&bmp](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 54 + static_cast<std::size_t>(y * row + x * 3);
            bmp[at] = static_cast<char>(color.blue);
            bmp[at + 1] = static_cast<char>(color.green);
            bmp[at + 2] = static_cast<char>(color.red);
        }
    return bmp;
}

// What the owner is asked and told while a document loads: progress from start to end (a
// missing file too), the source before parsing, includes, scripts, style sheets and pictures
// from the owner before any file.
TEST_F(HtmlViewerTest, LoadingAsksTheOwnerAndReportsProgress)
{
    std::vector<std::pair<ProgressStage, int>> progress;
    std::vector<std::string> asked, scripts;
    viewer.onProgress = [&](ProgressStage stage, int percent) {
        progress.emplace_back(stage, percent);
    };
    viewer.onParseBegin = [](std::string& source) { source += "<p>added by the owner</p>"; };
    viewer.onInclude = [&](const std::string& command, const std::vector<std::string>& params) {
        asked.push_back("include " + command + " " + (params.empty() ? "" : params[0]));
        return std::string("<b>included text</b>");
    };
    viewer.onScript = [&](const std::string& name, const std::string& language,
                          const std::string& script) {
        scripts.push_back(language + ":" + script);
    };
    viewer.onStreamRequest = [&](const std::string& source) -> std::optional<std::string> {
        asked.push_back("sheet " + source);
        return std::string("body { background-color: #00ff00 }");
    };
    viewer.onImageRequest = [&](const std::string& source) -> std::optional<std::string> {
        asked.push_back("image " + source);
        if (source == "given.bmp")
            return OwnerGivenBmp(3, 2, {255, 0, 0});
        return std::nullopt;
    };
    viewer.onBitmapRequest = [&](const std::string& source) -> std::optional<PixelImage> {
        asked.push_back("bitmap " + source);
        if (source != "drawn.bmp")
            return std::nullopt;
        PixelImage image;
        image.Allocate(7, 5, 24, 1u << 20);
        return image;
    };
    files.files["C:\\site\\asks.htm"] =
        "<link rel=stylesheet href=look.css><script language=JavaScript>go()</script>"
        "<p><!--#echo var=\"x\"--> <img src=given.bmp> <img src=drawn.bmp> <img src=gone.bmp></p>";
    viewer.LoadFromFile("asks.htm");

    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress.front(), (std::pair{ProgressStage::Starting, 0}));
    EXPECT_EQ(progress.back(), (std::pair{ProgressStage::Ending, 100}));
    EXPECT_EQ(scripts, std::vector<std::string>{"JavaScript:go()"});
    EXPECT_GE(fixtures::PositionOfText(viewer.GetDocument(), u"included text"), 0);
    EXPECT_GE(fixtures::PositionOfText(viewer.GetDocument(), u"added by the owner"), 0);
    const PixelImage* given = viewer.ImageFor("given.bmp");
    ASSERT_NE(given, nullptr);
    EXPECT_EQ(given->width, 3);
    EXPECT_EQ(given->ColorAt(1, 1), (Rgb{255, 0, 0}));
    const PixelImage* drawn = viewer.ImageFor("drawn.bmp");
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(drawn->width, 7);
    EXPECT_EQ(viewer.ImageFor("gone.bmp"), nullptr);
    for (const char* expected : {"include echo", "sheet look.css", "bitmap given.bmp",
                                 "image given.bmp", "bitmap drawn.bmp", "image gone.bmp"})
        EXPECT_NE(std::find_if(asked.begin(), asked.end(),
                               [&](const std::string& a) { return a.rfind(expected, 0) == 0; }),
                  asked.end())
            << expected;

    // A missing file still ends its progress; a relayout starts and ends its own.
    progress.clear();
    EXPECT_THROW(viewer.LoadFromFile("missing.htm"), ViewerError);
    EXPECT_EQ(progress, (std::vector<std::pair<ProgressStage, int>>{{ProgressStage::Ending, 100}}));
    progress.clear();
    viewer.pane.width = 300;
    viewer.Relayout();
    EXPECT_EQ(progress, (std::vector<std::pair<ProgressStage, int>>{
                            {ProgressStage::Starting, 0}, {ProgressStage::Ending, 100}}));
}

// Pointer events on pictures and words: over and click with the point on the picture, the
// right-click report of picture, link and word, and the double click after the selection.
TEST_F(HtmlViewerTest, PicturesAndWordsUnderThePointerAreReported)
{
    viewer.onBitmapRequest = [](const std::string&) -> std::optional<PixelImage> {
        PixelImage image;
        image.Allocate(40, 30, 24, 1u << 20);
        return image;
    };
    files.files["C:\\site\\pics.htm"] =
        "<p>before <img src=p.bmp border=0> after</p><p><a href=two.htm>linked words</a></p>";
    viewer.LoadFromFile("pics.htm");
    viewer.Paint({0, 0, viewer.pane.width, viewer.pane.height});
    const InlineImage* over = nullptr;
    std::vector<std::string> events;
    viewer.onImageOver = [&](const InlineImage& image, int x, int y) {
        over = &image;
        events.push_back("over " + std::to_string(x) + "," + std::to_string(y));
    };
    viewer.onImageClick = [&](const InlineImage&, MouseButton button, bool, int x, int y) {
        events.push_back(std::string(button == MouseButton::Right ? "right" : "left") + " " +
                         std::to_string(x) + "," + std::to_string(y));
    };
    std::vector<RightClickInfo> rightClicks;
    viewer.onRightClick = [&](const RightClickInfo& info) {
        rightClicks.push_back(info);
        EXPECT_FALSE(window.hoverTimer);  // no hover check while the owner's menu is up
    };
    std::vector<std::pair<int, int>> doubles;
    viewer.onMouseDouble = [&](int x, int y) { doubles.emplace_back(x, y); };

    // The picture stands right after "before ".
    const auto [bx, by] = PointOf(u"before", true);
    const int imageX = bx - 1 + 7 * 8 + 5;
    const int imageY = by - 4 + 10;
    viewer.MouseMove(false, imageX, imageY);
    ASSERT_NE(over, nullptr);
    EXPECT_EQ(window.cursor, ViewerCursor::Arrow);
    viewer.MouseUp(MouseButton::Right, false, imageX, imageY);
    viewer.MouseDown(MouseButton::Left, false, imageX, imageY);
    viewer.MouseUp(MouseButton::Left, false, imageX, imageY);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], "over 5,10");
    EXPECT_EQ(events[1], "right 5,10");
    EXPECT_EQ(events[2], "left 5,10");
    ASSERT_EQ(rightClicks.size(), 1u);
    EXPECT_EQ(rightClicks[0].image, over);
    EXPECT_EQ(rightClicks[0].imageX, 5);
    EXPECT_TRUE(rightClicks[0].word.empty());
    EXPECT_TRUE(window.hoverTimer);

    const auto [lx, ly] = PointOf(u"words", true);
    viewer.MouseUp(MouseButton::Right, false, lx + 3, ly);
    ASSERT_EQ(rightClicks.size(), 2u);
    EXPECT_EQ(rightClicks[1].image, nullptr);
    EXPECT_EQ(rightClicks[1].url, "two.htm");
    EXPECT_EQ(rightClicks[1].word, u"words");

    const auto [ax, ay] = PointOf(u"after", true);
    viewer.DoubleClick(ax + 3, ay);
    EXPECT_EQ(viewer.SelectedText(), u"after");
    viewer.noSelect = true;
    viewer.DoubleClick(ax + 3, ay);
    EXPECT_EQ(doubles, (std::vector<std::pair<int, int>>{{ax + 3, ay}, {ax + 3, ay}}));
}

}  // namespace
