// Under Xvfb: the skinned controls' page as real windows driven by mouse and key messages, a
// picture of it checked at chosen pixels, and the shaped form's window region compared with its
// picture's mask pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "setup/ui/capture_win32.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/skin/bmp_button.h"
#include "setup/ui/skin/flat_glyphs.h"
#include "setup/ui/skin/form_shape.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/ui/skin/skin_display_win32.h"
#include "setup/ui/tests/page_windows_fixture_win32.h"
#include "setup/ui/timer.h"
#include "setup/ui/window_peer_win32.h"

namespace setup::ui::testing {
namespace {

using namespace skin;

class SkinnedWindowsTest : public PageWindowsTest
{
protected:
    SkinnedWindowsTest() { app.skinDisplay = &display; }

    void ShowPage(const char* file) { ShowPageText(PageText(UI_TEST_DATA, file)); }
    void Click(const char* name, int x = 4, int y = 6)
    {
        HWND window = Window(name);
        ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        app.ProcessMessages();
    }
    void Key(const char* name, WPARAM key)
    {
        ::SendMessageA(Window(name), WM_KEYDOWN, key, 0);
        ::SendMessageA(Window(name), WM_KEYUP, key, 0);
        app.ProcessMessages();
    }
    LRESULT CheckOf(const char* name) { return ::SendMessageA(Window(name), BM_GETCHECK, 0, 0); }
};

TEST_F(SkinnedWindowsTest, MouseAndKeysDriveTheControls)
{
    ShowPage("skinned_controls.txt");
    EXPECT_EQ(CheckOf("SkCheckFlat"), BST_CHECKED);
    EXPECT_EQ(CheckOf("SkCheckGrayed"), BST_INDETERMINATE);
    EXPECT_EQ(CheckOf("SkRadioSecond"), BST_CHECKED);

    Click("SkCheckFlat");
    EXPECT_EQ(CheckOf("SkCheckFlat"), BST_UNCHECKED);
    EXPECT_EQ(page.events, std::vector<std::string>{"CheckBox1Click SkCheckFlat"});
    EXPECT_EQ(::GetFocus(), Window("SkCheckFlat"));
    // A release outside the control does not click.
    ::SendMessageA(Window("SkCheckFlat"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 6));
    EXPECT_TRUE(Find<TSkCheckBox>("SkCheckFlat").DrawPressed());
    ::SendMessageA(Window("SkCheckFlat"), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, 6));
    EXPECT_FALSE(Find<TSkCheckBox>("SkCheckFlat").DrawPressed());
    ::SendMessageA(Window("SkCheckFlat"), WM_LBUTTONUP, 0, MAKELPARAM(400, 6));
    EXPECT_EQ(CheckOf("SkCheckFlat"), BST_UNCHECKED);

    // The space bar: grayed becomes checked; a read-only box stays as it is.
    ::SetFocus(Window("SkCheckGrayed"));
    Key("SkCheckGrayed", VK_SPACE);
    EXPECT_EQ(CheckOf("SkCheckGrayed"), BST_CHECKED);
    Click("SkCheckReadOnly");
    Key("SkCheckReadOnly", VK_SPACE);
    EXPECT_EQ(CheckOf("SkCheckReadOnly"), BST_UNCHECKED);

