// Design mode driven by synthetic messages, with no display: selection by click, Shift-click and
// band, moves and sizes by mouse and keys, double clicks, the pop-up menu, placeholders, and a
// form edited, saved and read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "setup/ui/containers.h"
#include "setup/ui/designer/alignment_palette.h"
#include "setup/ui/designer/component_container.h"
#include "setup/ui/designer/grab_handles.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/menus.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/timer.h"

namespace setup::ui::testing {
namespace {

namespace msg = design_msg;

TShiftState Held(std::initializer_list<TShiftStateItem> items)
{
    TShiftState shift;
    for (TShiftStateItem item : items)
        shift.Include(item);
    return shift;
}

// Form: Panel1 (10, 10, 200 x 100) holding Button2 (10, 10, 60 x 20); Button1 (20, 150, 80 x 25)
// and Edit1 (150, 150, 100 x 21) on the form.
struct DesignedForm
{
    DesignedForm()
    {
        form.SetName("Main");
        form.SetClientWidth(400);
        form.SetClientHeight(300);
        designer->SetName("Designer");
        Place(panel1, "Panel1", &form, 10, 10, 200, 100);
        Place(button2, "Button2", panel1, 10, 10, 60, 20);
        Place(button1, "Button1", &form, 20, 150, 80, 25);
        Place(edit1, "Edit1", &form, 150, 150, 100, 21);
        designer->onMoveSizeControl = [this](TControl* control) { moved.push_back(control); };
        designer->SetActive(true);
    }
    static void Place(TControl* control, const char* name, TWinControl* parent, int left, int top,
                      int width, int height)
    {
        control->SetName(name);
        control->SetParent(parent);
        control->SetBounds(left, top, width, height);
    }
    // A mouse message at a point of the form's client area, addressed to the window.
    DesignMessage Mouse(std::uint32_t code, TWinControl* window, TPoint pos, TShiftState shift = {})
    {
        DesignMessage message;
        message.code = code;
        message.window = window;
        message.pos = pos;
        message.lParam = pos.x | (pos.y << 16);
        message.shift = shift;
        designer->HandleMessage(message);
        return message;
    }
    DesignMessage Key(std::uint16_t key, TShiftState shift = {}, std::uint32_t code = msg::kKeyDown)
    {
        DesignMessage message;
        message.code = code;
        message.window = &form;
        message.wParam = key;
        message.shift = shift;
        designer->HandleMessage(message);
        return message;
    }
    // Press, move and release with the left button.
    void Drag(TWinControl* window, TPoint from, TPoint to, TShiftState extra = {})
    {
        Mouse(msg::kLButtonDown, window, from, extra);
        TShiftState held = extra;
        held.Include(ssLeft);
        Mouse(msg::kMouseMove, window, to, held);
        Mouse(msg::kLButtonUp, window, to, extra);
    }
    std::vector<std::string> Selection() const
    {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < designer->ControlCount(); ++i)
            names.push_back(designer->Controls(static_cast<int>(i))->Name());
        return names;
    }

