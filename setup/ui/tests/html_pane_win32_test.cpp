// Under Xvfb: an HTML pane on a page as a real window, driven by key, wheel and mouse messages:
// scrolling, selecting and copying text, hovering over and following a link, and a picture of the
// page checked for the document's colours in the pane's regions.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "setup/forms/class_builder.h"
#include "setup/htmlview/images/png_writer.h"
#include "setup/htmlview/tests/image_fixtures.h"
#include "setup/htmlview/tests/text_position.h"
#include "setup/ui/capture_win32.h"
#include "setup/ui/html_pane.h"
#include "setup/ui/tests/page_windows_fixture_win32.h"

namespace setup::ui::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPanePage = R"(object PanePage: TForm
  Left = 100
  Top = 80
  BorderStyle = bsDialog
  ClientWidth = 360
  ClientHeight = 240
  object Pane: THtmlPane
    Left = 10
    Top = 10
    Width = 320
    Height = 200
    BorderStyle = htSingle
  end
end
)";

class HtmlPaneWindowTest : public PageWindowsTest
{
protected:
    HtmlPaneWindowTest()
    {
        folder =
            fs::temp_directory_path() / ("html-pane-" + std::to_string(::GetCurrentProcessId()));
        fs::create_directories(folder);
        std::string html =
            "<title>First</title><body bgcolor=#00ff00><p>Alpha words here</p>"
            "<p><a href=\"second.htm\">Second page</a></p>";
        for (int i = 0; i < 40; ++i)
            html += "<p>filler line " + std::to_string(i) + "</p>";
        std::ofstream(folder / "first.htm") << html;
        std::ofstream(folder / "second.htm")
            << "<title>Second</title><body bgcolor=#0000ff><p>The second page</p>";
        ShowPageText(kPanePage);
        pane = &Find<THtmlPane>("Pane");
        pane->LoadFromFile((folder / "first.htm").string());
        app.ProcessMessages();
    }
    ~HtmlPaneWindowTest() override
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    HWND PaneWindow() { return Window("Pane"); }
    int ScrollPos()
    {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_POS;
        ::GetScrollInfo(PaneWindow(), SB_VERT, &info);
        return info.nPos;
    }
    // The point of a document text in the pane's window.
    POINT PointOf(const std::u16string& text, bool caret = false)
    {
        htmlview::Document& document = pane->Viewer().GetDocument();
        const int pos = htmlview::fixtures::PositionOfText(document, text);
        EXPECT_GE(pos, 0) << "no such text";
        // A caret point, or just left of the second character (past the frame's pixel): a
        // section's first position is also the end of the one before it.
        int x = 0, y = 0;
        document.PointOfCaret(caret ? pos : pos + 1, x, y);
        return {x + 1 + (caret ? 1 : -2), y + 1 + 5 - pane->Viewer().VerticalPosition()};
    }
    void Mouse(UINT message, WPARAM keys, POINT point)
    {
        ::SendMessageA(PaneWindow(), message, keys, MAKELPARAM(point.x, point.y));
        app.ProcessMessages();
    }

    fs::path folder;
    THtmlPane* pane = nullptr;
};

TEST_F(HtmlPaneWindowTest, KeysAndTheWheelScrollTheDocument)
{
    EXPECT_EQ(pane->GetDocumentTitle(), "First");
    EXPECT_TRUE(::GetWindowLongA(PaneWindow(), GWL_STYLE) & WS_VSCROLL);
    ::SendMessageA(PaneWindow(), WM_KEYDOWN, VK_DOWN, 0);
    app.ProcessMessages();
    EXPECT_EQ(ScrollPos(), 16);
    ::SendMessageA(PaneWindow(), WM_KEYDOWN, VK_END, 0);
    app.ProcessMessages();
    const int bottom = ScrollPos();
    EXPECT_GT(bottom, 200);
    ::SendMessageA(PaneWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    app.ProcessMessages();
    UINT lines = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    EXPECT_EQ(ScrollPos(), bottom - static_cast<int>(lines) * 16);
    ::SendMessageA(PaneWindow(), WM_VSCROLL, SB_TOP, 0);
    app.ProcessMessages();
    EXPECT_EQ(ScrollPos(), 0);
    EXPECT_EQ(pane->Viewer().VerticalPosition(), 0);
}

TEST_F(HtmlPaneWindowTest, SelectedTextIsCopiedAndALinkIsHoveredAndFollowed)
{
    const POINT from = PointOf(u"words", true), to = PointOf(u" here", true);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, from);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, to);
    Mouse(WM_LBUTTONUP, 0, to);
    EXPECT_EQ(pane->Viewer().SelectedText(), u"words");
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    ::SendMessageA(PaneWindow(), WM_KEYDOWN, 'C', 0);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const std::u16string copied(static_cast<const char16_t*>(::GlobalLock(data)));
    ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_EQ(copied, u"words");

    const POINT link = PointOf(u"Second page");
    Mouse(WM_MOUSEMOVE, 0, link);
    EXPECT_EQ(pane->Viewer().LinkUrl(), "second.htm");
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, link);
    Mouse(WM_LBUTTONUP, 0, link);
    EXPECT_EQ(pane->GetDocumentTitle(), "Second");
    EXPECT_NE(pane->GetCurrentFile().find("second.htm"), std::string::npos);
}

