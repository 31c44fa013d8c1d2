// Under Xvfb: the page fixture made of real windows, their state matching the controls' fields,
// messages driving the events, timers, modal show and a picture of the page.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "setup/ui/capture_win32.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/containers.h"
#include "setup/ui/file_lister_win32.h"
#include "setup/ui/gdi_canvas_win32.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/tests/page_windows_fixture_win32.h"
#include "setup/ui/timer.h"
#include "setup/ui/window_peer_win32.h"

namespace setup::ui::testing {
namespace {

class WindowsTest : public PageWindowsTest
{
protected:
    WindowsTest() { app.fileLister = &files; }

    void ShowPage() { ShowPageText(EveryControlText(UI_TEST_DATA)); }
    // The window's rectangle in its parent's client coordinates.
    static TRect PlaceOf(HWND window)
    {
        RECT r;
        ::GetWindowRect(window, &r);
        ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right, r.bottom};
    }
    static std::string TextOf(HWND window)
    {
        char text[256] = {};
        ::GetWindowTextA(window, text, sizeof(text));
        return text;
    }
    void Click(HWND window, int x, int y)
    {
        ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        app.ProcessMessages();
    }
};

TEST_F(WindowsTest, EveryWindowShowsTheStateOfItsControl)
{
    ShowPage();
    HWND form = WindowOf(page);
    ASSERT_TRUE(::IsWindowVisible(form));
    EXPECT_EQ(TextOf(form), "Every page control");
    RECT client;
    ::GetClientRect(form, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 420);

    // Bounds, visibility and enabling of every windowed control.
    for (std::size_t i = 0; i < page.ComponentCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(page.Component(i));
        if (!control)
            continue;
        HWND window = WindowOf(*control);
        ASSERT_NE(window, nullptr) << control->Name();
        EXPECT_EQ(ControlOfWindow(window), control);
        const TRect place = PlaceOf(window);
        EXPECT_EQ(place.left, control->Left()) << control->Name();
        EXPECT_EQ(place.top, control->Top()) << control->Name();
        // The up-down control sizes its arrows itself.
        if (!dynamic_cast<TUpDown*>(control)) {
            EXPECT_EQ(place.Width(), control->Width()) << control->Name();
        }
        if (!dynamic_cast<TCustomComboBox*>(control)) {
            EXPECT_EQ(place.Height(), control->Height()) << control->Name();
        }
        EXPECT_EQ(::IsWindowVisible(window) != 0, control->Visible()) << control->Name();
        EXPECT_EQ(::IsWindowEnabled(window) != 0, control->Enabled()) << control->Name();
    }

    EXPECT_EQ(TextOf(Window("Edit1")), "C:\\Program Files\\App");
    EXPECT_EQ(TextOf(Window("Button1")), "&Next >");
    EXPECT_EQ(TextOf(Window("Edit2")), "1,200");
    EXPECT_EQ(::SendMessageA(Window("Edit1"), EM_GETLIMITTEXT, 0, 0), 40);
    EXPECT_EQ(::SendMessageA(Window("SkCheckBox1"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageA(Window("SkRadioButton1"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(::SendMessageA(Window("SkRadioButton2"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageA(Window("ListBox1"), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(::SendMessageA(Window("ListBox1"), LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(::SendMessageA(Window("ComboBox1"), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(::SendMessageA(Window("TrackBar1"), TBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(::SendMessageA(Window("TrackBar1"), TBM_GETRANGEMAX, 0, 0), 20);
    EXPECT_EQ(::SendMessageA(Window("ProgressBar1"), PBM_GETPOS, 0, 0), 60);
    EXPECT_TRUE(::GetWindowLongPtrA(Window("ProgressBar2"), GWL_STYLE) & PBS_MARQUEE);
    EXPECT_EQ(::SendMessageA(Window("UpDown1"), UDM_GETPOS32, 0, 0), 1200);
    EXPECT_EQ(::SendMessageA(Window("PageControl1"), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(::SendMessageA(Window("PageControl1"), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(::IsWindowVisible(Window("TabSheet1")));
    EXPECT_TRUE(::IsWindowVisible(Window("TabSheet2")));
    EXPECT_TRUE(::GetWindowLongPtrA(Window("Memo1"), GWL_STYLE) & ES_READONLY);
    EXPECT_GT(::SendMessageA(Window("DriveComboBox1"), CB_GETCOUNT, 0, 0), 0);

    // A change of a field after the window exists reaches the window.
    Find<TEdit>("Edit1").SetEnabled(false);
    Find<TListBox>("ListBox1").Items()->Add("Delta");
    Find<TButton>("Button1").SetCaption("Go");
    Find<TProgressBar>("ProgressBar1").SetPosition(80);
    Find<TPageControl>("PageControl1").SetActivePageIndex(0);
    EXPECT_FALSE(::IsWindowEnabled(Window("Edit1")));
    EXPECT_EQ(::SendMessageA(Window("ListBox1"), LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(TextOf(Window("Button1")), "Go");
    EXPECT_EQ(::SendMessageA(Window("ProgressBar1"), PBM_GETPOS, 0, 0), 80);
    EXPECT_TRUE(::IsWindowVisible(Window("TabSheet1")));
    EXPECT_EQ(::SendMessageA(Window("PageControl1"), TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(WindowsTest, MessagesDriveTheEvents)
{
    ShowPage();
    ::SendMessageA(Window("Button1"), BM_CLICK, 0, 0);
    EXPECT_EQ(page.ModalResult(), mrYes);
    ::SetWindowTextA(Window("Edit1"), "D:\\Target");
    EXPECT_EQ(Find<TEdit>("Edit1").Text(), "D:\\Target");
    Click(Window("SkCheckBox1"), 4, 4);
    EXPECT_FALSE(Find<skin::TSkCheckBox>("SkCheckBox1").Checked());
    EXPECT_EQ(::SendMessageA(Window("SkCheckBox1"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    const int itemHeight =
        static_cast<int>(::SendMessageA(Window("ListBox1"), LB_GETITEMHEIGHT, 0, 0));
    Click(Window("ListBox1"), 20, itemHeight * 2 + itemHeight / 2);
    EXPECT_EQ(Find<TListBox>("ListBox1").ItemIndex(), 2);
    // A click on an item's box checks it.
    Click(Window("CheckListBox1"), 3, itemHeight / 2);
    EXPECT_TRUE(Find<TCheckListBox>("CheckListBox1").Checked(0));

    ::SendMessageA(Window("TrackBar1"), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Find<TTrackBar>("TrackBar1").Position(), 8);

    auto& tree = Find<TTreeView>("TreeView1");
    tree.Items()->AddChild(nullptr, "Program");
    TTreeNode* help = tree.Items()->AddChild(nullptr, "Help");
    HTREEITEM second = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(Window("TreeView1"), TVM_GETNEXTITEM, TVGN_NEXT,
                       ::SendMessageA(Window("TreeView1"), TVM_GETNEXTITEM, TVGN_ROOT, 0)));
    ::SendMessageA(Window("TreeView1"), TVM_SELECTITEM, TVGN_CARET,
                   reinterpret_cast<LPARAM>(second));
    EXPECT_EQ(tree.Selected(), help);

    RECT tab;
    ::SendMessageA(Window("PageControl1"), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    Click(Window("PageControl1"), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    EXPECT_EQ(Find<TPageControl>("PageControl1").ActivePageIndex(), 0);

    ::SendMessageA(Window("MaskEdit1"), WM_KEYUP, 'A', 0);

    // Windowless controls take their clicks from the form's window.
    auto& image = Find<TImage>("Image1");
    Click(WindowOf(page), image.Left() + 5, image.Top() + 5);
    auto& shape = Find<TShape>("Shape1");
    Click(WindowOf(page), shape.Left() + 20, shape.Top() + 20);

    const std::vector<std::string> expected = {
        "Button1Click Button1",
        "Edit1Change Edit1",
        "CheckBox1Click SkCheckBox1",
        "ListBox1Click ListBox1",
        "CheckListBox1ClickCheck CheckListBox1",
        "TrackBar1Change TrackBar1",
        "TreeView1Change TreeView1",
        "MaskEdit1KeyUp MaskEdit1",
        "Image1Click Image1",
        "Shape1MouseUp Shape1",
    };
    std::vector<std::string> events;
    // The list box's click on the check list box selects an item too; keep what the test drove.
    for (const std::string& event : page.events)
        if (event != "ListBox1Click CheckListBox1")
            events.push_back(event);
    EXPECT_EQ(events, expected);
}

TEST_F(WindowsTest, ATimerFiresInTheMessageLoop)
{
    TForm form;
    app.AddForm(form);
    auto* timer = new TTimer(&form);
    int ticks = 0;
    static const forms::MethodInfo tick{
        "Tick", forms::HandlerOf<>([&ticks](forms::TObject&, forms::TObject*) { ++ticks; })};
    forms::TNotifyEvent event;
    static_cast<forms::TMethod&>(event) = {&tick, &form};
    timer->SetInterval(20);
    timer->SetOnTimer(event);
    const DWORD start = ::GetTickCount();
    while (ticks < 3 && ::GetTickCount() - start < 5000)
        app.HandleMessage();
    EXPECT_GE(ticks, 3);
    app.RemoveForm(form);
}

TEST_F(WindowsTest, ShowModalEndsWithTheResultOfTheButton)
{
    TForm form;
    app.AddForm(form);
    form.SetCaption("Modal");
    form.SetClientWidth(200);
    form.SetClientHeight(100);
    auto* ok = new TButton(&form);
    ok->SetParent(&form);
    ok->modalResult = mrOk;
    form.HandleNeeded();
    ::PostMessageA(WindowOf(*ok), BM_CLICK, 0, 0);
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_FALSE(::IsWindowVisible(WindowOf(form)));
    // The window's close box ends a modal form with Cancel.
    ::PostMessageA(WindowOf(form), WM_CLOSE, 0, 0);
    EXPECT_EQ(form.ShowModal(), mrCancel);
    app.RemoveForm(form);
}

TEST_F(WindowsTest, APictureOfThePageShowsEveryControl)
{
    ShowPage();
    const htmlview::PixelImage image = CaptureForm(page);
    const TPoint client = ClientOffsetInCapture(page);
    const std::filesystem::path folder = std::filesystem::path(IMAGE_FIXTURE_DIR).parent_path();
    SavePngFile(image, (folder / "every_control.png").string());

    const COLORREF face = ToColorRef(clBtnFace);
    const htmlview::Rgb background{GetRValue(face), GetGValue(face), GetBValue(face)};
    for (std::size_t i = 0; i < page.ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(page.Component(i));
        // Hidden sheets, and an animation whose clip Wine does not have, show nothing.
        if (!control || !control->Visible() || dynamic_cast<TAnimate*>(control))
            continue;
        if (auto* sheet = dynamic_cast<TTabSheet*>(control->Parent()); sheet && !sheet->Visible())
            continue;
        int x0 = client.x + control->Left();
        int y0 = client.y + control->Top();
        for (TWinControl* parent = control->Parent(); parent && parent != &page;
             parent = parent->Parent()) {
            x0 += parent->Left();
            y0 += parent->Top();
        }
        int differing = 0;
        for (int y = y0; y < y0 + control->Height() && y < image.height; ++y)
            for (int x = x0; x < x0 + control->Width() && x < image.width; ++x)
                if (!(image.ColorAt(x, y) == background))
                    ++differing;
        EXPECT_GT(differing, 0) << control->Name() << " draws nothing; see "
                                << (folder / "every_control.png").string();
    }
}

}  // namespace
}  // namespace setup::ui::testing
