// The program's own balloon without a window: its layout at every edge, its fading, the taskbar
// arithmetic it relies on and the manager that keeps one balloon at a time.
#include <gtest/gtest.h>

#include "setup/ui/tests/tray_fakes.h"
#include "setup/ui/tray/balloon_layout.h"
#include "setup/ui/tray/balloon_manager.h"
#include "setup/ui/tray/taskbar.h"

namespace setup::ui::testing {
namespace {

using tray::BalloonLayout;
using tray::BalloonLayoutInput;
using tray::Point;
using tray::Rect;
using tray::StemDirection;
using tray::TaskbarEdge;

BalloonLayoutInput BalloonInput(Rect anchor, bool inTray, TaskbarEdge edge)
{
    BalloonLayoutInput input;
    input.anchor = anchor;
    input.workArea = {0, 0, 1024, 738};
    input.screen = {1024, 768};
    input.inTray = inTray;
    input.taskbarEdge = edge;
    input.hasIcon = true;
    input.title = {100, 13};
    input.textVisible = true;
    input.textHeightAt = [](int width) { return width >= 350 ? 26 : 39; };
    return input;
}

TEST(BalloonLayout, DirectionPositionAndStemByAnchor)
{
    // Width: text at 350 from x 10, plus 10 = 370; height with the stem below: 11 + 13 + 8 +
    // 26 + 31 = 89, with it above: 32 + 13 + 8 + 26 + 10 = 89.
    struct Case
    {
        const char* name;
        Rect anchor;
        bool inTray;
        TaskbarEdge edge;
        StemDirection direction;
        Rect window;
    };
    const Case cases[] = {
        {"tray, bottom taskbar", {940, 746, 956, 762}, true, TaskbarEdge::Bottom,
         StemDirection::AboveRight, {948 - 370 + 21, 754 - 1 - 89, 948 + 21, 754 - 1}},
        {"tray, right taskbar", {960, 700, 976, 716}, true, TaskbarEdge::Right,
         StemDirection::AboveRight, {968 - 370 + 21, 708 - 1 - 89, 968 + 21, 708 - 1}},
        {"tray, pushed back onto the screen", {1000, 700, 1016, 716}, true, TaskbarEdge::Right,
         StemDirection::AboveRight, {1024 - 370, 708 - 1 - 89, 1024, 708 - 1}},
        {"tray, top taskbar", {940, 6, 956, 22}, true, TaskbarEdge::Top,
         StemDirection::BelowRight, {948 - 370 + 21, 22 - 12, 948 + 21, 22 - 12 + 89}},
        {"tray, left taskbar", {6, 700, 22, 716}, true, TaskbarEdge::Left,
         StemDirection::AboveLeft, {14 - 21, 708 - 2 - 89, 14 - 21 + 370, 708 - 2}},
        {"lower left of the screen", {100, 600, 200, 620}, false, TaskbarEdge::Bottom,
         StemDirection::AboveLeft, {177, 600 - 89 + 3, 177 + 370, 600 + 3}},
        {"lower right", {800, 600, 900, 620}, false, TaskbarEdge::Bottom,
         StemDirection::AboveRight, {800 - 370 + 23, 600 - 89 + 4, 823, 604}},
        {"upper left", {100, 100, 200, 120}, false, TaskbarEdge::Bottom,
         StemDirection::BelowLeft, {177, 114, 177 + 370, 114 + 89}},
        {"upper right", {800, 100, 900, 120}, false, TaskbarEdge::Bottom,
         StemDirection::BelowRight, {453, 113, 823, 113 + 89}},
    };
    for (const Case& c : cases) {
        const BalloonLayout layout = tray::ComputeBalloonLayout(BalloonInput(c.anchor, c.inTray, c.edge));
        EXPECT_EQ(layout.direction, c.direction) << c.name;
        Rect expected = c.window;
        // Never off the left or top of the screen.
        if (expected.left < 0) {
            expected.right -= expected.left;
            expected.left = 0;
        }
        EXPECT_EQ(layout.window, expected) << c.name;
        ASSERT_TRUE(layout.stem) << c.name;
    }
}

TEST(BalloonLayout, WithoutAnAnchorItSitsInTheWorkAreasCornerWithoutStem)
{
    const BalloonLayout layout = tray::ComputeBalloonLayout(BalloonInput({}, true, TaskbarEdge::Bottom));
    EXPECT_EQ(layout.direction, StemDirection::None);
    EXPECT_FALSE(layout.stem);
    // 11 + 13 + 8 + 26 + 10 = 68 high.
    EXPECT_EQ(layout.window, (Rect{1024 - 370, 738 - 68, 1024, 738}));
    EXPECT_EQ(layout.body, (Rect{0, 0, 370, 68}));
    EXPECT_EQ(layout.title, (Point{34, 11}));
    EXPECT_EQ(layout.icon, (Point{10, 10}));
    EXPECT_EQ(layout.closeButton, (Point{370 - 16 - 6, 6}));
}

TEST(BalloonLayout, PartsAndOutlineFollowTheStem)
{
    const BalloonLayout below =
        tray::ComputeBalloonLayout(BalloonInput({100, 100, 200, 120}, false, TaskbarEdge::Bottom));
    EXPECT_EQ(below.title, (Point{34, 32}));
    EXPECT_EQ(below.icon, (Point{10, 31}));
    EXPECT_EQ(below.closeButton.y, 27);
    EXPECT_EQ(below.text, (Rect{10, 53, 360, 79}));
    EXPECT_EQ(below.body, (Rect{0, 23, 370, 89}));
    EXPECT_EQ(*below.stem, (std::array<Point, 3>{Point{20, 2}, Point{20, 23}, Point{40, 23}}));

    const BalloonLayout above =
        tray::ComputeBalloonLayout(BalloonInput({800, 600, 900, 620}, false, TaskbarEdge::Bottom));
    EXPECT_EQ(above.body, (Rect{0, 0, 370, 70}));
    EXPECT_EQ(*above.stem,
              (std::array<Point, 3>{Point{330, 68}, Point{350, 89}, Point{350, 68}}));
}

TEST(BalloonLayout, WidthFollowsTitleTextAndClient)
{
    BalloonLayoutInput input = BalloonInput({}, true, TaskbarEdge::Bottom);
    input.title = {400, 13};  // title right 434: the text wraps at 424
    int measuredAt = 0;
    input.textHeightAt = [&measuredAt](int width) {
        measuredAt = width;
        return 13;
    };
    BalloonLayout layout = tray::ComputeBalloonLayout(input);
    EXPECT_EQ(measuredAt, 424);
    EXPECT_EQ(layout.window.Width(), 434 + 5 + 16 + 6);  // room for the close button

    // No text and no icon: the title starts at 10 and the balloon keeps the close button's room.
    input.hasIcon = false;
    input.textVisible = false;
    input.title = {50, 13};
    layout = tray::ComputeBalloonLayout(input);
    EXPECT_EQ(layout.title.x, 10);
    EXPECT_EQ(layout.window.Width(), 60 + 5 + 16 + 6);
    EXPECT_EQ(layout.window.Height(), 11 + 13 + 8 + 10);

    input.client = tray::Size{500, 40};
    layout = tray::ComputeBalloonLayout(input);
    EXPECT_EQ(layout.window.Width(), 520);
    EXPECT_EQ(layout.client, (Rect{10, 32, 510, 72}));
}

TEST(BalloonFading, StepsAndBlendPlans)
{
    EXPECT_EQ(tray::FadeInSteps(35, true), (std::vector<int>{10, 20, 30, 35}));
    EXPECT_EQ(tray::FadeInSteps(35, false), (std::vector<int>{13, 26, 35}));
    EXPECT_EQ(tray::FadeOutSteps(35, false), (std::vector<int>{22, 9, 0}));
    EXPECT_EQ(tray::FadeInSteps(255, true).size(), 26u);
    EXPECT_EQ(tray::FadeInSteps(255, true).back(), 255);
    EXPECT_TRUE(tray::FadeInSteps(0, true).empty());

    struct Case
    {
        int alpha;
        bool fade;
        int major;
        bool layered;
        bool fadeIn;
        int initial;
    };
    const Case cases[] = {
        {255, true, 6, true, true, 0},      {255, false, 6, false, false, 255},
        {200, false, 6, true, false, 200},  {0, true, 6, false, false, 0},
        {255, true, 4, false, false, 255},
    };
    for (const Case& c : cases) {
        const tray::BlendPlan plan = tray::PlanBlend(c.alpha, c.fade, c.major);
        EXPECT_EQ(plan.layered, c.layered) << c.alpha << c.fade << c.major;
        EXPECT_EQ(plan.fadeIn, c.fadeIn) << c.alpha << c.fade << c.major;
        EXPECT_EQ(plan.initialAlpha, c.initial) << c.alpha << c.fade << c.major;
    }
}

TEST(Taskbar, WorkAreaIsCutAtTheTaskbarUnlessItStaysOnTop)
{
    struct Case
    {
        TaskbarEdge edge;
        Rect bar;
        std::uint32_t state;
        Rect area;
    };
    const Case cases[] = {
        {TaskbarEdge::Bottom, {0, 738, 1024, 768}, tray::kAbsAlwaysOnTop, {0, 0, 1024, 760}},
        {TaskbarEdge::Bottom, {0, 766, 1024, 768}, tray::kAbsAutoHide, {0, 0, 1024, 766}},
        {TaskbarEdge::Top, {0, 0, 1024, 30}, 0, {0, 30, 1024, 760}},
        {TaskbarEdge::Left, {0, 0, 60, 768}, 0, {60, 0, 1024, 760}},
        {TaskbarEdge::Right, {964, 0, 1024, 768}, tray::kAbsAlwaysOnTop | tray::kAbsAutoHide,
         {0, 0, 964, 760}},
    };
    for (const Case& c : cases) {
        FakeTaskbar taskbar;
        taskbar.workArea = {0, 0, 1024, 760};
        taskbar.edge = c.edge;
        taskbar.taskbar = c.bar;
        taskbar.state = c.state;
        EXPECT_EQ(tray::GetDesktopWorkArea(taskbar), c.area) << static_cast<int>(c.edge);
    }
}

TEST(Taskbar, IconRectangleFromTheToolbarOrAnEstimate)
{
    struct Case
    {
        const char* name;
        tray::TrayIconLookup::Outcome outcome;
        bool exactOnly;
        bool nt;
        int major;
        int minor;
        bool found;
        Rect rect;
    };
    const Rect exact{950, 745, 966, 761};
    const Rect estimate{901, 746, 918, 762};
    const Case cases[] = {
        {"found", tray::TrayIconLookup::Found, true, true, 6, 1, true, exact},
        {"hidden, exact only", tray::TrayIconLookup::Hidden, true, true, 6, 1, false, {}},
        {"hidden, estimate", tray::TrayIconLookup::Hidden, false, true, 5, 1, false, estimate},
        {"not found before XP", tray::TrayIconLookup::NotFound, false, true, 5, 0, false, {}},
        {"not NT", tray::TrayIconLookup::Found, false, false, 4, 90, false, {}},
    };
    for (const Case& c : cases) {
        FakeTaskbar taskbar;
        taskbar.lookup = {c.outcome, exact};
        taskbar.version = {c.nt, c.major, c.minor};
        Rect rect{1, 2, 3, 4};
        EXPECT_EQ(tray::GetTrayIconRect(taskbar, 1, 2, rect, c.exactOnly), c.found) << c.name;
        EXPECT_EQ(rect, c.rect) << c.name;
    }
    FakeTaskbar noArea;
    noArea.notificationArea.reset();
    Rect rect{1, 2, 3, 4};
    EXPECT_FALSE(tray::GetTrayIconRect(noArea, 1, 2, rect, false));
    EXPECT_EQ(rect, Rect{});
    // A side taskbar: 16 x 16, centred, two pixels below the notification window's top.
    EXPECT_EQ(tray::EstimateTrayIconRect({964, 600, 1024, 700}, TaskbarEdge::Right),
              (Rect{986, 602, 1002, 618}));
}

TEST(Taskbar, HiddenTaskbarIsRevealedWithinTwoSeconds)
{
    FakeTaskbar taskbar;
    taskbar.state = tray::kAbsAutoHide;
    taskbar.autoHideBar = Rect{0, 766, 1024, 796};  // slid down, never comes back
    taskbar.cursor = {300, 100};
    tray::ShowTaskbar(taskbar);
    EXPECT_EQ(taskbar.cursor, (Point{300, 766}));
    EXPECT_GE(taskbar.ticks, tray::kShowTaskbarLimitMs);
    EXPECT_LE(taskbar.ticks, tray::kShowTaskbarLimitMs + 10);

    taskbar.autoHideBar = taskbar.taskbar;  // in sight
    taskbar.ticks = 0;
    tray::ShowTaskbar(taskbar);
    EXPECT_EQ(taskbar.ticks, 0u);
}

TEST(Taskbar, NotificationAreaByClassAndVersions)
{
    FakeTaskbar taskbar;
    taskbar.classChain = {"ToolbarWindow32", "SysPager", "TrayNotifyWnd", "Shell_TrayWnd"};
    EXPECT_TRUE(tray::IsPointInNotificationArea(taskbar, {}));
    taskbar.classChain = {"traynotifywnd"};
    EXPECT_TRUE(tray::IsPointInNotificationArea(taskbar, {}));
    taskbar.classChain = {"Shell_TrayWnd"};
    EXPECT_FALSE(tray::IsPointInNotificationArea(taskbar, {}));

    EXPECT_TRUE(tray::IsWinXP({true, 5, 1}, false));
    EXPECT_FALSE(tray::IsWinXP({true, 5, 2}, false));
    EXPECT_TRUE(tray::IsWinXP({true, 6, 0}, true));
    EXPECT_FALSE(tray::IsWinXP({true, 5, 0}, true));
    EXPECT_FALSE(tray::IsWinXP({false, 5, 1}, true));
}

TEST(Taskbar, ButtonRecordsByExplorersBitness)
{
    for (const bool explorer64 : {false, true}) {
        const tray::TrayButtonLayout layout = tray::TrayButtonLayoutFor(explorer64);
        std::vector<std::uint8_t> button(layout.buttonBytes, 0);
        button[layout.stateOffset] = tray::kTbStateHidden;
        for (std::size_t i = 0; i < layout.pointerBytes; ++i)
            button[layout.dataOffset + i] = static_cast<std::uint8_t>(0x11 * (i + 1));
        const auto parsed = tray::ParseTrayButton(button, layout);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->state, tray::kTbStateHidden);
        EXPECT_EQ(parsed->dataAddress, explorer64 ? 0x8877665544332211u : 0x44332211u);
        button.pop_back();
        EXPECT_FALSE(tray::ParseTrayButton(button, layout));

        std::vector<std::uint8_t> owner(layout.dataBytes, 0);
        owner[0] = 0x34;
        owner[1] = 0x12;
        owner[layout.pointerBytes] = 7;
        const auto read = tray::ParseTrayButtonOwner(owner, layout);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->window, 0x1234u);
        EXPECT_EQ(read->id, 7u);
        owner.pop_back();
        EXPECT_FALSE(tray::ParseTrayButtonOwner(owner, layout));
    }
}