TEST_F(HtmlPaneWindowTest, ThePicturedPageShowsTheDocumentInsideThePane)
{
    ::RedrawWindow(PaneWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    app.ProcessMessages();
    const htmlview::PixelImage picture = CaptureForm(page);
    // The body's green inside the pane, the page's own colour outside it.
    const htmlview::Rgb inside = picture.ColorAt(200, 150);
    EXPECT_EQ(inside, (htmlview::Rgb{0, 255, 0}));
    EXPECT_NE(picture.ColorAt(345, 225), (htmlview::Rgb{0, 255, 0}));
    // Dark ink of the text in the first lines.
    bool ink = false;
    for (int y = 12; y < 40 && !ink; ++y)
        for (int x = 12; x < 200 && !ink; ++x) {
            const htmlview::Rgb c = picture.ColorAt(x, y);
            ink = c.red < 100 && c.green < 100 && c.blue < 100;
        }
    EXPECT_TRUE(ink);
}

// Pure colours come out exact on any screen: the page's own colour, a picture's and the text's.
// On a 256-colour screen the picture is kept in the shared palette, which the window realises
// before it copies its off-screen bitmap, and the colours are palette-relative.
TEST_F(HtmlPaneWindowTest, PureColoursOfPageTextAndPictureShowExactly)
{
    htmlview::PixelImage blue;
    blue.Allocate(40, 40, 24, 1u << 20);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            blue.SetColor(x, y, {0, 0, 255});
    const std::vector<std::uint8_t> png = htmlview::SavePng(blue);
    std::ofstream(folder / "blue.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    std::ofstream(folder / "colours.htm")
        << "<body bgcolor=#ff00ff><img src=blue.png width=40 height=40>"
           "<p><font color=#ff0000 size=7>MMMMM</font></p>";
    pane->LoadFromFile((folder / "colours.htm").string());
    ::RedrawWindow(PaneWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    app.ProcessMessages();

    HDC screen = ::GetDC(nullptr);
    const bool palette = (::GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    ::ReleaseDC(nullptr, screen);
    const htmlview::PixelImage* kept = pane->Viewer().ImageFor("blue.png");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->bitsPerPixel, palette ? 8 : 24);

    const htmlview::PixelImage picture = CaptureForm(page);
    SCOPED_TRACE("picture: " + htmlview::fixtures::WriteFailurePicture("pane-colours", picture));
    // The paint area's corner in the picture of the whole window.
    RECT window{};
    ::GetWindowRect(WindowOf(page), &window);
    POINT corner{1, 1};  // past the pane's frame
    ::ClientToScreen(PaneWindow(), &corner);
    const int left = corner.x - window.left, top = corner.y - window.top;
    int blueCount = 0, red = 0;
    for (int y = top; y < top + 198; ++y)
        for (int x = left; x < left + 318; ++x) {
            blueCount += picture.ColorAt(x, y) == htmlview::Rgb{0, 0, 255};
            red += picture.ColorAt(x, y) == htmlview::Rgb{255, 0, 0};
        }
    EXPECT_GE(blueCount, 40 * 40);
    EXPECT_GT(red, 50);
    EXPECT_EQ(picture.ColorAt(left + 250, top + 20), (htmlview::Rgb{255, 0, 255}));
    EXPECT_EQ(picture.ColorAt(left + 250, top + 190), (htmlview::Rgb{255, 0, 255}));
}

// A form whose published handler records the pane's form submissions.
struct SubmitWatcher : TForm
{
    FORMS_CLASS_INFO()
    using TForm::TForm;
    void Submitted(forms::TObject*, const std::string& action, const std::string&,
                   const std::string&, const std::string&, const std::vector<std::string>& items)
    {
        std::string line = action;
        for (const std::string& item : items)
            line += " " + item;
        submissions.push_back(line);
    }
    std::vector<std::string> submissions;
};

const forms::ClassInfo& SubmitWatcher::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<SubmitWatcher>("TSubmitWatcher", &TForm::StaticClass())
            .Method("Submitted", &SubmitWatcher::Submitted)
            .Build();
    return info;
}

class HtmlPaneFormTest : public HtmlPaneWindowTest
{
protected:
    HtmlPaneFormTest()
    {
        static_cast<forms::TMethod&>(pane->onFormSubmit) = {
            SubmitWatcher::StaticClass().FindMethod("Submitted"), &watcher};
        std::string html =
            "<title>Form</title><form action=\"go.htm\"><p><input name=who value=Ann>"
            " <a href=\"second.htm\">next page</a> <input type=submit name=go value=Send>";
        for (int i = 0; i < 30; ++i)
            html += "<p>filler " + std::to_string(i);
        html += "<p><input name=low value=down></form>";
        std::ofstream(folder / "form.htm") << html;
        pane->LoadFromFile((folder / "form.htm").string());
        Repaint();
    }
    void Repaint()
    {
        ::RedrawWindow(PaneWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        app.ProcessMessages();
    }
    // The document's controls of one window class, in the order they were made.
    std::vector<HWND> Children(const char* className)
    {
        std::vector<HWND> found;
        for (HWND w = ::GetWindow(PaneWindow(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
            char name[32] = {};
            ::GetClassNameA(w, name, sizeof(name));
            if (_stricmp(name, className) == 0)
                found.push_back(w);
        }
        std::sort(found.begin(), found.end(),
                  [](HWND a, HWND b) { return ::GetDlgCtrlID(a) < ::GetDlgCtrlID(b); });
        return found;
    }
    POINT Corner(HWND window)
    {
        RECT r{};
        ::GetWindowRect(window, &r);
        POINT corner{r.left, r.top};
        ::ScreenToClient(PaneWindow(), &corner);
        return corner;
    }
    // A key as the page's message loop hands it on: dialog navigation first.
    void PageKey(HWND target, WPARAM key)
    {
        MSG message{target, WM_KEYDOWN, key, 0, ::GetTickCount(), {}};
        if (!::IsDialogMessageA(WindowOf(page), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        app.ProcessMessages();
    }

    SubmitWatcher watcher{nullptr};
};

TEST_F(HtmlPaneFormTest, ControlsStandInTheTextAndAreParkedWhenScrolledAway)
{
    const std::vector<HWND> edits = Children("Edit");
    ASSERT_EQ(edits.size(), 2u);
    const POINT top = Corner(edits[0]);
    EXPECT_GE(top.x, 1);
    EXPECT_GE(top.y, 1);
    EXPECT_LT(top.y, 200);
    EXPECT_LT(Corner(edits[1]).x, -1000);
    ::SendMessageA(PaneWindow(), WM_KEYDOWN, VK_END, 0);
    Repaint();
    EXPECT_LT(Corner(edits[0]).x, -1000);
    const POINT low = Corner(edits[1]);
    EXPECT_GE(low.x, 1);
    EXPECT_LT(low.y, 200);
}

TEST_F(HtmlPaneFormTest, EnterInATextBoxSubmitsTheFormInsteadOfPressingTheDialogsButton)
{
    HWND edit = Children("Edit")[0];
    ::SetFocus(edit);
    ::SetWindowTextA(edit, "typed");
    PageKey(edit, VK_RETURN);
    ASSERT_EQ(watcher.submissions.size(), 1u);
    EXPECT_EQ(watcher.submissions[0], "go.htm who=typed low=down");
}

TEST_F(HtmlPaneFormTest, TabReachesTheLinkAndEnterOnItFollowsIt)
{
    HWND edit = Children("Edit")[0];
    ::SetFocus(edit);
    PageKey(edit, VK_TAB);
    HWND focused = ::GetFocus();
    ASSERT_NE(focused, nullptr);
    ASSERT_EQ(::GetParent(focused), PaneWindow());
    EXPECT_LT(Corner(focused).x, -1000) << "a link's stop is not seen";
    PageKey(focused, VK_RETURN);
    EXPECT_EQ(pane->GetDocumentTitle(), "Second");
    EXPECT_TRUE(watcher.submissions.empty());
}

}  // namespace
}  // namespace setup::ui::testing
