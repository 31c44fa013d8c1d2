// The controls' logic with fakes for the windows: lazy window creation, changes reaching an
// existing window, events from the window, modal show, timers and painting.
#include <gtest/gtest.h>

#include "setup/engine/rtl/exceptions.h"
#include "setup/ui/application.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/containers.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/tests/graphic_files.h"
#include "setup/ui/tests/recording_fakes.h"
#include "setup/ui/tests/test_page.h"
#include "setup/ui/timer.h"

namespace setup::ui::testing {
namespace {

class ControlsTest : public ::testing::Test
{
protected:
    ControlsTest() : app(loop, &factory, &timers) { app.AddForm(form); }
    ~ControlsTest() override { app.RemoveForm(form); }

    template <class T>
    T* Make(const std::string& name, TWinControl* parent = nullptr)
    {
        auto* control = new T(&form);
        control->SetName(name);
        control->SetParent(parent ? parent : &form);
        return control;
    }

    RecordingPeerFactory factory;
    ScriptedLoop loop;
    ManualTimers timers;
    TApplication app;
    TTestPage form;
};

TEST_F(ControlsTest, MakesWindowsOnlyWhenNeededParentsFirst)
{
    auto* panel = Make<TPanel>("Panel1");
    auto* edit = Make<TEdit>("Edit1", panel);
    edit->SetText("typed before");
    Make<TLabel>("Label1", panel);
    EXPECT_TRUE(factory.created.empty());

    edit->HandleNeeded();
    // The edit's parents come first; the label has no window of its own.
    EXPECT_EQ(factory.CreatedNames(), (std::vector<std::string>{"", "Panel1", "Edit1"}));
    form.Show();
    EXPECT_EQ(factory.created.size(), 3u);

    // Changes reach the existing window.
    edit->SetText("after");
    edit->SetEnabled(false);
    edit->SetBounds(1, 2, 3, 4);
    EXPECT_EQ(factory.created[2]->updates,
              (std::vector<Aspect>{Aspect::Text, Aspect::Enabled, Aspect::Bounds}));
}

TEST_F(ControlsTest, ALoadedPageWithoutApplicationHasNoWindowToMake)
{
    TTestPage page;
    LoadPage(EveryControlText(UI_TEST_DATA), page);
    auto* edit = dynamic_cast<TEdit*>(page.FindComponent("Edit1"));
    EXPECT_THROW(edit->HandleNeeded(), rtl::Exception);
    EXPECT_FALSE(edit->HandleAllocated());
}

TEST_F(ControlsTest, RecreatingAWindowKeepsTheStateAndRemakesTheChildren)
{
    auto* panel = Make<TPanel>("Panel1");
    Make<TButton>("Button1", panel);
    form.Show();
    panel->RecreateWnd();
    EXPECT_EQ(factory.CreatedNames(),
              (std::vector<std::string>{"", "Panel1", "Button1", "Panel1", "Button1"}));
    EXPECT_FALSE(factory.created[1]->alive);
    EXPECT_FALSE(factory.created[2]->alive);
    EXPECT_TRUE(factory.created[3]->alive);
}

TEST_F(ControlsTest, EventsFromTheWindowReachTheHandlers)
{
    TTestPage page;
    app.AddForm(page);
    LoadPage(EveryControlText(UI_TEST_DATA), page);
    page.Show();
    auto find = [&](const char* name) { return page.FindComponent(name); };

    dynamic_cast<TEdit*>(find("Edit1"))->TextFromWindow("D:\\Other");
    dynamic_cast<TListBox*>(find("ListBox1"))->ItemIndexFromWindow(2);
    dynamic_cast<TCheckListBox*>(find("CheckListBox1"))->ToggleFromWindow(1);
    dynamic_cast<TComboBox*>(find("ComboBox1"))->ItemIndexFromWindow(2);
    auto* skinned = dynamic_cast<skin::TSkCheckBox*>(find("SkCheckBox1"));
    skinned->MouseFromWindow(true, mbLeft, {}, 2, 2);
    skinned->MouseFromWindow(false, mbLeft, {}, 2, 2);
    dynamic_cast<TTrackBar*>(find("TrackBar1"))->PositionFromWindow(9);
    auto* tree = dynamic_cast<TTreeView*>(find("TreeView1"));
    TTreeNode* node = tree->Items()->AddChild(nullptr, "Program");
    tree->SelectedFromWindow(node);
    dynamic_cast<TLabel*>(find("Label1"))->Click();
    dynamic_cast<TShape*>(find("Shape1"))->onMouseUp(find("Shape1"), mbLeft, {}, 1, 1);

    EXPECT_EQ(
        page.events,
        (std::vector<std::string>{
            "Edit1Change Edit1", "ListBox1Click ListBox1", "CheckListBox1ClickCheck CheckListBox1",
            "ComboBox1Change ComboBox1", "CheckBox1Click SkCheckBox1", "TrackBar1Change TrackBar1",
            "TreeView1Change TreeView1", "Label1Click Label1", "Shape1MouseUp Shape1"}));
    EXPECT_EQ(dynamic_cast<TEdit*>(find("Edit1"))->Text(), "D:\\Other");
    EXPECT_EQ(dynamic_cast<TListBox*>(find("ListBox1"))->ItemIndex(), 2);
    EXPECT_TRUE(dynamic_cast<TCheckListBox*>(find("CheckListBox1"))->Checked(1));
    EXPECT_EQ(dynamic_cast<TComboBox*>(find("ComboBox1"))->Text(), "Custom");
    EXPECT_FALSE(dynamic_cast<skin::TSkCheckBox*>(find("SkCheckBox1"))->Checked());
    app.RemoveForm(page);
}

TEST_F(ControlsTest, ShowModalRunsTheLoopUntilAButtonSetsTheResult)
{
    auto* next = Make<TButton>("Next");
    next->modalResult = mrYes;
    bool allowClose = false;
    form.onCloseQuery.method = nullptr;
    loop.steps = {[] {}, [&] { next->Click(); }, [&] { allowClose = true; },
                  [&] { next->Click(); }};
    // A handler that refuses the first close: CloseQuery's answer keeps the form open.
    static const forms::MethodInfo refuse{
        "Refuse",
        forms::HandlerOf<bool&>([&allowClose](forms::TObject&, forms::TObject*, bool& canClose) {
            canClose = allowClose;
        })};
    form.onCloseQuery = {};
    static_cast<forms::TMethod&>(form.onCloseQuery) = {&refuse, &form};

    EXPECT_EQ(form.ShowModal(), mrYes);
    EXPECT_EQ(loop.next, 4u);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(loop.disabled, (std::vector<bool>{true, false}));
}

TEST_F(ControlsTest, ATimerTicksOnlyWhileEnabledWithAHandler)
{
    auto* timer = new TTimer(&form);
    int ticks = 0;
    static const forms::MethodInfo tick{
        "Tick", forms::HandlerOf<>([&ticks](forms::TObject&, forms::TObject*) { ++ticks; })};
    EXPECT_TRUE(timers.running.empty());
    timer->SetInterval(250);
    forms::TNotifyEvent event;
    static_cast<forms::TMethod&>(event) = {&tick, &form};
    timer->SetOnTimer(event);
    ASSERT_EQ(timers.running.size(), 1u);
    EXPECT_EQ(timers.running.begin()->second.first, 250u);
    timers.TickAll();
    timers.TickAll();
    timer->SetEnabled(false);
    timers.TickAll();
    EXPECT_EQ(ticks, 2);
    EXPECT_TRUE(timers.running.empty());
    timer->SetEnabled(true);
    delete timer;
    EXPECT_TRUE(timers.running.empty());
}

TEST_F(ControlsTest, RangesListsAndGroupsStayConsistent)
{
    auto* bar = Make<TProgressBar>("Bar");
    bar->SetPosition(150);
    EXPECT_EQ(bar->Position(), 100);
    bar->SetMax(50);
    EXPECT_EQ(bar->Position(), 50);
    bar->step = 10;
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 0);