    TForm form;
    TFormDesigner* designer = new TFormDesigner(&form);
    TPanel* panel1 = new TPanel(&form);
    TButton* button2 = new TButton(&form);
    TButton* button1 = new TButton(&form);
    TEdit* edit1 = new TEdit(&form);
    std::vector<TControl*> moved;
};

TEST(DesignerEditing, DesignModeNeedsAFormOwnerAndKeepsItsMessageProcessor)
{
    TFormDesigner orphan(nullptr);
    try {
        orphan.SetActive(true);
        ADD_FAILURE();
    } catch (const EFormDesigner& error) {
        EXPECT_STREQ(error.what(), "TFormDesigner has no parent window.");
    }
    TTimer notAForm(nullptr);
    auto* owned = new TFormDesigner(&notAForm);
    try {
        owned->SetActive(true);
        ADD_FAILURE();
    } catch (const EFormDesigner& error) {
        EXPECT_STREQ(error.what(), "Owner of TFormDesigner must be TCustomForm descendant.");
    }
    EXPECT_FALSE(owned->Active());

    DesignedForm f;
    EXPECT_THROW(f.designer->SetMessageProcessor(mpHook), EFormDesigner);
    EXPECT_EQ(f.designer->MessageProcessor(), mpEvent);
    for (int index : {-1, 0}) {
        try {
            f.designer->Controls(index);
            ADD_FAILURE() << index;
        } catch (const EFormDesigner& error) {
            EXPECT_STREQ(error.what(), "Index of Controls array is out or range.");
        }
    }
    f.designer->SetActive(false);
    f.designer->SetMessageProcessor(mpHook);
    EXPECT_EQ(f.designer->MessageProcessor(), mpHook);
}

TEST(DesignerEditing, AClickSelectsAndADragMovesBySnappedSteps)
{
    struct Case
    {
        int dx;
        TShiftState extra;
        int left;
    };
    for (const Case& c : std::vector<Case>{{12, {}, 36}, {4, {}, 20}, {12, Held({ssAlt}), 32}}) {
        DesignedForm f;
        f.designer->snapToGrid = true;
        const DesignMessage press = f.Mouse(msg::kLButtonDown, &f.form, {30, 160}, c.extra);
        EXPECT_EQ(press.code, msg::kNull);
        EXPECT_EQ(f.designer->Dragging(), DragState::MoveOrSize);
        TShiftState held = c.extra;
        held.Include(ssLeft);
        f.Mouse(msg::kMouseMove, &f.form, {30 + c.dx, 160}, held);
        f.Mouse(msg::kLButtonUp, &f.form, {30 + c.dx, 160}, c.extra);
        EXPECT_EQ(f.Selection(), std::vector<std::string>{"Button1"});
        EXPECT_EQ(f.button1->Left(), c.left) << c.dx;
        EXPECT_EQ(f.button1->Top(), 150);
        EXPECT_EQ(f.moved.size(), c.left == 20 ? 0u : 1u);
        EXPECT_EQ(f.designer->Dragging(), DragState::None);
        EXPECT_TRUE(f.designer->GrabHandles()->Shown());
    }
}

TEST(DesignerEditing, SizingFromAHandleSnapsTheMovedEdges)
{
    DesignedForm f;
    f.designer->snapToGrid = true;
    f.designer->Select(f.button1);  // 20, 150 .. 100, 175
    TGrabHandle* corner = f.designer->GrabHandles()->Handle(gpRightBottom);
    EXPECT_EQ(corner->BoundsRect(), TRect::Bounds(97, 172, 5, 5));
    f.Drag(corner, {99, 174}, {139, 180});
    // Right 100 + 40 = 140 snaps to 137 (136 + 1); bottom 175 + 6 = 181 to 177.
    EXPECT_EQ(f.button1->BoundsRect(), (TRect{20, 150, 137, 177}));
    EXPECT_EQ(f.moved.size(), 1u);
}

TEST(DesignerEditing, ShiftClickAddsAndRemovesAndABandSelectsWhatItMeets)
{
    DesignedForm f;
    f.Mouse(msg::kLButtonDown, &f.form, {30, 160});
    f.Mouse(msg::kLButtonUp, &f.form, {30, 160});
    f.Mouse(msg::kLButtonDown, f.edit1, {160, 160}, Held({ssShift}));
    f.Mouse(msg::kLButtonUp, f.edit1, {160, 160}, Held({ssShift}));
    EXPECT_EQ(f.Selection(), (std::vector<std::string>{"Edit1", "Button1"}));
    EXPECT_FALSE(f.designer->GrabHandles()->Shown());
    f.Mouse(msg::kLButtonDown, f.edit1, {160, 160}, Held({ssShift}));
    f.Mouse(msg::kLButtonUp, f.edit1, {160, 160}, Held({ssShift}));
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Button1"});

    // A press on the empty form starts a band; the first move fixes its corner.
    f.Mouse(msg::kLButtonDown, &f.form, {0, 140});
    EXPECT_EQ(f.designer->Dragging(), DragState::Band);
    EXPECT_EQ(f.designer->ControlCount(), 0u);
    f.Mouse(msg::kMouseMove, &f.form, {5, 145}, Held({ssLeft}));
    f.Mouse(msg::kMouseMove, &f.form, {300, 300}, Held({ssLeft}));
    f.Mouse(msg::kLButtonUp, &f.form, {300, 300});
    EXPECT_EQ(f.Selection(), (std::vector<std::string>{"Edit1", "Button1"}));

    // Ctrl starts a band inside a panel: only the panel's children count.
    f.Mouse(msg::kLButtonDown, f.panel1, {15, 15}, Held({ssCtrl}));
    f.Mouse(msg::kMouseMove, f.panel1, {15, 15}, Held({ssLeft, ssCtrl}));
    f.Mouse(msg::kMouseMove, f.panel1, {300, 300}, Held({ssLeft, ssCtrl}));
    f.Mouse(msg::kLButtonUp, f.panel1, {300, 300}, Held({ssCtrl}));
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Button2"});
}

TEST(DesignerEditing, MovingSeveralMovesThemTogether)
{
    DesignedForm f;
    f.designer->Select(f.button1);
    f.designer->AddControl(f.edit1);
    f.Drag(f.edit1, {160, 160}, {170, 165});
    EXPECT_EQ(f.button1->BoundsRect(), TRect::Bounds(30, 155, 80, 25));
    EXPECT_EQ(f.edit1->BoundsRect(), TRect::Bounds(160, 155, 100, 21));
    // Each control moved tells of the whole selection.
    EXPECT_EQ(f.moved.size(), 4u);
}

TEST(DesignerEditing, LockedControlsAreSelectedButStayPut)
{
    DesignedForm f;
    f.designer->LockedControls()->Add("Button1");
    f.Drag(&f.form, {30, 160}, {60, 190});
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Button1"});
    EXPECT_EQ(f.button1->Left(), 20);
    EXPECT_TRUE(f.designer->GrabHandles()->Handle(gpLeftTop)->locked);
    f.Key(0x27, Held({ssCtrl}));
    f.Key(0x27, Held({ssShift}));
    EXPECT_EQ(f.button1->BoundsRect(), TRect::Bounds(20, 150, 80, 25));
}

TEST(DesignerEditing, ArrowKeysMoveSizeAndSelect)
{
    DesignedForm f;
    f.designer->Select(f.button1);
    f.designer->AddControl(f.button2);  // another parent: a pixel move drops Button1
    EXPECT_EQ(f.Key(0x27, Held({ssCtrl})).code, msg::kNull);
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Button2"});
    EXPECT_EQ(f.button2->Left(), 11);
    EXPECT_EQ(f.button1->Left(), 20);
    f.Key(0x28, Held({ssShift, ssCtrl}));
    EXPECT_EQ(f.button2->Top(), 18);
    f.Key(0x27, Held({ssShift}));
    EXPECT_EQ(f.button2->Width(), 61);

    // The move limit keeps the bottom edge half a grab above the limit's.
    f.designer->Select(f.button1);
    f.designer->onMoveLimit = [](TControl*, TRect& limit) { limit = TRect{0, 0, 200, 100}; };
    f.button1->SetBounds(20, 60, 80, 25);
    for (int i = 0; i < 30; ++i)
        f.Key(0x28, Held({ssCtrl}));
    EXPECT_EQ(f.button1->BoundsRect().bottom, 98);

    // Arrows without modifiers walk the owner's components.
    f.Key(0x27);
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Edit1"});
}

TEST(DesignerEditing, TabWalksTheOwnersComponentsAndWraps)
{
    DesignedForm f;
    EXPECT_EQ(f.Key(0x09).code, msg::kNull);  // nothing selected: the form's first child
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Panel1"});
    f.Key(0x09, Held({ssShift}));
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Edit1"});
    f.Key(0x09);
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Panel1"});
    f.Key(0x09);
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Button2"});
    // Esc climbs to the parent.
    f.Key(0x1B);
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Panel1"});
    // Hidden and protected controls are passed over.
    f.edit1->SetVisible(false);
    f.designer->ProtectedControls()->Add("Button1");
    f.designer->Select(f.panel1);
    f.Key(0x09, Held({ssShift}));
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Button2"});
    EXPECT_EQ(f.Key(0x09, {}, msg::kKeyUp).code, msg::kNull);
}

TEST(DesignerEditing, ADoubleClickCountsOnlyWhereThePressWas)
{
    DesignedForm f;
    std::vector<TControl*> clicked;
    f.designer->onControlDblClick = [&](TControl* control) { clicked.push_back(control); };
    f.Mouse(msg::kLButtonDown, &f.form, {30, 160});
    f.Mouse(msg::kLButtonUp, &f.form, {30, 160});
    EXPECT_EQ(f.Mouse(msg::kLButtonDblClk, &f.form, {31, 160}).code, msg::kNull);
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(f.Mouse(msg::kLButtonDblClk, &f.form, {30, 160}).code, msg::kNull);
    EXPECT_EQ(clicked, std::vector<TControl*>{f.button1});
}

class CountingPresenter : public IMenuPresenter
{
public:
    TMenuItem* Present(TPopupMenu&, int, int) override
    {
        ++shown;
        return nullptr;
    }
    int shown = 0;
};

TEST(DesignerEditing, ARightClickSelectsAndShowsTheMenuExceptOnProtectedControls)
{
    DesignedForm f;
    CountingPresenter presenter;
    TPopupMenu menu(nullptr);
    menu.presenter = &presenter;
    f.designer->popupMenu = &menu;
    f.designer->ProtectedControls()->Add("Edit1");
    f.Mouse(msg::kRButtonDown, f.edit1, {160, 160});
    EXPECT_EQ(f.Mouse(msg::kRButtonUp, f.edit1, {160, 160}).code, msg::kRButtonUp);
    EXPECT_EQ(presenter.shown, 0);
    EXPECT_EQ(f.designer->ControlCount(), 0u);
    // A click on a protected control reaches it.
    EXPECT_EQ(f.Mouse(msg::kLButtonDown, f.edit1, {160, 160}).code, msg::kLButtonDown);

    f.Mouse(msg::kRButtonDown, &f.form, {30, 160});
    EXPECT_EQ(f.Mouse(msg::kRButtonUp, &f.form, {30, 160}).code, msg::kNull);
    EXPECT_EQ(presenter.shown, 1);
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Button1"});
}

TEST(DesignerEditing, AlignmentMovesTheSelection)
{
    DesignedForm f;
    f.designer->Select(f.button1);
    f.designer->Align(5, 0);
    EXPECT_EQ(f.button1->Left(), 160);  // (400 - 80) / 2
    f.designer->AddControl(f.edit1);
    f.designer->AddControl(f.button2);  // another parent: left out
    f.designer->Align(1, 3);
    EXPECT_EQ(f.Selection(), (std::vector<std::string>{"Button2"}));
    f.designer->Select(f.button1);
    f.designer->AddControl(f.edit1);
    f.designer->Align(1, 3);
    EXPECT_EQ(f.button1->BoundsRect(), TRect::Bounds(150, 150, 80, 25));
    EXPECT_EQ(f.edit1->BoundsRect(), TRect::Bounds(150, 154, 100, 21));
}

TEST(DesignerEditing, ThePalettesButtonsAlignAndItsMenuSetsTheOptions)
{
    DesignedForm f;
    TfrmAlignmentPalette* palette = f.designer->Palette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->Caption(), "Align");
    EXPECT_EQ(palette->ClientRect(), (TRect{0, 0, 150, 60}));
    EXPECT_EQ(palette->Button(2)->Hint(), "Center horizontally in window");
    EXPECT_EQ(palette->Button(9)->Tag(), 3);
    EXPECT_EQ(palette->FormStyle(), TFormStyle::fsStayOnTop);
    f.designer->Select(f.button1);
    palette->Button(2)->Click();  // centre horizontally
    EXPECT_EQ(f.button1->Left(), 160);
    palette->Button(7)->Click();  // centre vertically
    EXPECT_EQ(f.button1->Top(), 137);
    palette->StayOnTopItem()->Click();
    EXPECT_FALSE(f.designer->alignmentPalette.Has(apStayOnTop));
    EXPECT_EQ(palette->FormStyle(), TFormStyle::fsNormal);
    EXPECT_FALSE(palette->StayOnTopItem()->Checked());
    palette->ShowHintsItem()->Click();
    EXPECT_FALSE(palette->Button(0)->ShowHint());
}

