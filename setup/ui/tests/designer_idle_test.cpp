// What design mode does between messages, with no display: the grid tile and its painting, the
// timed component hint, the handles an application hides, the designing state of the controls,
// and a form that is not the active one passing its messages on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/ui/application.h"
#include "setup/ui/designer/design_grid.h"
#include "setup/ui/designer/grab_handles.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/tests/recording_fakes.h"

namespace setup::ui::testing {
namespace {

namespace msg = design_msg;

TEST(DesignerGrid, ColoursFallBackToTheFormsOwn)
{
    TForm form;
    form.SetColor(clWhite);
    form.Font()->SetColor(TColor(0x0000FF));
    struct Case
    {
        TColor designer;
        TColor grid;
        const TCustomForm* form;
        TColor background;
        TColor dots;
    };
    for (const Case& c : std::vector<Case>{
             {clNone, clNone, &form, clWhite, TColor(0x0000FF)},
             {clNavy, TColor(0x00FFFF), &form, clNavy, TColor(0x00FFFF)},
             {clNone, clNone, nullptr, clBtnFace, clBlack},
             {clNavy, clNone, nullptr, clNavy, clBlack},
         }) {
        const GridColors colors = ResolveGridColors(c.designer, c.grid, c.form);
        EXPECT_EQ(colors.background, c.background);
        EXPECT_EQ(colors.dots, c.dots);
    }
}

TEST(DesignerGrid, TheTileIsWholeStepsWithADotAtEachStep)
{
    EXPECT_EQ(GridTileSize(1000, 8), (TPoint{1000, 64}));
    EXPECT_EQ(GridTileSize(1000, 48), (TPoint{960, 48}));
    EXPECT_EQ(GridTileSize(1000, 128), (TPoint{896, 128}));
    const htmlview::Rgb back{200, 200, 200};
    const htmlview::Rgb dot{0, 0, 0};
    const htmlview::PixelImage tile = MakeGridTile(100, 16, back, dot);
    ASSERT_EQ(tile.width, 96);
    ASSERT_EQ(tile.height, 64);
    EXPECT_EQ(tile.ColorAt(0, 0), dot);
    EXPECT_EQ(tile.ColorAt(80, 48), dot);
    EXPECT_EQ(tile.ColorAt(16, 1), back);
    EXPECT_EQ(tile.ColorAt(95, 63), back);
    // Copies cover the client area, the last row and column partly outside.
    const std::vector<TPoint> origins = GridTileOrigins({96, 64}, TRect{0, 0, 200, 100});
    EXPECT_EQ(origins.size(), 6u);
    EXPECT_EQ(origins.back(), (TPoint{192, 64}));
}

class HintRecorder final : public IDesignSurface
{
public:
    void ShowHint(const std::string& text, HintKind) override { events.push_back("show " + text); }
    void HideHint() override { events.push_back("hide"); }
    std::vector<std::string> events;
};

struct ApplicationForm
{
    ApplicationForm()
    {
        app.AddForm(form);
        form.SetName("Main");
        form.SetClientWidth(300);
        form.SetClientHeight(200);
        designer->SetName("Designer");
        designer->surface = &surface;
        button->SetName("Button1");
        button->SetParent(&form);
        button->SetBounds(20, 30, 80, 25);
        edit->SetName("Edit1");
        edit->SetParent(&form);
        edit->SetBounds(150, 30, 100, 21);
    }
    ~ApplicationForm() { app.RemoveForm(form); }
    DesignMessage Send(std::uint32_t code, TWinControl* window, TPoint pos, TShiftState shift = {})
    {
        DesignMessage message;
        message.code = code;
        message.window = window;
        message.pos = pos;
        message.shift = shift;
        designer->HandleMessage(message);
        return message;
    }
    // The hint texts and hides since the last look.
    std::vector<std::string> Events()
    {
        std::vector<std::string> events;
        for (const std::string& e : surface.events)
            if (events.empty() || e != "hide" || events.back() != "hide")
                events.push_back(e);
        surface.events.clear();
        return events;
    }