    auto* list = Make<TListBox>("List");
    list->Items()->SetItems({"b", "C", "a"});
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->Items(), (std::vector<std::string>{"a", "b", "C"}));
    list->SetItemIndex(5);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetItemIndex(2);
    list->Items()->Delete(2);
    EXPECT_EQ(list->ItemIndex(), -1);

    auto* one = Make<skin::TSkRadioButton>("One");
    auto* two = Make<skin::TSkRadioButton>("Two");
    one->SetChecked(true);
    two->SetChecked(true);
    EXPECT_FALSE(one->Checked());
    EXPECT_TRUE(two->Checked());

    auto* left = Make<TSpeedButton>("Left");
    auto* right = Make<TSpeedButton>("Right");
    left->SetGroupIndex(1);
    right->SetGroupIndex(1);
    left->Click();
    right->Click();
    EXPECT_FALSE(left->Down());
    EXPECT_TRUE(right->Down());

    auto* combo = Make<TComboBox>("Combo");
    combo->Items()->SetItems({"Typical", "Custom"});
    combo->SetStyle(csDropDownList);
    combo->SetText("custom");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Custom");
    combo->SetText("missing");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");

    auto* edit = Make<TEdit>("Count");
    auto* updown = Make<TUpDown>("Spin");
    updown->SetAssociate(edit);
    updown->SetMax(3);
    updown->wrap = true;
    updown->SetPosition(3);
    updown->StepFromWindow(+1);
    EXPECT_EQ(edit->Text(), "0");
    delete edit;
    EXPECT_EQ(updown->Associate(), nullptr);
}

