// Under Xvfb: an inspector beside a designed form. A click in the form shows the control in the
// grid, a value typed into the grid's edit window reaches the control, a component the inspector
// is set to show is selected in the form, and the wheel and the scroll bar scroll the grid. In the
// menu editor a node dragged in the tree view lands where the mouse lets go of it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "setup/ui/inspector/component_inspector.h"
#include "setup/ui/inspector/inspector_system_win32.h"
#include "setup/ui/inspector/property_editors.h"
#include "setup/ui/control_windows_win32.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/tests/design_windows_fixture_win32.h"

namespace setup::ui::testing {
namespace {

TEST(InspectorWindows, AValueTypedIntoTheGridReachesTheDesignedForm)
{
    DesignWindows<TRFDesigner> w;
    TApplication& app = w.app;
    TForm& form = w.form;
    TRFDesigner* designer = w.designer;
    auto* button = w.Place<TButton>("Button1", 20, 30, 80, 25);
    auto* other = w.Place<TEdit>("Edit1", 20, 80, 100, 21);
    Win32InspectorSystem system;
    TForm side;
    app.AddForm(side);
    side.SetClientWidth(250);
    side.SetClientHeight(300);
    side.SetBounds(340, 0, side.Width(), side.Height());
    auto* inspector = new TRFInspector(&side);
    inspector->SetParent(&side);
    inspector->SetBounds(0, 0, 250, 300);
    inspector->system = &system;
    inspector->SetRoot(&form);
    inspector->SetDefaultInstance(&form);
    designer->SetInspector(inspector);
    side.Show();
    form.Show();
    // Clicks edit the form only while it is the active one, as after a real click on it.
    ::SetForegroundWindow(WindowOf(form));
    designer->SetActive(true);
    app.ProcessMessages();

    ::PostMessageA(WindowOf(*button), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageA(WindowOf(*button), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    app.ProcessMessages();
    ASSERT_EQ(inspector->Instance(), button);

    inspector->SelectRow(inspector->Model().FindRow("Left"), false);
    app.ProcessMessages();
    HWND edit = WindowOf(*inspector->Editor());
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(::IsWindowVisible(edit));
    char shown[16] = {};
    ::GetWindowTextA(edit, shown, sizeof shown);
    EXPECT_STREQ(shown, "20");
    ::PostMessageA(edit, EM_SETSEL, 0, -1);
    for (char c : std::string("64"))
        ::PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    app.ProcessMessages();
    EXPECT_EQ(button->Left(), 64);
    RECT placed{};
    ::GetWindowRect(WindowOf(*button), &placed);
    ::MapWindowPoints(nullptr, WindowOf(form), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 64);


    // Chosen in the inspector, selected in the form.
    inspector->SetInstance(other);
    app.ProcessMessages();
    EXPECT_EQ(designer->ControlCount(), 1u);
    EXPECT_EQ(designer->Control(), other);

    // Ten rows show; the scroll bar takes its width from the window's client area.
    inspector->SetBounds(0, 0, 250, 10 * inspector->RowHeight());
    app.ProcessMessages();
    HWND grid = WindowOf(*inspector);
    ASSERT_TRUE(inspector->ScrollBarShown());
    RECT client{};
    ::GetClientRect(grid, &client);
    EXPECT_EQ(client.right, inspector->ClientRect().Width());
    SCROLLINFO bar{};
    bar.cbSize = sizeof(bar);
    bar.fMask = SIF_ALL;
    ::GetScrollInfo(grid, SB_VERT, &bar);
    EXPECT_EQ(bar.nMax, inspector->ItemCount() - 1);
    EXPECT_EQ(bar.nPage, 10u);
    EXPECT_EQ(bar.nPos, 0);

    // The wheel turned at the focused edit scrolls the rows, and the bar follows.
    inspector->SelectRow(0, true);
    app.ProcessMessages();
    RECT onScreen{};
    ::GetWindowRect(grid, &onScreen);
    const int lines = system.WheelScrollLines();
    ::SendMessageA(WindowOf(*inspector->Editor()), WM_MOUSEWHEEL,
                   MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                   MAKELPARAM(onScreen.left + 10, onScreen.top + 10));
    app.ProcessMessages();
    EXPECT_EQ(inspector->TopIndex(), std::min(lines, 9));
    ::GetScrollInfo(grid, SB_VERT, &bar);
    EXPECT_EQ(bar.nPos, inspector->TopIndex());
    // A click on the bar's arrow, and its thumb dragged to the end.
    const int top = inspector->TopIndex();
    ::SendMessageA(grid, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(inspector->TopIndex(), top + 1);
    ::SendMessageA(grid, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(inspector->TopIndex(), inspector->ItemCount() - 10);
    ::GetScrollInfo(grid, SB_VERT, &bar);
    EXPECT_EQ(bar.nPos, inspector->ItemCount() - 10);

    designer->SetActive(false);
    designer->SetInspector(nullptr);
    app.RemoveForm(side);
}

// The upper third of a node's text, or its middle, in the tree's client coordinates.
POINT PointOnNode(HWND tree, const TTreeNode* node, bool middle)
{
    HTREEITEM item = TreeItemOf(tree, node);
    RECT text{};
    std::memcpy(&text, &item, sizeof item);
    ::SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text));
    const int y = middle ? (text.top + text.bottom) / 2 : text.top + 1;
    return {(text.left + text.right) / 2, y};
}

TEST(InspectorWindows, AMenuNodeDraggedInTheTreeLandsWhereItIsDropped)
{
    DesignWindows<TRFDesigner> w;
    Win32InspectorSystem system;
    auto* owner = new TComponentInspector(&w.form);
    owner->SetParent(&w.form);
    owner->system = &system;
    TMenuItem root(nullptr);
    for (const char* caption : {"&File", "&Edit", "&Help"}) {
        auto* item = new TMenuItem(&w.form);
        item->caption = caption;
        root.Add(item);
    }
    TfrmMenuEditor editor(root, *owner);
    w.app.AddForm(editor);
    editor.Show();
    w.app.ProcessMessages();
    HWND tree = WindowOf(*editor.trvItems);
    ASSERT_NE(tree, nullptr);
    std::vector<TTreeNode*> nodes = editor.trvItems->Items()->All();
    ASSERT_EQ(nodes.size(), 3u);

    struct Case
    {
        int dragged;
        int onto;
        bool middle;
        DropPosition position;
        std::vector<std::string> roots;  // afterwards
        std::size_t childrenOfFirst;
    };
    for (const Case& c : std::vector<Case>{
             {2, 0, false, DropPosition::Before, {"&Help", "&File", "&Edit"}, 0},
             {1, 0, true, DropPosition::Child, {"&Help", "&Edit"}, 1},
         }) {
        nodes = editor.trvItems->Items()->All();
        const POINT at = PointOnNode(tree, nodes[static_cast<std::size_t>(c.onto)], c.middle);
        // The mouse as the system queues it while the button is down, then let go.
        ::PostMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        ::PostMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        TTreeNode* target = nullptr;
        DropPosition position = DropPosition::After;
        ASSERT_TRUE(system.DragTreeNode(*editor.trvItems,
                                        nodes[static_cast<std::size_t>(c.dragged)], target,
                                        position));
        EXPECT_EQ(target, nodes[static_cast<std::size_t>(c.onto)]);
        EXPECT_EQ(position, c.position);
        EXPECT_EQ(::GetCapture(), nullptr);
        editor.DropNode(nodes[static_cast<std::size_t>(c.dragged)], target, position);
        std::vector<std::string> roots;
        for (const auto& node : editor.trvItems->Items()->Roots())
            roots.push_back(node->Text());
        EXPECT_EQ(roots, c.roots);
        EXPECT_EQ(editor.trvItems->Items()->Roots()[0]->Children().size(), c.childrenOfFirst);
    }
    // Esc ends a drag without a drop.
    nodes = editor.trvItems->Items()->All();
    ::PostMessageA(tree, WM_KEYDOWN, VK_ESCAPE, 0);
    TTreeNode* target = nullptr;
    DropPosition position = DropPosition::After;
    EXPECT_FALSE(system.DragTreeNode(*editor.trvItems, nodes[0], target, position));
    // The menu itself waits for OK.
    ASSERT_EQ(root.Items().size(), 3u);
    EXPECT_EQ(root.Items()[0]->caption, "&File");
    editor.Hide();
    w.app.RemoveForm(editor);
}

}  // namespace
}  // namespace setup::ui::testing
