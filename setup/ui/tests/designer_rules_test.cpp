// The designer's decisions apart from any window: limits, grab squares, snapping, alignment,
// the name rules and the key table.
#include <gtest/gtest.h>

#include <vector>

#include "setup/ui/containers.h"
#include "setup/ui/designer/alignment.h"
#include "setup/ui/designer/design_geometry.h"
#include "setup/ui/designer/design_rules.h"
#include "setup/ui/designer/key_table.h"
#include "setup/ui/form.h"
#include "setup/ui/std_controls.h"

namespace setup::ui::testing {
namespace {

TEST(DesignerGeometry, GridStepAndGrabSizeStayWithinTheirLimits)
{
    EXPECT_EQ(ClampGridStep(1), 2);
    EXPECT_EQ(ClampGridStep(200), 128);
    EXPECT_EQ(ClampGridStep(8), 8);
    EXPECT_EQ(ClampGrabSize(1), 3);
    EXPECT_EQ(ClampGrabSize(50), 32);
    EXPECT_EQ(ClampGrabSize(5), 5);
}

TEST(DesignerGeometry, GrabSquaresSitOnTheCornersAndEdgesClippedToTheParent)
{
    const TRect bounds{10, 20, 110, 60};
    const TRect client{0, 0, 200, 200};
    EXPECT_EQ(GrabHandleRect(gpLeftTop, bounds, 5, client), TRect::Bounds(8, 18, 5, 5));
    EXPECT_EQ(GrabHandleRect(gpMiddleBottom, bounds, 5, client), TRect::Bounds(57, 57, 5, 5));
    EXPECT_EQ(GrabHandleRect(gpRightMiddle, bounds, 5, client), TRect::Bounds(107, 37, 5, 5));
    EXPECT_EQ(GrabHandleRect(gpRightBottom, bounds, 5, client), TRect::Bounds(107, 57, 5, 5));
    // At the parent's edge only the inner part remains.
    EXPECT_EQ(GrabHandleRect(gpLeftTop, TRect{0, 0, 50, 50}, 5, client), (TRect{0, 0, 3, 3}));
}

TEST(DesignerGeometry, MovesRoundToWholeStepsHalvesToEven)
{
    struct Case
    {
        int delta;
        int snapped;
    };
    for (const Case& c : std::vector<Case>{
             {12, 16}, {4, 0}, {20, 16}, {28, 32}, {-12, -16}, {-4, 0}, {3, 0}, {5, 8}}) {
        EXPECT_EQ(SnapMoveDelta(c.delta, 8), c.snapped) << c.delta;
    }
}

TEST(DesignerGeometry, SizingMovesTheGrabbedEdgesAndSnapsThemDown)
{
    const TRect bounds{10, 10, 30, 30};
    EXPECT_EQ(ApplyGrabDelta(bounds, gpRightBottom, 7, 3), (TRect{10, 10, 37, 33}));
    EXPECT_EQ(ApplyGrabDelta(bounds, gpLeftMiddle, -4, 9), (TRect{6, 10, 30, 30}));
    EXPECT_EQ(ApplyGrabDelta(bounds, gpMiddleTop, 9, -4), (TRect{10, 6, 30, 30}));
    EXPECT_EQ(ApplyGrabDelta(bounds, gpNone, 5, 6), (TRect{15, 16, 35, 36}));
    EXPECT_EQ(SnapSizedRect(TRect{10, 10, 37, 30}, gpRightBottom, 8), (TRect{10, 10, 33, 25}));
    EXPECT_EQ(SnapSizedRect(TRect{13, 13, 37, 37}, gpLeftTop, 8), (TRect{8, 8, 37, 37}));
}

TEST(DesignerGeometry, KeyMovesStayInsideTheLimitHalfAGrabShort)
{
    const TRect limit{0, 0, 200, 100};
    EXPECT_EQ(KeepInsideLimit(TRect{10, 80, 50, 99}, limit, 5), (TRect{10, 79, 50, 98}));
    EXPECT_EQ(KeepInsideLimit(TRect{-3, -1, 20, 20}, limit, 5), (TRect{0, 0, 23, 21}));
    EXPECT_EQ(KeepInsideLimit(TRect{190, 0, 210, 20}, limit, 5), (TRect{178, 0, 198, 20}));
    EXPECT_EQ(ClampRectSize(TRect{5, 5, 100, 8}, {10, 10}, {50, 50}), TRect::Bounds(5, 5, 50, 10));
}

std::vector<int> Lefts(const std::vector<TRect>& rects)
{
    std::vector<int> lefts;
    for (const TRect& rect : rects)
        lefts.push_back(rect.left);
    return lefts;
}

TEST(DesignerAlignment, EachCodeGivesItsPositions)
{
    const std::vector<TRect> start{TRect::Bounds(50, 0, 20, 10), TRect::Bounds(10, 0, 40, 10),
                                   TRect::Bounds(100, 0, 10, 10)};
    struct Case
    {
        AlignCode code;
        std::vector<int> lefts;
    };
    for (const Case& c : std::vector<Case>{
             {AlignCode::LeftsOrTops, {10, 10, 10}},
             {AlignCode::Centres, {50, 40, 55}},  // centre (10 + 110) / 2 = 60
             {AlignCode::RightsOrBottoms, {90, 70, 100}},
             {AlignCode::SpaceEqually, {55, 10, 100}},      // step (100 - 10) / 2 = 45
             {AlignCode::CentreInWindow, {140, 100, 190}},  // (300 + 10 - 110) / 2 - 10 = 90
         }) {
        std::vector<TRect> rects = start;
        AlignRects(rects, c.code, true, rects.size(), 300);
        EXPECT_EQ(Lefts(rects), c.lefts) << static_cast<int>(c.code);
        EXPECT_EQ(rects[1].Width(), 40);
    }
}

TEST(DesignerAlignment, OneControlOnlyCentresInItsWindow)
{
    std::vector<TRect> one{TRect::Bounds(10, 20, 50, 30)};
    AlignRects(one, AlignCode::LeftsOrTops, true, 1, 300);
    EXPECT_EQ(one[0].left, 10);
    AlignRects(one, AlignCode::CentreInWindow, true, 1, 300);
    EXPECT_EQ(one[0].left, 125);
    AlignRects(one, AlignCode::CentreInWindow, false, 1, 100);
    EXPECT_EQ(one[0].top, 35);
}

// Form > Panel1 > (Button1, Panel2 > Button2), Button3 on the form.
struct RuleForm
{
    RuleForm()
    {
        form.SetName("Main");
        panel1->SetName("Panel1");
        panel1->SetParent(&form);
        button1->SetName("Button1");
        button1->SetParent(panel1);
        panel2->SetName("Panel2");
        panel2->SetParent(panel1);
        button2->SetName("Button2");
        button2->SetParent(panel2);
        button3->SetName("Button3");
        button3->SetParent(&form);
    }
    TForm form;
    TPanel* panel1 = new TPanel(&form);
    TButton* button1 = new TButton(&form);
    TPanel* panel2 = new TPanel(&form);
    TButton* button2 = new TButton(&form);
    TButton* button3 = new TButton(&form);
};

TEST(DesignerRules, ChildrenModesInverseAndQualifiedNames)
{
    RuleForm f;
    struct Case
    {
        NameRule rule;
        std::vector<bool> held;  // panel1, button1, panel2, button2, button3
    };
    const std::vector<Case> cases{
        {{{"Panel1"}, false, cmNone}, {true, false, false, false, false}},
        {{{"panel1"}, false, cmNormal}, {true, true, true, false, false}},
        {{{"Panel1"}, false, cmRecurse}, {true, true, true, true, false}},
        {{{"Panel1"}, true, cmNormal}, {false, false, false, true, true}},
        {{{"Main.Button3"}, false, cmNone}, {false, false, false, false, true}},
        {{{"Other.Button3"}, false, cmNone}, {false, false, false, false, false}},
        {{{}, false, cmRecurse}, {false, false, false, false, false}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::vector<TControl*> controls{f.panel1, f.button1, f.panel2, f.button2, f.button3};
        for (std::size_t j = 0; j < controls.size(); ++j)
            EXPECT_EQ(RuleHolds(cases[i].rule, controls[j], &f.form), cases[i].held[j])
                << "case " << i << ", " << controls[j]->Name();
        EXPECT_TRUE(RuleHolds(cases[i].rule, &f.form, &f.form));
        EXPECT_FALSE(RuleHolds(cases[i].rule, nullptr, &f.form));
    }
}

TEST(DesignerRules, ProtectionLooksAtTheControlTheFormOwnsOrTheDesignControl)
{
    RuleForm f;
    const NameRule rule{{"Panel2"}, false, cmNormal};
    EXPECT_TRUE(ProtectionHolds(rule, f.panel2, &f.form, nullptr));
    EXPECT_TRUE(ProtectionHolds(rule, f.button2, &f.form, nullptr));
    EXPECT_FALSE(ProtectionHolds(rule, f.button1, &f.form, nullptr));
    EXPECT_TRUE(ProtectionHolds(rule, &f.form, &f.form, nullptr));
    // A control nobody on the form owns is out of reach.
    TButton stray(nullptr);
    EXPECT_TRUE(ProtectionHolds(rule, &stray, &f.form, nullptr));
    // With a design control only what lies inside it can be designed.
    EXPECT_FALSE(ProtectionHolds(rule, f.button2, &f.form, f.panel1));
    EXPECT_TRUE(ProtectionHolds(rule, f.button3, &f.form, f.panel1));
    EXPECT_TRUE(ProtectionHolds(rule, f.panel1, &f.form, f.panel1));
}

TEST(DesignerKeys, ModifiersChooseSelectMoveGridMoveOrSize)
{
    struct Case
    {
        std::uint16_t key;
        bool shift;
        bool ctrl;
        DesignKeyAction action;
        bool forward;
        int dx;
        int dy;
    };
    using A = DesignKeyAction;
    for (const Case& c : std::vector<Case>{
             {kVkRight, false, false, A::SelectNext, true, 0, 0},
             {kVkUp, false, false, A::SelectNext, false, 0, 0},
             {kVkLeft, false, true, A::Move, true, -1, 0},
             {kVkDown, true, true, A::Move, true, 0, 8},
             {kVkRight, true, false, A::Size, true, 1, 0},
             {kVkUp, true, false, A::Size, true, 0, -1},
             {kVkTab, true, false, A::Tab, false, 0, 0},
             {kVkTab, false, true, A::Tab, true, 0, 0},
             {kVkEscape, false, false, A::Escape, true, 0, 0},
             {'A', false, false, A::Other, true, 0, 0},
         }) {
        const DesignKey key = DecideDesignKey(c.key, c.shift, c.ctrl, true, true, 8);
        EXPECT_EQ(key.action, c.action) << c.key;
        EXPECT_EQ(key.forward, c.forward) << c.key;
        EXPECT_EQ(key.dx, c.dx) << c.key;
        EXPECT_EQ(key.dy, c.dy) << c.key;
    }
    EXPECT_EQ(DecideDesignKey(kVkRight, false, false, false, true, 8).action, A::Ignore);
    EXPECT_EQ(DecideDesignKey(kVkRight, false, true, true, false, 8).action, A::Ignore);
    EXPECT_TRUE(DecideDesignKey(kVkRight, false, true, true, true, 8).pixelMove);
}

}  // namespace
}  // namespace setup::ui::testing