    // Radio buttons: one checked in the panel; the checked one is the tab stop.
    Click("SkRadioFirst");
    EXPECT_EQ(CheckOf("SkRadioFirst"), BST_CHECKED);
    EXPECT_EQ(CheckOf("SkRadioSecond"), BST_UNCHECKED);
    EXPECT_TRUE(::GetWindowLongPtrA(Window("SkRadioFirst"), GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(::GetWindowLongPtrA(Window("SkRadioSecond"), GWL_STYLE) & WS_TABSTOP);
    // Focus from the keyboard checks.
    ::SetFocus(Window("SkRadioSecond"));
    app.ProcessMessages();
    EXPECT_EQ(CheckOf("SkRadioSecond"), BST_CHECKED);

    // The mouse over a control and away from it.
    ::SendMessageA(Window("SkCheckFlat"), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(Find<TSkCheckBox>("SkCheckFlat").MouseOver());
    ::SendMessageA(Window("SkCheckFlat"), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(Find<TSkCheckBox>("SkCheckFlat").MouseOver());

    // Bitmap buttons: a toggle group, and a click that closes with its modal result.
    Click("SkBmpToggleOne");
    EXPECT_TRUE(Find<TSkBmpButton>("SkBmpToggleOne").Down());
    EXPECT_FALSE(Find<TSkBmpButton>("SkBmpToggleTwo").Down());
    Click("SkBmpInstall", 60, 18);
    EXPECT_EQ(page.ModalResult(), mrOk);
    Click("SkBmpDisabled", 30, 18);
    EXPECT_EQ(Find<TSkBmpButton>("SkBmpDisabled").State(), DrawState::Disabled);
}

TEST_F(SkinnedWindowsTest, APictureOfThePageShowsTheGlyphsAndBitmaps)
{
    ShowPage("skinned_controls.txt");
    const htmlview::PixelImage image = CaptureForm(page);
    const std::filesystem::path folder = std::filesystem::path(IMAGE_FIXTURE_DIR).parent_path();
    SavePngFile(image, (folder / "skinned_controls.png").string());
    const TPoint client = ClientOffsetInCapture(page);
    auto at = [&](const char* name, int x, int y) {
        const auto& control = Find<TControl>(name);
        int left = client.x + control.Left() + x;
        int top = client.y + control.Top() + y;
        for (TWinControl* p = control.Parent(); p && p != &page; p = p->Parent()) {
            left += p->Left();
            top += p->Top();
        }
        return PixelAt(image, left, top);
    };
    const Rgb32 shadow = display.SystemColor(COLOR_BTNSHADOW);
    // Flat check box: frame at the glyph's corner, the navy mark inside.
    EXPECT_EQ(at("SkCheckFlat", 0, 2), shadow);
    EXPECT_EQ(at("SkCheckFlat", 1 + 3, 2 + 1 + 5), MakeRgb(0, 0, 128));
    // The custom strip's checked cell: its frame colour and its mark.
    EXPECT_EQ(at("SkCheckCustom", 6, 2), MakeRgb(90, 40, 140));
    EXPECT_EQ(at("SkCheckCustom", 6, 2 + 6), MakeRgb(90, 40, 140));
    EXPECT_EQ(at("SkCheckCustom", 2, 2 + 2), MakeRgb(250, 240, 255));
    // A transparent radio button shows the panel's colour outside its circle.
    EXPECT_EQ(at("SkRadioSecond", 0, 2), display.SystemColor(COLOR_INFOBK));
    // The bitmap button shows its Up bitmap's blue middle; its corners stay the face.
    const Rgb32 middle = at("SkBmpInstall", 130 / 2 - 20, 18);
    const bool blue = BlueOf(middle) > 100 && RedOf(middle) < 100;
    EXPECT_TRUE(blue) << std::hex << middle;
    // The toggle that is down shows its StayDown bitmap.
    EXPECT_EQ(at("SkBmpToggleTwo", 5, 5), MakeRgb(200, 120, 30));
    EXPECT_EQ(at("SkBmpToggleOne", 5, 5), MakeRgb(70, 150, 70));
}

TEST_F(SkinnedWindowsTest, TheShapedFormsRegionIsThePicturesMask)
{
    ShowPage("skinned_shape.txt");
    HWND window = WindowOf(page);
    EXPECT_EQ(::GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION, 0);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window, region), ERROR);
    const auto& shape = Find<TSkFormShape>("SkFormShape1");
    const htmlview::PixelImage* mask = shape.Picture()->Graphic()->Pixels();
    ASSERT_NE(mask, nullptr);
    const Rgb32 key = PixelAt(*mask, 0, mask->height - 1);
    int mismatches = 0;
    for (int y = 0; y < mask->height; ++y)
        for (int x = 0; x < mask->width; ++x)
            if ((::PtInRegion(region, x, y) != 0) != (PixelAt(*mask, x, y) != key))
                ++mismatches;
    ::DeleteObject(region);
    EXPECT_EQ(mismatches, 0);
    const htmlview::PixelImage image = CaptureForm(page);
    const std::filesystem::path folder = std::filesystem::path(IMAGE_FIXTURE_DIR).parent_path();
    SavePngFile(image, (folder / "skinned_shape.png").string());

    // Showing again calls the handler again and keeps the outline.
    page.Hide();
    page.Show();
    app.ProcessMessages();
    HRGN again = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window, again), ERROR);
    EXPECT_TRUE(::PtInRegion(again, 48, 10));
    EXPECT_FALSE(::PtInRegion(again, 48, 45));
    ::DeleteObject(again);
}

}  // namespace
}  // namespace setup::ui::testing
