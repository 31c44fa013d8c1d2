// The object inspector with no display: the rows of one or several components, events mode,
// expanded rows across rebuilds, the grid's splitter, drop-down and in-place editing, the property
// editors' decisions, and an inspector paired with a form designer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "setup/forms/collection.h"
#include "setup/ui/form.h"
#include "setup/ui/inspector/component_inspector.h"
#include "setup/ui/inspector/editor_models.h"
#include "setup/ui/inspector/inspector_system.h"
#include "setup/ui/inspector/property_editors.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/tests/recording_fakes.h"

namespace setup::ui::testing {
namespace {

namespace layout = inspector_layout;

// Beeps are counted; modal forms get the answer a test gives, after the test's own steps.
class ScriptedSystem final : public IInspectorSystem
{
public:
    void Beep() override { ++beeps; }
    int RunModal(TCustomForm& form) override
    {
        if (onModal)
            onModal(form);
        return answer;
    }
    bool PickColor(TColor& color) override
    {
        color = chosenColor;
        return answer == mrOk;
    }
    int beeps = 0;
    int answer = mrCancel;
    TColor chosenColor = clNavy;
    std::function<void(TCustomForm&)> onModal;
};

std::vector<std::string> RowNames(const TCompInspList& model)
{
    std::vector<std::string> names;
    for (const forms::TProperty* row : model.Rows())
        names.push_back(row->FullName());
    return names;
}

bool Has(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

struct InspectedForm
{
    InspectedForm()
    {
        form.SetName("Main");
        form.SetClientWidth(600);
        form.SetClientHeight(400);
        button->SetName("Button1");
        button->SetParent(&form);
        button->SetBounds(10, 10, 80, 25);
        button->SetCaption("Button1");
        edit->SetName("Edit1");
        edit->SetParent(&form);
        edit->SetBounds(10, 50, 100, 21);
        inspector->SetName("Inspector");
        inspector->SetParent(&form);
        inspector->SetBounds(300, 0, 300, 400);
        inspector->system = &system;
        inspector->SetRoot(&form);
    }
    int Row(const std::string& fullName) const
    {
        return inspector->Model().FindRow(fullName);
    }
    TForm form;
    TButton* button = new TButton(&form);
    TEdit* edit = new TEdit(&form);
    TComponentInspector* inspector = new TComponentInspector(&form);
    ScriptedSystem system;
};

TEST(ComponentInspector, TwoClassesShowOnlyWhatBothHaveAndNeverTheName)
{
    InspectedForm f;
    f.inspector->SetInstance(f.button);
    const std::vector<std::string> alone = RowNames(f.inspector->Model());
    EXPECT_TRUE(Has(alone, "Name"));
    EXPECT_TRUE(Has(alone, "Caption"));
    EXPECT_FALSE(Has(alone, "OnClick"));
    f.inspector->AddInstance(f.edit);
    const std::vector<std::string> both = RowNames(f.inspector->Model());
    EXPECT_FALSE(Has(both, "Name"));
    EXPECT_FALSE(Has(both, "Caption"));
    EXPECT_FALSE(Has(both, "Text"));
    EXPECT_TRUE(Has(both, "Left"));
    EXPECT_TRUE(Has(both, "Font"));
    EXPECT_LT(both.size(), alone.size());

    // A value shows only where both agree; setting it reaches both.
    f.edit->SetLeft(10);
    const int left = f.Row("Left");
    const int top = f.Row("Top");
    f.inspector->SelectRow(left, true);
    EXPECT_EQ(f.inspector->GetValue(top), "");
    f.inspector->SetValue(left, "42");
    EXPECT_EQ(f.button->Left(), 42);
    EXPECT_EQ(f.edit->Left(), 42);

    f.inspector->RemoveInstance(f.button);
    EXPECT_TRUE(Has(RowNames(f.inspector->Model()), "Text"));
}

TEST(ComponentInspector, EventsModeListsOnlyEvents)
{
    InspectedForm f;
    f.inspector->SetInstance(f.button);
    f.inspector->SetMode(imEvents);
    const std::vector<std::string> rows = RowNames(f.inspector->Model());
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(Has(rows, "OnClick"));
    for (const forms::TProperty* row : f.inspector->Model().Rows())
        EXPECT_EQ(row->Kind(), forms::TypeKind::Method) << row->FullName();
    const int click = f.Row("OnClick");
    EXPECT_EQ(f.inspector->GetButtonType(click), btDropDown);
    f.inspector->SetMode(imProperties);
    EXPECT_FALSE(Has(RowNames(f.inspector->Model()), "OnClick"));
}

TEST(ComponentInspector, AnExpandedRowStaysExpandedAcrossRebuilds)
{
    InspectedForm f;
    f.inspector->SetInstance(f.button);
    const int font = f.Row("Font");
    ASSERT_GE(font, 0);
    EXPECT_EQ(f.inspector->GetExpandState(font), esExpand);
    EXPECT_EQ(f.inspector->GetButtonType(font), btDialog);
    EXPECT_TRUE(f.inspector->GetReadOnly(font));
    f.inspector->ToggleExpand(font);
    EXPECT_EQ(f.inspector->GetExpandState(font), esCollapse);
    EXPECT_GT(f.Row("Font.Color"), font);
    EXPECT_EQ(f.inspector->GetLevel(f.Row("Font.Color")), 1);
    f.inspector->Rebuild();
    EXPECT_GT(f.Row("Font.Color"), f.Row("Font"));
    EXPECT_EQ(f.inspector->ItemCount(), static_cast<int>(f.inspector->Model().Rows().size()));
    f.inspector->ToggleExpand(f.Row("Font"));
    EXPECT_EQ(f.Row("Font.Color"), -1);
    // The selected row is found again by name after a rebuild.
    f.inspector->SelectRow(f.Row("Hint"), false);
    f.inspector->Rebuild();
    EXPECT_EQ(f.inspector->ItemIndex(), f.Row("Hint"));
}

TEST(ComponentInspector, RowKindsChooseButtonsAndEditors)
{
    InspectedForm f;
    f.inspector->SetInstance(f.button);
    struct Case
    {
        const char* row;
        TButtonType button;
        TInplaceEditorType editor;
        bool external;
    };
    for (const Case& c : std::vector<Case>{
             {"Left", btUpDown, ieEdit, false},
             {"Color", btDialog, ieEdit, true},
             {"Cursor", btDropDown, ieEdit, false},
             {"Enabled", btDropDown, ieEdit, false},
             {"Caption", btNone, ieEdit, false},
             {"Font", btDialog, ieEdit, true},
         }) {
        const int row = f.Row(c.row);
        ASSERT_GE(row, 0) << c.row;
        EXPECT_EQ(f.inspector->GetButtonType(row), c.button) << c.row;
        EXPECT_EQ(f.inspector->GetInplaceEditorType(row), c.editor) << c.row;
        EXPECT_EQ(f.inspector->GetEnableExternalEditor(row), c.external) << c.row;
    }
    f.inspector->SetCheckBoxes(true);
    EXPECT_EQ(f.inspector->GetButtonType(f.Row("Enabled")), btNone);
    EXPECT_EQ(f.inspector->GetInplaceEditorType(f.Row("Enabled")), ieCheckBox);
}

TEST(InspectorGrid, SplitterLimitsAndDropDownSizes)
{
    // The stored value may lie below the minimum; the limits only decide whether it changes.
    EXPECT_TRUE(layout::SplitterChanges(100, 10, 300));
    EXPECT_FALSE(layout::SplitterChanges(32, 10, 300));
    EXPECT_EQ(layout::DragSplitter(290, 300), 252);
    EXPECT_EQ(layout::DragSplitter(5, 300), 32);
    struct Case
    {
        int items;
        int height;
        int width;
    };
    for (const Case& c : std::vector<Case>{{20, 8 * 16 + 2, 100 + 6 + 17},
                                           {0, 16 + 2, 100 + 6},
                                           {3, 3 * 16 + 2, 100 + 6},
                                           {8, 8 * 16 + 2, 100 + 6}}) {
        EXPECT_EQ(layout::DropDownHeight(c.items, 16), c.height) << c.items;
        EXPECT_EQ(layout::DropDownWidth(100, c.items, 17, 150, 100), c.width) << c.items;
    }
    // Narrow texts still cover the value column; near the screen's bottom the list opens above.
    EXPECT_EQ(layout::DropDownWidth(10, 2, 17, 300, 100), 200);
    EXPECT_EQ(layout::DropDownTop(100, 16, 50, 768), 98);
    EXPECT_EQ(layout::DropDownTop(750, 16, 50, 768), 750 - 16 - 50);

    InspectedForm f;
    f.inspector->SetSplitter(10);
    EXPECT_EQ(f.inspector->Splitter(), 10);
    f.inspector->SetSplitter(32);
    f.inspector->SetSplitter(10);
    EXPECT_EQ(f.inspector->Splitter(), 32);
    // A drag from the splitter line to x = 290 stops 48 pixels short of the right edge.
    f.inspector->SetSplitter(100);
    f.inspector->SetInstance(f.button);
    f.inspector->MouseFromWindow(true, mbLeft, TShiftState{1u << ssLeft}, 101, 5);
    f.inspector->MouseMoveFromWindow(TShiftState{1u << ssLeft}, 290, 5);
    f.inspector->MouseFromWindow(false, mbLeft, {}, 290, 5);
    EXPECT_EQ(f.inspector->Splitter(), 252);
}

TEST(InspectorGrid, ScrollingKeepsTheTopRowWithinTheRows)
{
    using layout::ScrollCode;
    EXPECT_EQ(layout::VisibleRows(160, 16), 10);
    EXPECT_EQ(layout::VisibleRows(170, 16), 10);
    EXPECT_EQ(layout::VisibleRows(8, 16), 1);
    struct Case
    {
        int top;
        ScrollCode code;
        int thumb;
        int expected;
    };
    // 30 rows, 10 visible: the top row runs from 0 to 20; a page is 9 rows.
    for (const Case& c : std::vector<Case>{{5, ScrollCode::LineUp, 0, 4},
                                           {0, ScrollCode::LineUp, 0, 0},
                                           {5, ScrollCode::LineDown, 0, 6},
                                           {20, ScrollCode::LineDown, 0, 20},
                                           {5, ScrollCode::PageUp, 0, 0},
                                           {5, ScrollCode::PageDown, 0, 14},
                                           {15, ScrollCode::PageDown, 0, 20},
                                           {12, ScrollCode::Top, 0, 0},
                                           {3, ScrollCode::Bottom, 0, 20},
                                           {3, ScrollCode::Thumb, 17, 17},
                                           {3, ScrollCode::Thumb, 40, 20}}) {
        EXPECT_EQ(layout::ScrolledTop(c.top, c.code, c.thumb, 30, 10), c.expected)
            << c.top << " code " << static_cast<int>(c.code);
    }
    // Fewer rows than fit: nothing scrolls.
    EXPECT_EQ(layout::ScrolledTop(0, ScrollCode::Bottom, 0, 6, 10), 0);
    EXPECT_EQ(layout::ClampTopIndex(12, 6, 10), 0);
    // The wheel: towards the user scrolls down; a page a notch at most.
    EXPECT_EQ(layout::WheelTop(5, -1, 3, 30, 10), 8);
    EXPECT_EQ(layout::WheelTop(5, 2, 3, 30, 10), 0);
    EXPECT_EQ(layout::WheelTop(0, -1, 1000, 30, 10), 9);
    EXPECT_EQ(layout::WheelTop(0, -5000, 1000, 30, 10), 20);
    EXPECT_EQ(layout::PageRow(3, true, 30, 10), 12);
    EXPECT_EQ(layout::PageRow(3, false, 30, 10), 0);
    EXPECT_EQ(layout::PageRow(25, true, 30, 10), 29);

    InspectedForm f;
    f.inspector->SetBounds(300, 0, 300, 10 * f.inspector->RowHeight());
    f.inspector->SetInstance(f.button);
    const int rows = f.inspector->ItemCount();
    ASSERT_GT(rows, 10);
    EXPECT_TRUE(f.inspector->ScrollBarShown());
    // The scroll bar takes its width from the rows.
    EXPECT_EQ(f.inspector->ClientRect().Width(), 300 - 16);
    EXPECT_EQ(f.inspector->ItemRect(0).right, 300 - 16);

    EXPECT_TRUE(f.inspector->MouseWheelFromWindow(-120, {}));
    EXPECT_EQ(f.inspector->TopIndex(), 3);
    // Half notches add up.
    f.inspector->MouseWheelFromWindow(60, {});
    EXPECT_EQ(f.inspector->TopIndex(), 3);
    f.inspector->MouseWheelFromWindow(60, {});
    EXPECT_EQ(f.inspector->TopIndex(), 0);
    f.inspector->ScrollFromWindow(ScrollCode::Bottom, 0);
    EXPECT_EQ(f.inspector->TopIndex(), rows - 10);
    // The editors go with their row: above the grid when the row scrolled away.
    EXPECT_EQ(f.inspector->ItemIndex(), 0);
    EXPECT_LT(f.inspector->Editor()->Top(), 0);
    f.inspector->SelectRow(1, false);
    EXPECT_EQ(f.inspector->TopIndex(), 1);
    // One pixel into the first row shown.
    EXPECT_EQ(f.inspector->Editor()->Top(), 1);

    // Page Down in the edit moves a page less a row and brings that row into view.
    std::uint16_t key = 0x22;
    f.inspector->Editor()->KeyDownFromWindow(key, {});
    EXPECT_EQ(key, 0);
    EXPECT_EQ(f.inspector->ItemIndex(), 10);
    EXPECT_EQ(f.inspector->TopIndex(), 1);
    key = 0x22;
    f.inspector->Editor()->KeyDownFromWindow(key, {});
    EXPECT_EQ(f.inspector->ItemIndex(), 19);
    EXPECT_EQ(f.inspector->TopIndex(), 10);
    // End on the grid: the last row, at the bottom.
    key = 0x23;
    f.inspector->KeyDownFromWindow(key, {});
    EXPECT_EQ(f.inspector->ItemIndex(), rows - 1);
    EXPECT_EQ(f.inspector->TopIndex(), rows - 10);

    // Fewer rows after a rebuild: the top row comes back, no empty page below the rows.
    f.inspector->SetMode(imEvents);
    const int events = f.inspector->ItemCount();
    EXPECT_LE(f.inspector->TopIndex(), std::max(0, events - 10));
    EXPECT_EQ(f.inspector->ScrollBarShown(), events > 10);
}

TEST(InspectorGrid, TheInPlaceEditRefusesCharactersRevertsOnEscAndStoresOnEnter)
{
    InspectedForm f;
    f.inspector->SetInstance(f.button);
    f.inspector->onValidateChar = [](int, char& key) { return key != '#'; };
    f.inspector->SelectRow(f.Row("Caption"), false);
    TInspectorEdit* edit = f.inspector->Editor();
    EXPECT_TRUE(edit->Visible());
    EXPECT_EQ(edit->Text(), "Button1");

    char key = '#';
    edit->KeyPressFromWindow(key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(f.system.beeps, 1);
    key = 'x';
    edit->KeyPressFromWindow(key);
    EXPECT_EQ(key, 'x');
    edit->TextFromWindow("Changed");
    EXPECT_TRUE(edit->modified);

    std::uint16_t escape = kKeyEscape;
    edit->KeyDownFromWindow(escape, {});
    EXPECT_EQ(escape, 0);
    EXPECT_EQ(edit->Text(), "Button1");
    EXPECT_EQ(f.button->Caption(), "Button1");

    key = 'O';
    edit->KeyPressFromWindow(key);
    edit->TextFromWindow("OK");
    std::uint16_t enter = kKeyEnter;
    edit->KeyDownFromWindow(enter, {});
    EXPECT_EQ(f.button->Caption(), "OK");
    EXPECT_FALSE(edit->modified);

    // A value the property refuses keeps the old one and shows it again.
    f.inspector->SelectRow(f.Row("Left"), false);
    key = 'z';
    edit->KeyPressFromWindow(key);
    edit->TextFromWindow("zz");
    enter = kKeyEnter;
    edit->KeyDownFromWindow(enter, {});
    EXPECT_EQ(f.button->Left(), 10);
    EXPECT_EQ(edit->Text(), "10");
    EXPECT_EQ(f.system.beeps, 2);
}

TEST(InspectorGrid, ADoubleClickCyclesValuesButLeavesReadOnlyRowsAlone)
{
    InspectedForm f;
    f.inspector->SetInstance(f.button);
    const int enabled = f.Row("Enabled");
    f.inspector->SelectRow(enabled, false);
    EXPECT_TRUE(f.inspector->ActivateValue(0));
    EXPECT_FALSE(f.button->Enabled());
    EXPECT_TRUE(f.inspector->ActivateValue(0));
    EXPECT_TRUE(f.button->Enabled());

    f.inspector->onGetReadOnly = [enabled](int row, bool& readOnly) { readOnly = row == enabled; };
    EXPECT_FALSE(f.inspector->ActivateValue(0));
    EXPECT_TRUE(f.button->Enabled());

    // The drop-down list holds the admissible values with the current one selected.
    EXPECT_TRUE(f.inspector->ActivateValue(1));
    TInspectorPopup* list = f.inspector->DropDownList();
    ASSERT_EQ(list->Items()->Count(), 2u);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Height(), layout::DropDownHeight(2, f.inspector->RowHeight()));
}

TEST(InspectorGrid, TheColourEditorSetsTheChosenColour)
{
    InspectedForm f;
    f.inspector->SetInstance(f.button);
    const int color = f.Row("Color");
    f.inspector->SelectRow(color, false);
    f.system.answer = mrCancel;
    EXPECT_FALSE(f.inspector->ActivateValue(0));
    EXPECT_EQ(f.button->Color(), clBtnFace);
    f.system.answer = mrOk;
    EXPECT_TRUE(f.inspector->ActivateValue(0));
    EXPECT_EQ(f.button->Color(), clNavy);
}

TEST(PropertyEditors, LineCountsAndPictureFit)
{
    EXPECT_EQ(LineCountText(0), "0 lines");
    EXPECT_EQ(LineCountText(1), "1 line");
    EXPECT_EQ(LineCountText(2), "2 lines");
    struct Case
    {
        int width;
        int height;
        TRect drawn;
    };
    for (const Case& c : std::vector<Case>{
             {400, 200, TRect::Bounds(0, 56, 223, 111)},
             {200, 400, TRect::Bounds(56, 0, 111, 223)},
             {100, 50, TRect::Bounds(61, 86, 100, 50)},
             {223, 223, TRect::Bounds(0, 0, 223, 223)},
             {0, 0, TRect::Bounds(111, 111, 0, 0)},
         }) {
        EXPECT_EQ(FitPictureRect(c.width, c.height, 223, 223), c.drawn)
            << c.width << " x " << c.height;
    }
    EXPECT_EQ(DropPositionAt(10, 9, 27), DropPosition::Before);
    EXPECT_EQ(DropPositionAt(18, 9, 27), DropPosition::Child);
    EXPECT_EQ(DropPositionAt(25, 9, 27), DropPosition::After);
    // The drop marks beside a text of 40 to 100 by 9 to 27.
    const TRect text{40, 9, 100, 27};
    EXPECT_EQ(DropMarkRect(text, DropPosition::Before), TRect::Bounds(106, 9, 16, 16));
    EXPECT_EQ(DropMarkRect(text, DropPosition::Child), TRect::Bounds(106, 10, 16, 16));
    EXPECT_EQ(DropMarkRect(text, DropPosition::After), TRect::Bounds(106, 20, 16, 16));
    // A drag scrolls the tree within 5 pixels of an edge.
    struct Edge
    {
        int at;
        int direction;
    };
    for (const Edge& e : std::vector<Edge>{{0, -1}, {4, -1}, {5, 0}, {194, 0}, {195, 1}, {199, 1}})
        EXPECT_EQ(DragScrollDirection(e.at, 200), e.direction) << e.at;
}

// Modal forms run as a program's would: in its application's loop, here a scripted one.
class ModalSystem final : public IInspectorSystem
{
public:
    int RunModal(TCustomForm& form) override { return form.ShowModal(); }
};

TEST(PropertyEditors, AnEditorsFormRunsInTheApplicationOfTheInspectorsForm)
{
    InspectedForm f;
    ScriptedLoop loop;
    RecordingPeerFactory windows;
    TApplication app(loop, &windows);
    app.AddForm(f.form);
    ModalSystem modal;
    f.inspector->system = &modal;
    auto* memo = new TMemo(&f.form);
    memo->SetName("Memo1");
    memo->SetParent(&f.form);
    memo->Lines()->Add("one");
    f.inspector->SetInstance(memo);
    f.inspector->SelectRow(f.Row("Lines"), false);
    TfrmStrings* shown = nullptr;
    loop.steps.push_back([&] {
        for (TCustomForm* form : app.Screen().Forms())
            if ((shown = dynamic_cast<TfrmStrings*>(form)))
                break;
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->Visible());
        shown->redStrings->Lines()->Add("two");
        shown->SetModalResult(mrOk);
    });
    // The form of no application used to fail before it showed.
    EXPECT_TRUE(f.inspector->ActivateValue(0));
    EXPECT_EQ(memo->Lines()->Count(), 2u);
    // It left the application with its run.
    EXPECT_EQ(app.Screen().Forms().size(), 1u);
    EXPECT_EQ(app.MainForm(), &f.form);
    app.RemoveForm(f.form);
}

TEST(PropertyEditors, TheStringsEditorTakesTheLinesOnlyOnOk)
{
    InspectedForm f;
    auto* memo = new TMemo(&f.form);
    memo->SetName("Memo1");
    memo->Lines()->Add("one");
    f.inspector->SetInstance(memo);
    const int lines = f.Row("Lines");
    ASSERT_GE(lines, 0);
    f.system.onModal = [](TCustomForm& form) {
        auto& strings = dynamic_cast<TfrmStrings&>(form);
        EXPECT_EQ(strings.lblCount->Caption(), "1 line");
        strings.redStrings->Lines()->Add("two");
        strings.LinesChanged(nullptr);
        EXPECT_EQ(strings.lblCount->Caption(), "2 lines");
    };
    f.inspector->SelectRow(lines, false);
    f.system.answer = mrCancel;
    EXPECT_FALSE(f.inspector->ActivateValue(0));
    EXPECT_EQ(memo->Lines()->Count(), 1u);
    f.system.answer = mrOk;
    EXPECT_TRUE(f.inspector->ActivateValue(0));
    EXPECT_EQ(memo->Lines()->Count(), 2u);
}

struct EditedMenu
{
    EditedMenu()
    {
        file->SetName("File1");
        file->caption = "&File";
        open->SetName("Open1");
        open->caption = "&Open";
        root.Add(file);
        file->Add(open);
    }
    forms::TComponent owner{nullptr};
    TMenuItem root{nullptr};
    TMenuItem* file = new TMenuItem(&owner);
    TMenuItem* open = new TMenuItem(&owner);
    forms::TComponent editorForm{nullptr};
};

TEST(PropertyEditors, NewMenuItemsAreNumberedAndCancelLeavesTheMenu)
{
    EditedMenu m;
    MenuEditorTree tree(m.root, m.editorForm);
    ASSERT_EQ(tree.Roots().size(), 1u);
    EXPECT_EQ(tree.Roots()[0]->item->caption, "&File");
    EXPECT_NE(tree.Roots()[0]->item, m.file);
    MenuEditorTree::Node* first = tree.NewItem(false);
    EXPECT_EQ(first->item->Name(), "NewItem1");
    EXPECT_EQ(first->item->caption, "NewItem1");
    MenuEditorTree::Node* second = tree.NewItem(true);
    EXPECT_EQ(second->item->Name(), "NewItem2");
    EXPECT_EQ(second->parent, first);
    tree.Move(second, tree.Roots()[0].get(), DropPosition::Before);
    ASSERT_EQ(tree.Roots().size(), 3u);
    EXPECT_EQ(tree.Roots()[0]->item->Name(), "NewItem2");

    // Nothing applied: the menu is as it was.
    ASSERT_EQ(m.root.Items().size(), 1u);
    EXPECT_EQ(m.root.Items()[0], m.file);
    EXPECT_EQ(m.file->Items().size(), 1u);

    tree.Apply(m.root, &m.owner);
    ASSERT_EQ(m.root.Items().size(), 3u);
    EXPECT_EQ(m.root.Items()[0]->caption, "NewItem2");
    EXPECT_EQ(m.root.Items()[1]->caption, "&File");
    ASSERT_EQ(m.root.Items()[1]->Items().size(), 1u);
    EXPECT_EQ(m.root.Items()[1]->Items()[0]->caption, "&Open");
    EXPECT_EQ(m.root.Items()[1]->Owner(), &m.owner);
}

TEST(PropertyEditors, TheMenuEditorFormBuildsTheMenuOnlyOnOk)
{
    EditedMenu m;
    InspectedForm f;
    ScriptedSystem system;
    system.onModal = [](TCustomForm& form) {
        auto& editor = dynamic_cast<TfrmMenuEditor&>(form);
        TComponentInspector& items = *editor.cinItemProperties;
        EXPECT_EQ(editor.trvItems->Items()->Count(), 2u);
        EXPECT_EQ(items.Instance(), editor.Tree().Selected()->item);
        editor.NewItemClick(nullptr);
        EXPECT_EQ(editor.trvItems->Items()->Count(), 3u);
        // A caption set in the inspector names the node too.
        items.SetValue(items.Model().FindRow("Caption"), "&Print");
        const std::vector<TTreeNode*> nodes = editor.trvItems->Items()->All();
        ASSERT_EQ(nodes.size(), 3u);
        EXPECT_EQ(nodes[2]->Text(), "&Print");
        EXPECT_EQ(editor.trvItems->Selected(), nodes[2]);
        // Dropped before the first node, the new item leads the tree.
        editor.DropNode(nodes[2], nodes[0], DropPosition::Before);
        ASSERT_EQ(editor.trvItems->Items()->Roots().size(), 2u);
        EXPECT_EQ(editor.trvItems->Items()->Roots()[0]->Text(), "&Print");
        // The Events tab lists the item's events.
        editor.tabItem->SetActivePageIndex(1);
        editor.TabChange(nullptr);
        EXPECT_EQ(items.Mode(), imEvents);
        EXPECT_GE(items.Model().FindRow("OnClick"), 0);
        EXPECT_EQ(items.Parent(), editor.tabItem->ActivePage());
    };
    {
        TfrmMenuEditor form(m.root, *f.inspector);
        system.RunModal(form);
    }
    EXPECT_EQ(m.root.Items().size(), 1u);
    EXPECT_EQ(m.root.Items()[0], m.file);
}

TEST(PropertyEditors, TheCollectionListDeletesAtOnceAndSelectsTheNextRow)
{
    forms::TCollection collection(forms::TCollectionItem::StaticClass());
    for (int i = 0; i < 3; ++i)
        collection.Add();
    CollectionEditorList list(collection);
    EXPECT_EQ(list.Texts(), (std::vector<std::string>{"0 - TCollectionItem", "1 - TCollectionItem",
                                                      "2 - TCollectionItem"}));
    // The first row starts selected and shown.
    EXPECT_TRUE(list.DeleteEnabled());
    EXPECT_EQ(list.Instance(), collection.Item(0));
    // The last row deleted: the row above it takes the selection, the rest renumbered.
    list.Selected().assign(3, false);
    list.Selected()[2] = true;
    forms::TCollectionItem* middle = collection.Item(1);
    list.DeleteSelected();
    EXPECT_EQ(collection.Count(), 2u);
    EXPECT_EQ(list.Instance(), middle);
    list.Selected().assign(2, true);
    EXPECT_EQ(list.Instance(), nullptr);
    list.DeleteSelected();
    // Nothing left: an empty list, nothing to delete, nothing shown.
    EXPECT_TRUE(list.Texts().empty());
    EXPECT_EQ(collection.Count(), 0u);
    EXPECT_FALSE(list.DeleteEnabled());
    EXPECT_EQ(list.Instance(), nullptr);
    // Adding selects the new item alone.
    forms::TCollectionItem* added = list.Add();
    EXPECT_EQ(list.Instance(), added);
    EXPECT_EQ(list.Texts(), std::vector<std::string>{"0 - TCollectionItem"});
}

TEST(InspectorPairing, TheInspectorFollowsTheDesignersSelectionAndEditsTheForm)
{
    TForm form;
    form.SetName("Main");
    form.SetClientWidth(400);
    form.SetClientHeight(300);
    auto* designer = new TRFDesigner(&form);
    designer->SetName("Designer");
    auto* button = new TButton(&form);
    button->SetName("Button1");
    button->SetParent(&form);
    button->SetBounds(20, 20, 80, 25);
    auto* edit = new TEdit(&form);
    edit->SetName("Edit1");
    edit->SetParent(&form);
    edit->SetBounds(20, 60, 100, 21);
    TForm side;
    auto* inspector = new TRFInspector(&side);
    inspector->SetParent(&side);
    inspector->SetBounds(0, 0, 250, 300);
    inspector->SetRoot(&form);
    inspector->SetDefaultInstance(&form);
    designer->SetInspector(inspector);
    EXPECT_EQ(inspector->Designer(), designer);
    int changes = 0;
    designer->onChange = [&] { ++changes; };
    designer->SetActive(true);

    EXPECT_EQ(inspector->Instance(), &form);
    designer->Select(button);
    EXPECT_EQ(inspector->Instance(), button);
    designer->AddControl(edit);
    EXPECT_EQ(inspector->Model().ListCount(), 2u);
    EXPECT_FALSE(inspector->Model().Inspects(&form));

    designer->Select(button);
    const int left = inspector->Model().FindRow("Left");
    inspector->SetValue(left, "64");
    EXPECT_EQ(button->Left(), 64);
    EXPECT_EQ(changes, 1);

    designer->Select(nullptr);
    EXPECT_EQ(inspector->Instance(), &form);

    // The other way: what the inspector is set to show is selected in the form.
    inspector->SetInstance(edit);
    EXPECT_EQ(designer->ControlCount(), 1u);
    EXPECT_EQ(designer->Control(), edit);
    inspector->AddInstance(button);
    EXPECT_EQ(designer->ControlCount(), 2u);
    EXPECT_TRUE(designer->IsSelected(button));
    EXPECT_EQ(inspector->Model().ListCount(), 2u);
    inspector->SetInstance(&form);
    EXPECT_EQ(designer->ControlCount(), 0u);
    EXPECT_EQ(inspector->Instance(), &form);
    designer->SetActive(false);
    inspector->SetDesigner(nullptr);
    EXPECT_EQ(designer->Inspector(), nullptr);
}

}  // namespace
}  // namespace setup::ui::testing