TEST_F(ControlsTest, PageControlShowsOnlyTheActiveSheet)
{
    auto* pages = Make<TPageControl>("Pages");
    auto* first = Make<TTabSheet>("First", pages);
    auto* second = Make<TTabSheet>("Second", pages);
    auto* third = Make<TTabSheet>("Third", pages);
    second->SetTabVisible(false);
    pages->SetActivePage(first);
    // Tab indexes skip hidden tabs.
    pages->TabIndexFromWindow(1);
    EXPECT_EQ(pages->ActivePage(), third);
    EXPECT_FALSE(first->Visible());
    EXPECT_TRUE(third->Visible());
    third->SetPageIndex(0);
    EXPECT_EQ(pages->Pages().front(), third);
    EXPECT_EQ(third->Left(), pages->DisplayRect().left);
    delete third;
    EXPECT_EQ(pages->ActivePage(), nullptr);
}

TEST_F(ControlsTest, WindowlessControlsPaintWhatTheyHold)
{
    RecordingDevice device;
    TCanvas canvas(&device);
    auto* shape = Make<TShape>("Shape");
    shape->SetBounds(0, 0, 40, 20);
    shape->SetShape(stCircle);
    shape->Pen()->SetWidth(2);
    shape->Paint(canvas);
    auto* gauge = Make<TGauge>("Gauge");
    gauge->SetBounds(0, 0, 102, 10);
    gauge->SetProgress(25);
    gauge->Paint(canvas);
    auto* label = Make<TLabel>("Label");
    label->SetBounds(0, 0, 80, 33);
    label->SetCaption("Hi");
    label->layout = tlCenter;
    label->transparent = true;
    label->Paint(canvas);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"ellipse 11,1,30,20", "rectangle 0,0,102,10",
                                                      "fill 1,1,26,9", "text 1,1,101,9 '25%'",
                                                      "text 0,10,80,33 'Hi'"}));
}

TEST_F(ControlsTest, BitButtonsPlaceGlyphAndCaptionByLayout)
{
    auto* button = Make<TBitBtn>("Ok");
    TBitmap strip;
    strip.LoadFromBytes(BmpFile(32, 16));
    button->SetGlyph(&strip);
    button->numGlyphs = 2;
    struct Case
    {
        TButtonLayout layout;
        int margin;
        TPoint text;
        TRect glyph;
        TRect caption;
    };
    const Case cases[] = {
        {blGlyphLeft, -1, {30, 13}, {25, 12, 41, 28}, {45, 13, 75, 26}},
        {blGlyphRight, 2, {30, 13}, {82, 12, 98, 28}, {48, 13, 78, 26}},
        {blGlyphTop, -1, {30, 13}, {42, 3, 58, 19}, {35, 23, 65, 36}},
        {blGlyphBottom, 0, {30, 13}, {42, 24, 58, 40}, {35, 7, 65, 20}},
        // No caption: no gap, the glyph alone in the middle.
        {blGlyphLeft, -1, {0, 0}, {42, 12, 58, 28}, {58, 20, 58, 20}},
    };
    for (const Case& c : cases) {
        button->layout = c.layout;
        button->margin = c.margin;
        const TBitBtn::FaceLayout placed = button->LayoutFace({0, 0, 100, 40}, c.text);
        EXPECT_EQ(RectText(placed.glyph), RectText(c.glyph)) << c.layout;
        EXPECT_EQ(RectText(placed.text), RectText(c.caption)) << c.layout;
    }
}

}  // namespace
}  // namespace setup::ui::testing