TEST(DesignerEditing, AFreedControlLeavesTheSelection)
{
    DesignedForm f;
    f.designer->Select(f.button1);
    f.designer->AddControl(f.edit1);
    delete f.edit1;
    EXPECT_EQ(f.Selection(), std::vector<std::string>{"Button1"});
    EXPECT_EQ(f.designer->GrabHandles()->Control(), f.button1);
}

std::string Fixture(const std::string& name, const std::string& text)
{
    const auto path =
        std::filesystem::temp_directory_path() /
        ("designer_edit_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + name);
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

const char* const kPage = R"(object Page: TForm
  Left = 0
  Top = 0
  Width = 400
  Height = 300
  object Glass1: TVistaGlass
    Left = 40
    Top = 8
  end
  object Button1: TButton
    Left = 20
    Top = 150
    Width = 80
    Height = 25
    Caption = 'Next'
  end
end
)";

struct PageForm
{
    PageForm()
    {
        RegisterPageClasses(registry);
        designer->SetName("Designer");
        designer->registry = &registry;
    }
    forms::ClassRegistry registry;
    TForm form;
    TFormDesigner* designer = new TFormDesigner(&form);
};

TEST(DesignerPlaceholders, NonVisualComponentsStandWhereTheirPositionsSay)
{
    PageForm page;
    page.designer->LoadFromFile(Fixture("page.txt", kPage), FormFileLayout::Text);
    auto* glass = page.form.FindComponent("Glass1");
    ASSERT_NE(glass, nullptr);
    TComponentContainer* container = page.designer->FindContainer(glass);
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->BoundsRect(), TRect::Bounds(40, 8, 28, 28));
    EXPECT_EQ(page.designer->FindContainer(page.form.FindComponent("Button1")), nullptr);
    EXPECT_EQ(page.designer->GetComponentHint(container), "Glass1: TVistaGlass");
    EXPECT_EQ(container->CaptionLabel()->Caption(), "Glass1");
    EXPECT_EQ(container->PictureName(), "TVISTAGLASS");

    container->SetBounds(100, 50, 60, 60);
    EXPECT_EQ(glass->DesignInfo(), (50u << 16) + 100u);
    EXPECT_EQ(container->Width(), 28);

    page.designer->SetShowNonVisual(false);
    EXPECT_EQ(page.designer->FindContainer(glass), nullptr);
    page.designer->SetShowNonVisual(true);
    ASSERT_NE(page.designer->FindContainer(glass), nullptr);
    EXPECT_EQ(page.designer->FindContainer(glass)->BoundsRect(), TRect::Bounds(100, 50, 28, 28));
}