    ScriptedLoop loop;
    ManualTimers timers;
    TApplication app{loop, nullptr, &timers};
    HintRecorder surface;
    TForm form;
    TFormDesigner* designer = new TFormDesigner(&form);
    TButton* button = new TButton(&form);
    TEdit* edit = new TEdit(&form);
};

TEST(DesignerIdle, TheComponentHintWaitsForThePauseThenHides)
{
    ApplicationForm f;
    f.designer->showComponentHint = true;
    f.designer->SetActive(true);
    f.Events();

    f.Send(msg::kMouseMove, f.button, {30, 40});
    ASSERT_EQ(f.timers.running.size(), 1u);
    EXPECT_EQ(f.timers.running.begin()->second.first, 500u);
    EXPECT_TRUE(f.Events().empty());
    f.timers.TickAll();
    EXPECT_EQ(f.Events(), std::vector<std::string>{"show Button1: TButton"});
    ASSERT_EQ(f.timers.running.size(), 1u);
    EXPECT_EQ(f.timers.running.begin()->second.first, 2500u);

    // While hints show, the next control's comes at once.
    f.Send(msg::kMouseMove, f.edit, {160, 40});
    EXPECT_EQ(f.Events(), std::vector<std::string>{"show Edit1: TEdit"});
    f.timers.TickAll();
    EXPECT_EQ(f.Events(), std::vector<std::string>{"hide"});
    EXPECT_TRUE(f.timers.running.empty());

    // Over the form itself no hint, and the timer stops.
    f.Send(msg::kMouseMove, f.button, {30, 40});
    f.Send(msg::kMouseMove, &f.form, {5, 5});
    EXPECT_TRUE(f.timers.running.empty());
    f.designer->SetActive(false);
}

TEST(DesignerIdle, ApplicationsChooseTheHandlesThatShowAndTakeTheMouse)
{
    ApplicationForm f;
    f.designer->onCustomizeGrabs = [](TGrabPositions& visible, TGrabPositions& enabled) {
        visible.Exclude(gpLeftTop);
        enabled.Exclude(gpRightBottom);
    };
    f.designer->SetActive(true);
    f.designer->Select(f.button);
    TGrabHandles* handles = f.designer->GrabHandles();
    EXPECT_FALSE(handles->Handle(gpLeftTop)->Visible());
    EXPECT_TRUE(handles->Handle(gpRightBottom)->Visible());
    EXPECT_FALSE(handles->Handle(gpRightBottom)->Enabled());
    EXPECT_TRUE(handles->Handle(gpMiddleTop)->Enabled());
}

TEST(DesignerIdle, ControlsTakeTheDesigningStateButProtectedOnesStayLive)
{
    ApplicationForm f;
    f.designer->ProtectedControls()->Add("Edit1");
    bool idleBefore = false;
    f.app.OnIdle = [&](bool&) { idleBefore = true; };
    f.designer->SetActive(true);
    EXPECT_TRUE(f.button->HasState(forms::csDesigning));
    EXPECT_FALSE(f.edit->HasState(forms::csDesigning));

    // A control that lost the state gets it back when the queue runs empty; the application's
    // own idle handler still runs.
    f.button->SetDesigning(false);
    bool done = true;
    f.app.OnIdle(done);
    EXPECT_TRUE(f.button->HasState(forms::csDesigning));
    EXPECT_TRUE(idleBefore);

    f.designer->SetActive(false);
    EXPECT_FALSE(f.button->HasState(forms::csDesigning));
    // Its windows are not hidden: the page works again.
    EXPECT_TRUE(f.button->Visible());
    idleBefore = false;
    f.app.OnIdle(done);
    EXPECT_TRUE(idleBefore);
}

TEST(DesignerIdle, TheGridIsPaintedOnlyInDesignModeWithTheGridShown)
{
    ApplicationForm f;
    RecordingDevice device;
    TCanvas canvas(&device);
    f.designer->displayGrid = true;
    f.form.Paint(canvas);
    EXPECT_TRUE(device.calls.empty());
    f.designer->SetActive(true);
    f.form.Paint(canvas);
    // The screen is 1024 wide: one tile of 1024 by 64 per band of the 200-pixel client area.
    ASSERT_EQ(device.calls.size(), 4u);
    EXPECT_EQ(device.calls[3], "image " + RectText(TRect::Bounds(0, 192, 1024, 64)) + " 1024x64");
    device.calls.clear();
    f.designer->displayGrid = false;
    f.form.Paint(canvas);
    EXPECT_TRUE(device.calls.empty());
    f.designer->displayGrid = true;
    f.designer->SetActive(false);
    f.form.Paint(canvas);
    EXPECT_TRUE(device.calls.empty());
}

TEST(DesignerIdle, AFormThatIsNotActiveLetsItsMessagesThrough)
{
    ApplicationForm f;
    TForm other;
    f.app.AddForm(other);
    f.designer->SetActive(true);
    f.app.Screen().SetActiveForm(&other);
    DesignMessage press = f.Send(msg::kLButtonDown, f.button, {25, 35}, TShiftState{1u << ssLeft});
    EXPECT_NE(press.code, msg::kNull);
    EXPECT_EQ(f.designer->ControlCount(), 0u);
    f.app.Screen().SetActiveForm(&f.form);
    press = f.Send(msg::kLButtonDown, f.button, {25, 35}, TShiftState{1u << ssLeft});
    EXPECT_EQ(press.code, msg::kNull);
    EXPECT_EQ(f.designer->Control(), f.button);
    f.Send(msg::kLButtonUp, f.button, {25, 35});
    f.designer->SetActive(false);
    f.app.RemoveForm(other);
}

}  // namespace
}  // namespace setup::ui::testing