class BalloonEventLog final : public tray::IBalloonEvents
{
public:
    void BalloonShown() override { events.push_back("show"); }
    void BalloonHidden() override { events.push_back("hide"); }
    void BalloonTimedOut() override { events.push_back("timeout"); }
    void BalloonClicked() override { events.push_back("click"); }
    std::vector<std::string> events;
};

TEST(BalloonManager, OneBalloonAtATimeAndTheOrderOfItsEnd)
{
    FakeTaskbar taskbar;
    FakeBalloonWindows windows;
    tray::BalloonManager manager(windows, taskbar);
    BalloonEventLog events;
    tray::BalloonRequest request;
    request.title = "  Setup & more ";
    request.text = "Done";
    request.flags = tray::niifInfo;
    request.anchor.kind = tray::BalloonAnchor::TrayIcon;
    request.events = &events;
    taskbar.classChain = {"TrayNotifyWnd"};

    EXPECT_TRUE(manager.ShowBalloonAt(request));
    EXPECT_FALSE(manager.ShowBalloonAt(request));  // ignored while one shows
    ASSERT_EQ(windows.opened.size(), 1u);
    EXPECT_EQ(windows.opened[0].request.title, "Setup & more");
    EXPECT_TRUE(windows.opened[0].inTray);
    EXPECT_EQ(windows.opened[0].layout.direction, StemDirection::AboveRight);

    struct Case
    {
        tray::BalloonEnd end;
        std::vector<std::string> events;
        const char* close;
    };
    const Case cases[] = {
        {tray::BalloonEnd::UserClick, {"show", "hide", "click"}, "close fade"},
        {tray::BalloonEnd::Timeout, {"show", "timeout", "hide"}, "close fade"},
        {tray::BalloonEnd::CloseButton, {"show", "hide"}, "close fade"},
        {tray::BalloonEnd::Dismissed, {"show", "hide"}, "close at once"},
    };
    bool first = true;
    for (const Case& c : cases) {
        if (!first) {
            events.events.clear();
            EXPECT_TRUE(manager.ShowBalloonAt(request));
        }
        first = false;
        windows.log.clear();
        manager.BalloonEnded(c.end);
        EXPECT_EQ(events.events, c.events) << static_cast<int>(c.end);
        EXPECT_EQ(windows.log.front(), c.close);
        EXPECT_FALSE(manager.HasBalloon());
    }

    // A balloon at a control's rectangle hears nothing back.
    events.events.clear();
    taskbar.classChain.clear();
    request.anchor = {tray::BalloonAnchor::Area, 0, 0, Rect{100, 100, 200, 120}};
    EXPECT_TRUE(manager.ShowBalloonAt(request));
    EXPECT_FALSE(windows.opened.back().inTray);
    manager.CloseBalloon(true);
    EXPECT_TRUE(events.events.empty());
    EXPECT_EQ(windows.log.back(), "flush");
}

}  // namespace
}  // namespace setup::ui::testing