TEST(DesignerPlaceholders, AFormEditedAndSavedReadsBackWithItsNewPositions)
{
    const std::string saved = Fixture("saved.dfm", "");
    {
        PageForm page;
        page.designer->LoadFromFile(Fixture("edit.txt", kPage), FormFileLayout::Text);
        page.designer->SetActive(true);
        auto* button = dynamic_cast<TControl*>(page.form.FindComponent("Button1"));
        DesignMessage press;
        press.code = msg::kLButtonDown;
        press.window = &page.form;
        press.pos = {30, 160};
        page.designer->HandleMessage(press);
        DesignMessage move = press;
        move.code = msg::kMouseMove;
        move.pos = {55, 130};
        move.shift = Held({ssLeft});
        page.designer->HandleMessage(move);
        DesignMessage release = move;
        release.code = msg::kLButtonUp;
        release.shift = {};
        page.designer->HandleMessage(release);
        EXPECT_EQ(button->BoundsRect(), TRect::Bounds(45, 120, 80, 25));
        TComponentContainer* container =
            page.designer->FindContainer(page.form.FindComponent("Glass1"));
        ASSERT_NE(container, nullptr);
        container->SetBounds(200, 16, 28, 28);
        page.designer->SaveToFile(saved, FormFileLayout::Binary);
    }
    PageForm again;
    again.designer->LoadFromFile(saved, FormFileLayout::Binary);
    auto* button = dynamic_cast<TControl*>(again.form.FindComponent("Button1"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->BoundsRect(), TRect::Bounds(45, 120, 80, 25));
    EXPECT_EQ(again.form.FindComponent("Glass1")->DesignInfo(), (16u << 16) + 200u);
    EXPECT_EQ(again.form.FindComponent("Designer"), again.designer);
    std::size_t containers = 0;
    for (std::size_t i = 0; i < again.form.ComponentCount(); ++i)
        containers += dynamic_cast<TComponentContainer*>(again.form.Component(i)) ? 1 : 0;
    EXPECT_EQ(containers, 1u);
}

}  // namespace
}  // namespace setup::ui::testing
