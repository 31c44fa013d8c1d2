#include "setup/ui/shell_controls.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "setup/forms/persistent.h"
#include "setup/ui/application.h"
#include "setup/ui/form.h"
#include "setup/ui/shell_commands.h"
#include "setup/ui/menus.h"
#include "setup/ui/shell_drop.h"
#include "setup/ui/shell_send_to.h"
#include "setup/ui/shell_transfer.h"
#include "setup/ui/tests/fake_shell_namespace.h"
#include "setup/ui/tests/recording_fakes.h"
#include "setup/ui/tests/shell_test_texts.h"

namespace setup::ui::testing {
namespace {

class ShellControlsTest : public ::testing::Test
{
protected:
    ShellControlsTest() : app(loop, nullptr, &timers)
    {
        app.shellNamespace = &shell;
        app.AddForm(form);
        shell.Add("C:\\Work\\Beta\\Deep");
        shell.Add("C:\\Work\\alpha");
        shell.Add("C:\\Work\\.cache", false, true);
        shell.Add("C:\\Work\\notes.txt", true);
        shell.Add("C:\\Work\\Setup.exe", true);
        shell.Add("C:\\Work\\hidden.txt", true, true);
    }
    ~ShellControlsTest() override { app.RemoveForm(form); }

    template <class T>
    T* Make()
    {
        auto* control = new T(&form);
        control->SetParent(&form);
        return control;
    }

    TTreeNode* Root(TNsShellTree& tree) { return tree.Items()->Roots().front().get(); }

    FakeShellNamespace shell;
    ScriptedLoop loop;
    ManualTimers timers;
    // Outlives the form, whose controls hold watches of it.
    FakeFolderWatchService watches;
    TApplication app;
    TForm form;
};

TEST(ShellIdList, CountsAndCutsOnlyWellFormedChains)
{
    const IdList two = ConcatIdLists(MakeIdItem("a"), MakeIdItem("bc"));
    struct Case
    {
        const char* what;
        IdList list;
        std::optional<std::size_t> count;
        std::size_t size;
    };
    const Case cases[] = {
        {"missing", {}, std::nullopt, 0},
        {"desktop", DesktopIdList(), 0, 2},
        {"two items", two, 2, 9},
        {"no terminator", two.substr(0, 7), std::nullopt, 0},
        {"count past the end",
         std::string("\x09\x00"
                     "ab\x00\x00",
                     6),
         std::nullopt, 0},
        {"count below its own size", std::string("\x01\x00\x00\x00", 4), std::nullopt, 0},
        {"bytes after the terminator", two + "junk", 2, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IdListCount(c.list), c.count);
        EXPECT_EQ(IdListSize(c.list), c.size);
    }
    EXPECT_EQ(IdListParent(two, 0), two);
    EXPECT_EQ(IdListParent(two, 1), MakeIdItem("a"));
    EXPECT_EQ(IdListParent(two, 2), DesktopIdList());
    EXPECT_EQ(IdListParent(two, 3), IdList{});
    EXPECT_EQ(IdListItem(two, 1), MakeIdItem("bc"));
    EXPECT_EQ(IdListItem(two, 2), IdList{});
    EXPECT_EQ(IdListItem(DesktopIdList(), 0), IdList{});
    EXPECT_EQ(ConcatIdLists({}, MakeIdItem("a")), MakeIdItem("a"));
    EXPECT_EQ(ConcatIdLists({}, {}), IdList{});
}

TEST_F(ShellControlsTest, LocatorStoresAndRestoresItsFolder)
{
    const IdList work = *shell.ParsePath("C:\\Work");
    const auto withSize = [](std::uint32_t size, const std::string& bytes) {
        std::string record(1, '\0');
        for (int shift = 0; shift < 32; shift += 8)
            record.push_back(static_cast<char>((size >> shift) & 0xFF));
        return record + bytes;
    };
    struct Case
    {
        const char* what;
        std::string stored;
        TNsShellLocator::Kind kind;
        std::uint8_t special;
        std::string path;
    };
    const Case cases[] = {
        {"a folder", withSize(IdListSize(work), work), TNsShellLocator::IdListKind, 50, "C:\\Work"},
        {"a special folder", std::string("\x01\x11", 2), TNsShellLocator::SpecialKind, 17, ""},
        {"count 0 is the desktop special folder", withSize(0, ""), TNsShellLocator::SpecialKind, 0,
         ""},
        // Stored bytes are not trusted: a count past the record or a broken chain is ignored.
        {"count past the record", withSize(4000, work), TNsShellLocator::IdListKind, 50, ""},
        {"chain past its count", withSize(4, work), TNsShellLocator::IdListKind, 50, ""},
        {"truncated", std::string("\x00\x10", 2), TNsShellLocator::IdListKind, 50, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TNsShellLocator locator([this] { return &shell; });
        locator.Restore(c.stored);
        EXPECT_EQ(locator.LocatorKind(), c.kind);
        EXPECT_EQ(locator.SpecialFolder(), c.special);
        EXPECT_EQ(locator.GetPath(), c.path);
        if (c.kind == TNsShellLocator::IdListKind && !c.path.empty()) {
            EXPECT_EQ(locator.Stored(), c.stored);
        }
    }
    TNsShellLocator computer([this] { return &shell; });
    computer.Restore(std::string("\x01\x11", 2));
    EXPECT_EQ(computer.GetIdList(), MakeIdItem("My Computer"));
}

TEST_F(ShellControlsTest, LocatorTellsOnlyOfRealChanges)
{
    TNsShellLocator locator([this] { return &shell; });
    int changes = 0;
    locator.onChange = [&] { ++changes; };
    locator.SetIdList(DesktopIdList());
    EXPECT_EQ(changes, 0);
    locator.SetPath("C:\\Work");
    locator.SetPath("c:\\work");
    EXPECT_EQ(changes, 1);
    locator.SetPath("C:\\Nowhere");  // unparsable: the desktop
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(locator.GetIdList(), DesktopIdList());
    locator.SetSpecialFolder(17);
    locator.SetIdList(MakeIdItem("My Computer"));
    EXPECT_EQ(changes, 4);
}

TEST_F(ShellControlsTest, TreeListsFoldersInOrderAndHiddenOnlyWhenAsked)
{
    auto* tree = Make<TNsShellTree>();
    tree->FillTree();
    ASSERT_EQ(tree->Items()->Roots().size(), 1u);
    EXPECT_EQ(Root(*tree)->Text(), "Desktop");
    // The virtual Control Panel needs nstoVirtualFolders, which the default has.
    EXPECT_EQ(ChildTexts(Root(*tree)), (std::vector<std::string>{"Control Panel", "My Computer"}));

    tree->SetSelectedPath("C:\\Work");
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work");
    EXPECT_EQ(ChildTexts(tree->Selected()->Parent()), (std::vector<std::string>{"Work"}));
    tree->ExpandNode(tree->Selected());
    EXPECT_EQ(ChildTexts(tree->Selected()), (std::vector<std::string>{".cache", "alpha", "Beta"}));

    tree->options &= ~nstoShowHidden;
    tree->FillTree();
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work");
    tree->ExpandNode(tree->Selected());
    EXPECT_EQ(ChildTexts(tree->Selected()), (std::vector<std::string>{"alpha", "Beta"}));
}

TEST_F(ShellControlsTest, TreeSelectsTheDeepestLevelAndVirtualFoldersHaveNoPath)
{
    auto* tree = Make<TNsShellTree>();
    tree->FillTree();
    tree->SetSelectedPath("C:\\Work\\Beta\\Deep");
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work\\Beta\\Deep");
    EXPECT_EQ(tree->Selected()->Path('\\'), "Desktop\\My Computer\\C:\\Work\\Beta\\Deep");

    tree->NavigateTo(MakeIdItem("Control Panel"));
    EXPECT_EQ(tree->Selected()->Text(), "Control Panel");
    EXPECT_EQ(tree->GetSelectedPath(), "");

    tree->SetSelectedPath("");
    EXPECT_EQ(tree->Selected(), Root(*tree));
}

TEST_F(ShellControlsTest, TreeRefreshFollowsTheDiskAndMovesALostSelectionUp)
{
    auto* tree = Make<TNsShellTree>();
    tree->FillTree();
    tree->SetSelectedPath("C:\\Work\\Beta\\Deep");
    TTreeNode* beta = tree->Selected()->Parent();
    shell.Add("C:\\Work\\Gamma");
    shell.Remove("C:\\Work\\Beta\\Deep");
    tree->RefreshTree();
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work\\Beta");
    EXPECT_EQ(tree->Selected(), beta);
    EXPECT_EQ(ChildTexts(beta->Parent()),
              (std::vector<std::string>{".cache", "alpha", "Beta", "Gamma"}));
    EXPECT_TRUE(beta->Children().empty());
}

TEST_F(ShellControlsTest, ExpandingAListedNodeCatchesChangesNeverReported)
{
    auto* tree = Make<TNsShellTree>();
    tree->FillTree();
    tree->SetSelectedPath("C:\\Work\\Beta");
    TTreeNode* beta = tree->Selected();
    tree->ExpandNode(beta);
    EXPECT_EQ(ChildTexts(beta), (std::vector<std::string>{"Deep"}));
    // A change below the watched drive's direct children may never be reported.
    shell.Add("C:\\Work\\Beta\\Late");
    tree->ExpandNode(beta);
    EXPECT_EQ(ChildTexts(beta), (std::vector<std::string>{"Deep", "Late"}));
}

TEST_F(ShellControlsTest, ListShowsFolderContentsFilteredAndSorted)
{
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    EXPECT_EQ(list->Captions(),
              (std::vector<std::string>{".cache", "alpha", "Beta", "hidden.txt", "notes.txt",
                                        "Setup.exe"}));
    list->options &= ~nsloShowHidden;
    list->FillList();
    EXPECT_EQ(list->Captions(),
              (std::vector<std::string>{"alpha", "Beta", "notes.txt", "Setup.exe"}));
    // Folders stay whatever the filter says.
    list->SetFileFilter("*.TXT;;*.doc");
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{"alpha", "Beta", "notes.txt"}));
    EXPECT_EQ(list->ItemPath(2), "C:\\Work\\notes.txt");
    EXPECT_TRUE(list->IsFolderItem(0));
    EXPECT_FALSE(list->IsFolderItem(2));
}

TEST_F(ShellControlsTest, ListRenamesThroughTheShell)
{
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    const int notes = 4;
    ASSERT_EQ(list->Item(notes).caption, "notes.txt");
    EXPECT_TRUE(list->RenameItem(notes, "todo.txt"));
    EXPECT_EQ(list->Item(notes).caption, "todo.txt");
    EXPECT_EQ(list->ItemPath(notes), "C:\\Work\\todo.txt");
    EXPECT_TRUE(shell.ParsePath("C:\\Work\\todo.txt").has_value());
    EXPECT_FALSE(list->RenameItem(notes, "Setup.exe"));  // the name is taken
    EXPECT_FALSE(list->RenameItem(99, "x"));
    list->RefreshList();
    EXPECT_EQ(list->Item(5).caption, "todo.txt");
}

TEST_F(ShellControlsTest, ListKeysOpenFoldersAndGoUp)
{
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    list->SetItemIndex(2);  // Beta
    EXPECT_TRUE(list->KeyCommand(kKeyEnter));
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work\\Beta");
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{"Deep"}));
    EXPECT_TRUE(list->KeyCommand(kKeyBack));
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work");

    list->options |= nsloDontChangeFolder;
    list->SetItemIndex(2);
    list->KeyCommand(kKeyEnter);
    list->KeyCommand(kKeyBack);
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work");
}

TEST_F(ShellControlsTest, TreeAndListFollowEachOther)
{
    auto* tree = Make<TNsShellTree>();
    auto* list = Make<TNsShellList>();
    tree->FillTree();
    tree->SetShellList(list);
    tree->SetSelectedPath("C:\\Work");
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work");
    EXPECT_EQ(list->Count(), 6u);

    // Entering a folder from the list moves the tree.
    list->SetItemIndex(2);
    list->OpenSelection();
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work\\Beta");
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work\\Beta");
    list->GoUp(1);
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work");

    // A node chosen in the window shows its folder.
    tree->SelectedFromWindow(tree->Selected()->Parent());
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\");

    list->options |= nsloHideFoldersWhenLinkedToTree;
    tree->SetSelectedPath("C:\\Work");
    list->FillList();
    EXPECT_EQ(list->Captions(),
              (std::vector<std::string>{"hidden.txt", "notes.txt", "Setup.exe"}));
}

TEST_F(ShellControlsTest, KeyboardMovesReachTheListOnlyOnceTheyPause)
{
    auto* tree = Make<TNsShellTree>();
    auto* list = Make<TNsShellList>();
    tree->BaseFolder()->SetPath("C:\\Work");
    tree->SetShellList(list);
    TTreeNode* root = Root(*tree);
    TTreeNode* alpha = root->Children()[1].get();
    TTreeNode* beta = root->Children()[2].get();
    ASSERT_EQ(beta->Text(), "Beta");
    timers.running.clear();

    tree->SelectedFromWindow(alpha, true);
    tree->SelectedFromWindow(beta, true);
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work");
    ASSERT_EQ(timers.running.size(), 1u);
    EXPECT_EQ(timers.running.begin()->second.first, 500u);
    timers.TickAll();
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work\\Beta");
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work\\Beta");

    // A click goes through at once and drops a pending move.
    tree->SelectedFromWindow(alpha, true);
    tree->SelectedFromWindow(root, false);
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work");
    EXPECT_TRUE(timers.running.empty());

    // Opening from the list first takes the move the tree was holding, which clears the list's
    // old selection.
    tree->SelectedFromWindow(beta, true);
    list->SetItemIndex(1);  // alpha, in the folder the list still shows
    list->OpenSelection();
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work\\Beta");
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work\\Beta");
}

TEST_F(ShellControlsTest, ComboListsThePathChainWithoutItsSiblings)
{
    auto* combo = Make<TNsShellCombo>();
    combo->GetFolder()->SetPath("C:\\Work\\Beta\\Deep");
    std::vector<std::pair<std::string, int>> entries;
    for (std::size_t i = 0; i < combo->Items()->Count(); ++i)
        entries.emplace_back((*combo->Items())[i], combo->Level(static_cast<int>(i)));
    const std::vector<std::pair<std::string, int>> expected = {
        // The virtual Control Panel is listed: the default options take such folders.
        {"Desktop", 0}, {"Control Panel", 1}, {"My Computer", 1}, {"C:", 2},
        {"Work", 3},    {"Beta", 4},          {"Deep", 5},
    };
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(combo->ItemIndex(), 6);

    combo->GetFolder()->Clear();
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Items()->Count(), 4u);
}

TEST_F(ShellControlsTest, ComboDrivesItsListAndTakesOneLinkOnly)
{
    auto* combo = Make<TNsShellCombo>();
    auto* list = Make<TNsShellList>();
    auto* tree = Make<TNsShellTree>();
    combo->SetShellList(list);
    combo->SetShellTree(tree);  // ignored: the list is linked
    EXPECT_EQ(combo->ShellTree(), nullptr);
    combo->FillCombo();
    combo->ItemIndexFromWindow(3);  // C:
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\");
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{"Work"}));

    list->SetItemIndex(0);
    list->OpenSelection();
    EXPECT_EQ(combo->GetFolder()->GetPath(), "C:\\Work");
    EXPECT_EQ(combo->ItemIndex(), 4);
    // Backspace selects the parent entry of the combo box.
    list->KeyCommand(kKeyBack);
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\");
}

TShiftState Shift(std::initializer_list<TShiftStateItem> items)
{
    TShiftState shift;
    for (TShiftStateItem item : items)
        shift.Include(item);
    return shift;
}

TEST(ShellCommandKeys, FollowTheShortcutTexts)
{
    struct Case
    {
        std::uint16_t key;
        TShiftState shift;
        ShellCommand command;
    };
    const Case cases[] = {
        {'C', Shift({ssCtrl}), ShellCommand::Copy},
        {'X', Shift({ssCtrl}), ShellCommand::Cut},
        {'V', Shift({ssCtrl}), ShellCommand::Paste},
        {'A', Shift({ssCtrl}), ShellCommand::SelectAll},
        {0x2E, {}, ShellCommand::Delete},
        {0x2E, Shift({ssShift}), ShellCommand::Delete},
        {0x2E, Shift({ssCtrl}), ShellCommand::None},
        {0x71, {}, ShellCommand::Rename},
        {kKeyF5, {}, ShellCommand::Refresh},
        {'C', {}, ShellCommand::None},
        {'C', Shift({ssCtrl, ssShift}), ShellCommand::None},
        {0, {}, ShellCommand::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShellCommandOfKey(c.key, c.shift), c.command) << c.key << " " << c.shift.bits;
}

TEST_F(ShellControlsTest, TreeKeysRunTheShellsVerbsAndRefresh)
{
    auto* tree = Make<TNsShellTree>();
    tree->FillTree();
    // The root has no parent to ask for its menu.
    EXPECT_TRUE(tree->KeyCommand(0x2E));
    EXPECT_TRUE(shell.verbs.empty());

    tree->SetSelectedPath("C:\\Work\\alpha");
    EXPECT_TRUE(tree->KeyCommand('C', Shift({ssCtrl})));
    tree->SetSelectedPath("C:\\Work\\Beta");
    tree->ExpandNode(tree->Selected());
    EXPECT_TRUE(tree->KeyCommand('V', Shift({ssCtrl})));
    EXPECT_EQ(ChildTexts(tree->Selected()), (std::vector<std::string>{"alpha", "Deep"}));

    tree->SetSelectedPath("C:\\Work\\Beta\\Deep");
    EXPECT_TRUE(tree->KeyCommand(0x2E, Shift({ssShift})));
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work\\Beta");
    EXPECT_EQ(ChildTexts(tree->Selected()), (std::vector<std::string>{"alpha"}));
    EXPECT_EQ(shell.verbs, (std::vector<std::string>{"copy C:\\Work\\alpha", "paste C:\\Work\\Beta",
                                                     "delete C:\\Work\\Beta\\Deep"}));
    EXPECT_FALSE(tree->KeyCommand('Q'));
    tree->options &= ~nstoDefaultKeyHandling;
    EXPECT_FALSE(tree->KeyCommand(0x2E));
}

TEST_F(ShellControlsTest, TreeRenamesAllowedNodesAndTheLinkedListFollows)
{
    auto* tree = Make<TNsShellTree>();
    auto* list = Make<TNsShellList>();
    tree->FillTree();
    tree->SetShellList(list);
    EXPECT_FALSE(tree->CanEditNode(Root(*tree)));
    tree->KeyCommand(0x71);  // F2 on the root
    EXPECT_EQ(tree->EditingNode(), nullptr);

    tree->SetSelectedPath("C:\\Work\\Beta");
    TTreeNode* beta = tree->Selected();
    tree->ExpandNode(beta);
    ASSERT_TRUE(tree->KeyCommand(0x71));
    EXPECT_EQ(tree->EditingNode(), beta);
    const std::string name = "Zeta";
    tree->EditedFromWindow(beta, &name);
    EXPECT_EQ(tree->EditingNode(), nullptr);
    EXPECT_EQ(beta->Text(), "Zeta");
    EXPECT_EQ(ChildTexts(beta->Parent()), (std::vector<std::string>{".cache", "alpha", "Zeta"}));
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work\\Zeta");
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work\\Zeta");
    // A child below the renamed node follows the new name.
    tree->SetSelectedPath("C:\\Work\\Zeta\\Deep");
    EXPECT_EQ(tree->GetSelectedPath(), "C:\\Work\\Zeta\\Deep");

    // A cancelled edit or a refused name changes nothing.
    tree->EditedFromWindow(tree->Selected(), nullptr);
    EXPECT_FALSE(tree->RenameNode(tree->Selected()->Parent(), "alpha"));
    EXPECT_EQ(tree->Selected()->Parent()->Text(), "Zeta");
}

TEST_F(ShellControlsTest, ListKeysMoveAndDeleteThroughTheShell)
{
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    list->SetItemIndex(4);  // notes.txt
    EXPECT_TRUE(list->KeyCommand('X', Shift({ssCtrl})));
    list->SetItemIndex(2);  // Beta
    list->KeyCommand(kKeyEnter);
    EXPECT_TRUE(list->KeyCommand('V', Shift({ssCtrl})));
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{"Deep", "notes.txt"}));
    list->SetItemIndex(0);
    EXPECT_TRUE(list->KeyCommand(0x2E));
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{"notes.txt"}));
    list->KeyCommand(kKeyBack);
    EXPECT_EQ(list->Captions(),
              (std::vector<std::string>{".cache", "alpha", "Beta", "hidden.txt", "Setup.exe"}));
    EXPECT_EQ(shell.verbs,
              (std::vector<std::string>{"cut C:\\Work\\notes.txt", "paste C:\\Work\\Beta",
                                        "delete C:\\Work\\Beta\\Deep"}));
}

TEST_F(ShellControlsTest, ListSortsByTheClickedColumnAndTurnsRoundOnASecondClick)
{
    shell.SetSize("C:\\Work\\notes.txt", 5000);
    shell.SetSize("C:\\Work\\Setup.exe", 10);
    shell.SetSize("C:\\Work\\hidden.txt", 2048);
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    list->SetItemIndex(4);  // notes.txt
    EXPECT_EQ(list->SortColumn(), 0);
    EXPECT_TRUE(list->SortAscending());

    list->ColumnClickFromWindow(0);
    EXPECT_EQ(list->SortKey(), -1);
    EXPECT_FALSE(list->SortAscending());
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{"Setup.exe", "notes.txt", "hidden.txt",
                                                          "Beta", "alpha", ".cache"}));
    // The selection moves with its item.
    EXPECT_EQ(list->Item(list->ItemIndex()).caption, "notes.txt");

    list->ColumnClickFromWindow(1);
    EXPECT_EQ(list->SortKey(), 2);
    EXPECT_EQ(list->SortColumn(), 1);
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{".cache", "alpha", "Beta", "Setup.exe",
                                                          "hidden.txt", "notes.txt"}));
    EXPECT_EQ(list->Item(3).subItems, (std::vector<std::string>{"1KB", "exe File", ""}));
    EXPECT_EQ(list->Item(5).subItems.front(), "5KB");
    EXPECT_EQ(list->Item(0).subItems.front(), "");  // folders have no size

    // A refill keeps the order asked for.
    list->FillList();
    EXPECT_EQ(list->Captions().back(), "notes.txt");
}

TEST_F(ShellControlsTest, ListRenamesThroughItsCaptionEditor)
{
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    list->SetItemIndex(4);  // notes.txt
    EXPECT_TRUE(list->KeyCommand(0x71));  // F2
    EXPECT_EQ(list->EditingItem(), 4);
    EXPECT_EQ(list->EditTextOf(4), "notes.txt");
    const std::string typed = "todo.txt";
    list->EditedFromWindow(4, &typed);
    EXPECT_EQ(list->EditingItem(), -1);
    EXPECT_EQ(list->Item(4).caption, "todo.txt");
    EXPECT_TRUE(shell.ParsePath("C:\\Work\\todo.txt").has_value());

    // A name the shell refuses, or a cancelled edit, leaves the caption as it was.
    list->EditItem(4);
    const std::string taken = "Setup.exe";
    list->EditedFromWindow(4, &taken);
    EXPECT_EQ(list->Item(4).caption, "todo.txt");
    list->EditItem(4);
    list->EditedFromWindow(4, nullptr);
    EXPECT_EQ(list->Item(4).caption, "todo.txt");

    list->readOnly = true;
    list->EditItem(4);
    EXPECT_EQ(list->EditingItem(), -1);
}

TEST_F(ShellControlsTest, ListSelectsAllAndDeletesTheWholeSelection)
{
    auto* list = Make<TNsShellList>();
    list->options &= ~nsloShowHidden;
    list->Folder()->SetPath("C:\\Work");
    // A single-selection list keeps its one item.
    list->SetItemIndex(2);
    EXPECT_TRUE(list->KeyCommand('A', Shift({ssCtrl})));
    EXPECT_EQ(list->SelectedIndexes(), (std::vector<std::size_t>{2}));


    list->SetMultiSelect(true);
    list->SetItemIndex(1);  // Beta
    list->SetSelected(2, true);  // notes.txt
    EXPECT_TRUE(list->KeyCommand(0x2E, Shift({ssShift})));
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{"alpha", "Setup.exe"}));
    EXPECT_EQ(shell.verbs, (std::vector<std::string>{"delete C:\\Work\\Beta"}));
    list->KeyCommand('A', Shift({ssCtrl}));
    EXPECT_EQ(list->SelectedIndexes(), (std::vector<std::size_t>{0, 1}));
}

TEST_F(ShellControlsTest, ListOpensFilesWithTheirDefaultCommand)
{
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    list->SetItemIndex(4);  // notes.txt
    list->OpenFromWindow();
    EXPECT_EQ(shell.verbs, (std::vector<std::string>{"open C:\\Work\\notes.txt"}));
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work");
}

TEST_F(ShellControlsTest, ListColumnsTakeTheStoredWidthsAndKeepTheUsersOwn)
{
    shell.storedColumnWidths = std::string("\x96\x00\x28\x00", 4);
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    auto widths = [&] {
        std::vector<std::int32_t> all;
        for (const TListColumn& column : list->Columns())
            all.push_back(column.width);
        return all;
    };
    EXPECT_EQ(widths(), (std::vector<std::int32_t>{150, 40, 100, 120}));
    list->ColumnWidthFromWindow(2, 77);
    list->Folder()->SetPath("C:\\Work\\Beta");
    EXPECT_EQ(widths(), (std::vector<std::int32_t>{150, 40, 77, 120}));
    // A new stored layout replaces them.
    shell.storedColumnWidths.clear();
    list->FillList();
    EXPECT_EQ(widths(), (std::vector<std::int32_t>{200, 60, 100, 120}));
}

TEST_F(ShellControlsTest, ListDrawsHiddenItemsDimmed)
{
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    ASSERT_EQ(list->Item(0).caption, ".cache");
    EXPECT_TRUE(list->Item(0).cut);
    EXPECT_FALSE(list->Item(1).cut);
    const TColor text = TColor(0);
    for (int item : {0, 1}) {
        TNsCustomDraw draw(kDrawStageItem | kDrawStagePrePaint, *list->Font(), text,
                           TColor(0xFFFFFF), true);
        list->CustomDraw(draw, item);
        draw.Apply(true);
        EXPECT_EQ(draw.TextColor(), item == 0 ? clGrayText : text);
    }
}

TEST_F(ShellControlsTest, ListContextMenuRunsTheChosenCommandOrRenamesInPlace)
{
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    std::vector<std::string> hints;
    const forms::MethodInfo hinted{
        "Hinted", forms::HandlerOf<const std::string&>(
                      [&hints](forms::TObject&, forms::TObject*, const std::string& hint) {
                          hints.push_back(hint);
                      })};
    static_cast<forms::TMethod&>(list->onPopupHint) = {&hinted, &form};
    const std::vector<std::string> withRename{"Open", "Cut", "Copy", "Delete", "Rename"};

    // Nothing selected: no menu.
    list->ContextMenuFromWindow(5, 5);
    EXPECT_TRUE(shell.menusShown.empty());

    list->SetItemIndex(4);  // notes.txt
    shell.menuChoice = 0;
    list->ContextMenuFromWindow(5, 5);
    ASSERT_EQ(shell.menusShown.size(), 1u);
    EXPECT_EQ(shell.menusShown.back(), withRename);
    EXPECT_EQ(hints.front(), "Open help");
    EXPECT_TRUE(shell.verbs.empty());

    shell.menuChoice = kRenameShellCommand;
    list->ContextMenuFromWindow(5, 5);
    EXPECT_EQ(list->EditingItem(), 4);
    EXPECT_TRUE(shell.verbs.empty());
    list->EditedFromWindow(4, nullptr);

    shell.menuChoice = 1003;
    list->ContextMenuFromWindow(5, 5);
    EXPECT_EQ(shell.verbs, (std::vector<std::string>{"delete C:\\Work\\notes.txt"}));

    // A read-only list offers no renaming; a list without shell menus shows none.
    list->RefreshList();
    list->SetItemIndex(4);
    list->readOnly = true;
    shell.menuChoice = 0;
    list->ContextMenuFromWindow(5, 5);
    EXPECT_EQ(shell.menusShown.back().size(), 4u);
    list->options &= ~nsloContextMenus;
    list->ContextMenuFromWindow(5, 5);
    EXPECT_EQ(shell.menusShown.size(), 4u);
}

TEST_F(ShellControlsTest, TreeContextMenuServesEveryNodeButTheRoot)
{
    auto* tree = Make<TNsShellTree>();
    tree->BaseFolder()->SetPath("C:\\Work");
    TTreeNode* root = Root(*tree);
    tree->ContextMenuFromWindow(root, 0, 0);
    EXPECT_TRUE(shell.menusShown.empty());

    TTreeNode* alpha = root->Children()[1].get();
    ASSERT_EQ(alpha->Text(), "alpha");
    shell.menuChoice = kRenameShellCommand;
    tree->ContextMenuFromWindow(alpha, 0, 0);
    EXPECT_EQ(tree->EditingNode(), alpha);
    tree->EditedFromWindow(alpha, nullptr);

    shell.menuChoice = 1003;
    tree->ContextMenuFromWindow(alpha, 0, 0);
    EXPECT_EQ(shell.verbs, (std::vector<std::string>{"delete C:\\Work\\alpha"}));
    EXPECT_EQ(ChildTexts(root), (std::vector<std::string>{".cache", "Beta"}));
}

TEST_F(ShellControlsTest, DropsOntoTheListGoToTheItemOrTheShownFolder)
{
    shell.Add("C:\\Other\\a.txt", true);
    auto* list = Make<TNsShellList>();
    list->options &= ~nsloShowHidden;
    list->Folder()->SetPath("C:\\Work");
    ASSERT_EQ(list->Item(1).caption, "Beta");
    FakeDragData data;
    data.items = {*shell.ParsePath("C:\\Other\\a.txt")};
    ShellDrop drop(shell, *list);

    // Over a folder item the item's folder answers and the item lights up.
    EXPECT_EQ(drop.Enter(data, kKeyLeftButton, 1, {}, kDropCopy | kDropMove), 3u);
    EXPECT_EQ(list->DropHighlight(), 1);
    // Over a file, which takes no drops, the shown folder answers and nothing lights up.
    EXPECT_EQ(drop.Over(kKeyLeftButton, 2, {}, kDropCopy), 1u);
    EXPECT_EQ(list->DropHighlight(), -1);
    EXPECT_EQ(drop.Over(kKeyLeftButton, 1, {}, kDropCopy), 1u);
    // The drop itself reports no buttons; the items allow copying only.
    shell.allowedEffects = kDropCopy;
    EXPECT_EQ(drop.Drop(data, 0, 1, {}, kDropMove | kDropCopy), 1u);
    EXPECT_EQ(shell.drops, (std::vector<std::string>{"copy C:\\Other\\a.txt -> C:\\Work\\Beta"}));
    EXPECT_EQ(list->DropHighlight(), -1);
    EXPECT_TRUE(shell.ParsePath("C:\\Work\\Beta\\a.txt").has_value());

    // Nothing the items allow: nothing is dropped.
    shell.allowedEffects = kDropLink;
    drop.Enter(data, kKeyLeftButton, -1, {}, kDropCopy);
    EXPECT_EQ(drop.Drop(data, 0, -1, {}, kDropCopy), 0u);
    // Onto empty space: into the shown folder, which the list then shows.
    shell.allowedEffects = kDropAll;
    drop.Enter(data, kKeyLeftButton, -1, {}, kDropMove);
    EXPECT_EQ(drop.Drop(data, 0, -1, {}, kDropMove), 2u);
    EXPECT_EQ(shell.drops.back(), "move C:\\Other\\a.txt -> C:\\Work");
    EXPECT_EQ(list->Captions(),
              (std::vector<std::string>{"alpha", "Beta", "a.txt", "notes.txt", "Setup.exe"}));
}

TEST_F(ShellControlsTest, TheListsOwnItemsDropBackOnlyWithTheRightButton)
{
    auto* list = Make<TNsShellList>();
    list->SetMultiSelect(true);
    list->options &= ~nsloShowHidden;
    list->Folder()->SetPath("C:\\Work");
    list->SetItemIndex(2);  // notes.txt
    list->SetSelected(3, true);  // Setup.exe
    FakeDragData data;
    data.items = {*shell.ParsePath("C:\\Work\\notes.txt")};
    ShellDrop drop(shell, *list);
    std::vector<std::uint32_t> answers;
    shell.duringDrag = [&] {
        answers.push_back(drop.Enter(data, kKeyLeftButton, -1, {}, kDropAll));
        answers.push_back(drop.Over(kKeyRightButton, -1, {}, kDropAll));
        answers.push_back(drop.Over(kKeyLeftButton, 1, {}, kDropMove));
        drop.Enter(data, kKeyRightButton, -1, {}, kDropAll);
        answers.push_back(drop.Drop(data, 0, -1, {}, kDropCopy | kDropMove));
    };
    shell.dragsDrop = true;
    list->BeginDragFromWindow(false);
    EXPECT_EQ(shell.drags,
              (std::vector<std::string>{"1 7 C:\\Work\\notes.txt C:\\Work\\Setup.exe"}));
    // Left over empty space: nothing; right: a copy, without asking the folder; over another
    // folder: what it takes; a right drop onto empty space: into the folder, never as a move.
    EXPECT_EQ(answers, (std::vector<std::uint32_t>{0, kDropCopy, kDropMove, kDropCopy}));
    EXPECT_EQ(shell.drops, (std::vector<std::string>{"copy C:\\Work\\notes.txt -> C:\\Work"}));

    list->options &= ~nsloOleDrag;
    list->BeginDragFromWindow(true);
    EXPECT_EQ(shell.drags.size(), 1u);
}

TEST_F(ShellControlsTest, TreeDropsGoToTheNodeUnderTheMouseButNeverTheRoot)
{
    shell.Add("C:\\Other\\a.txt", true);
    auto* tree = Make<TNsShellTree>();
    tree->BaseFolder()->SetPath("C:\\Work");
    TTreeNode* root = Root(*tree);
    TTreeNode* beta = root->Children()[2].get();
    FakeDragData data;
    data.items = {*shell.ParsePath("C:\\Other\\a.txt")};
    ShellDrop drop(shell, *tree);
    const auto hit = [](TTreeNode* node) { return reinterpret_cast<std::intptr_t>(node); };

    EXPECT_EQ(drop.Enter(data, kKeyLeftButton, hit(root), {}, kDropCopy), 0u);
    EXPECT_EQ(drop.Over(kKeyLeftButton, 0, {}, kDropCopy), 0u);
    EXPECT_EQ(drop.Over(kKeyLeftButton, hit(beta), {}, kDropCopy), 1u);
    EXPECT_EQ(tree->DropHighlight(), beta);
    EXPECT_EQ(drop.Drop(data, 0, hit(beta), {}, kDropCopy), 1u);
    EXPECT_EQ(tree->DropHighlight(), nullptr);
    EXPECT_EQ(shell.drops, (std::vector<std::string>{"copy C:\\Other\\a.txt -> C:\\Work\\Beta"}));

    // Resting on a closed node opens it.
    ASSERT_FALSE(beta->expanded);
    tree->RestedOn(hit(beta));
    EXPECT_TRUE(beta->expanded);
    EXPECT_EQ(ChildTexts(beta), (std::vector<std::string>{"Deep"}));

    // Dragging a node offers what its item allows and refreshes after a drop.
    shell.dragsDrop = true;
    tree->BeginDragFromWindow(beta, true);
    EXPECT_EQ(shell.drags, (std::vector<std::string>{"2 7 C:\\Work\\Beta"}));
    tree->BeginDragFromWindow(root, false);
    EXPECT_EQ(shell.drags.size(), 1u);
}

TEST(ShellDrag, ScrollsNearTheEdgesAtMostEveryHundredMilliseconds)
{
    const TRect client{0, 0, 200, 100};
    AutoScroller scroller;
    struct Step
    {
        TPoint at;
        std::uint32_t now;
        int columns;
        int lines;
    } steps[] = {
        {{100, 50}, 1000, 0, 0},  {{10, 50}, 1010, -1, 0}, {{10, 50}, 1100, 0, 0},
        {{10, 50}, 1111, -1, 0},  {{190, 90}, 1300, 1, 1}, {{100, 5}, 1350, 0, 0},
        {{100, 5}, 1401, 0, -1},
    };
    for (const Step& step : steps) {
        const ScrollStep got = scroller.Step(step.at, client, step.now);
        EXPECT_EQ(got.columns, step.columns) << step.now;
        EXPECT_EQ(got.lines, step.lines) << step.now;
    }
}

TEST(ShellDrag, AHoverCountsOnlyWhileTheMouseStaysInItsBox)
{
    HoverWatch hover(4, 4, 400);
    EXPECT_FALSE(hover.Rested({50, 50}, 0));
    EXPECT_FALSE(hover.Rested({52, 48}, 300));
    EXPECT_TRUE(hover.Rested({54, 54}, 401));
    // Once told, the wait starts again.
    EXPECT_FALSE(hover.Rested({54, 54}, 600));
    // Leaving the box starts the wait where the mouse went.
    EXPECT_FALSE(hover.Rested({47, 50}, 900));
    EXPECT_FALSE(hover.Rested({47, 50}, 1200));
    EXPECT_TRUE(hover.Rested({47, 50}, 1301));
}

TEST(ShellMenuActions, RenameIsKnownByItsIdOrItsVerb)
{
    const std::tuple<int, const char*, ShellMenuAction> cases[] = {
        {0, "", ShellMenuAction::None},
        {-1, "", ShellMenuAction::None},
        {1, "", ShellMenuAction::SendTo},
        {999, "rename", ShellMenuAction::SendTo},
        {kRenameShellCommand, "", ShellMenuAction::Rename},
        {1030, "rename", ShellMenuAction::Rename},
        {1003, "delete", ShellMenuAction::Invoke},
    };
    for (const auto& [id, verb, action] : cases)
        EXPECT_EQ(ActionOfMenuCommand(id, verb), action) << id;
    EXPECT_TRUE(ShellPathIsNetwork("\\\\server\\share"));
    EXPECT_FALSE(ShellPathIsNetwork("C:\\Work"));
}

TEST_F(ShellControlsTest, TreeWatchesFixedAndConnectedDrivesAndRefreshesAfterAChange)
{
    watches.drives = {{'A', DriveKind::Removable},     {'C', DriveKind::Fixed},
                      {'D', DriveKind::CdRom},         {'N', DriveKind::Remote, true},
                      {'O', DriveKind::Remote, false}, {'R', DriveKind::RamDisk}};
    app.folderWatch = &watches;
    auto* tree = Make<TNsShellTree>();
    tree->FillTree();
    std::vector<std::string> watched;
    for (const auto& watch : watches.Watches()) {
        watched.push_back(watch.path);
        EXPECT_EQ(watch.filter, kWatchFolderNames);
        EXPECT_TRUE(watch.subtree);
    }
    EXPECT_EQ(watched, (std::vector<std::string>{"C:\\", "N:\\", "R:\\"}));

    tree->SetSelectedPath("C:\\Work");
    tree->ExpandNode(tree->Selected());
    shell.Add("C:\\Work\\Gamma");
    watches.Fire("C:\\");
    ASSERT_EQ(timers.running.size(), 1u);
    EXPECT_EQ(timers.running.begin()->second.first, 2000u);  // the tree has no focus
    EXPECT_EQ(ChildTexts(tree->Selected()).size(), 3u);
    // A second notice before the refresh starts the wait again.
    watches.Fire("C:\\");
    ASSERT_EQ(timers.running.size(), 1u);
    timers.TickAll();
    EXPECT_TRUE(timers.running.empty());
    EXPECT_EQ(ChildTexts(tree->Selected()),
              (std::vector<std::string>{".cache", "alpha", "Beta", "Gamma"}));

    tree->options |= nstoIncludeNonFolders;
    tree->WatchDrives();
    EXPECT_EQ(watches.Watches().front().filter, kWatchFolderNames | kWatchFileNames);
}

TEST_F(ShellControlsTest, ListWatchesItsFolderAloneAndRefreshesAfterAChange)
{
    app.folderWatch = &watches;
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work\\Beta");
    ASSERT_EQ(watches.Watches().size(), 1u);
    EXPECT_EQ(watches.Watches().front().path, "C:\\Work\\Beta");
    EXPECT_EQ(watches.Watches().front().filter, kWatchFolderNames | kWatchFileNames);
    EXPECT_FALSE(watches.Watches().front().subtree);

    shell.Add("C:\\Work\\Beta\\readme.txt", true);
    watches.Fire("C:\\Work\\Beta");
    timers.TickAll();
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{"Deep", "readme.txt"}));
    // Without dynamic refresh nothing is watched.
    list->options &= ~nsloDynamicRefresh;
    list->Folder()->SetPath("C:\\Work");
    EXPECT_TRUE(watches.Watches().empty());
}

TEST_F(ShellControlsTest, ListEntersTheFolderOfAShortcutAndLeavesOtherShortcuts)
{
    shell.Add("C:\\Work\\Deep.LNK", true);
    shell.Add("C:\\Work\\notes.lnk", true);
    shell.links["C:\\Work\\Deep.LNK"] = "C:\\Work\\Beta\\Deep";
    shell.links["C:\\Work\\notes.lnk"] = "C:\\Work\\notes.txt";
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    auto open = [&](const std::string& name) {
        const auto names = list->Captions();
        list->SetItemIndex(
            static_cast<std::int32_t>(std::find(names.begin(), names.end(), name) - names.begin()));
        list->OpenSelection();
    };
    open("notes.lnk");
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work");
    open("Deep.LNK");
    EXPECT_EQ(list->Folder()->GetPath(), "C:\\Work\\Beta\\Deep");
}


TEST_F(ShellControlsTest, TreeNodesShowTheShellsIconsMarksAndExpandButtons)
{
    shell.shared.push_back("C:\\Work\\Beta");
    shell.links["C:\\Work\\alpha"] = "C:\\Elsewhere";
    auto* tree = Make<TNsShellTree>();
    tree->BaseFolder()->SetPath("C:\\Work");
    EXPECT_TRUE(tree->systemImages);
    TTreeNode* root = Root(*tree);
    // The fake's icons: 1 closed, 2 open.
    EXPECT_EQ(root->ImageIndex(), 1);
    EXPECT_EQ(root->selectedIndex, 2);
    struct Shown
    {
        std::string text;
        int overlay;
        bool cut;
        bool hasChildren;
    };
    std::vector<Shown> shown;
    for (const auto& child : root->Children()) {
        EXPECT_EQ(child->ImageIndex(), 1) << child->Text();
        EXPECT_EQ(child->selectedIndex, 2) << child->Text();
        shown.push_back({child->Text(), child->overlayIndex, child->cut, child->hasChildren});
    }
    const std::vector<Shown> expected = {
        {".cache", -1, true, false},
        {"alpha", 1, false, false},  // a shortcut
        {"Beta", 0, false, true},    // shared, with a subfolder not listed yet
    };
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].text, expected[i].text);
        EXPECT_EQ(shown[i].overlay, expected[i].overlay) << shown[i].text;
        EXPECT_EQ(shown[i].cut, expected[i].cut) << shown[i].text;
        EXPECT_EQ(shown[i].hasChildren, expected[i].hasChildren) << shown[i].text;
    }

    // Opened in the window, the node is listed; opened again, it catches what was never told.
    TTreeNode* beta = root->Children()[2].get();
    EXPECT_TRUE(beta->Children().empty());
    tree->ExpandedFromWindow(beta);
    EXPECT_EQ(ChildTexts(beta), (std::vector<std::string>{"Deep"}));
    shell.Add("C:\\Work\\Beta\\Late");
    tree->ExpandedFromWindow(beta);
    EXPECT_EQ(ChildTexts(beta), (std::vector<std::string>{"Deep", "Late"}));
    EXPECT_TRUE(beta->expanded);
}

TEST_F(ShellControlsTest, ListAndComboShowTheShellsMarksAndTheComboItsFolderOpen)
{
    shell.shared.push_back("C:\\Work");
    shell.links["C:\\Work\\notes.txt"] = "C:\\Elsewhere";
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    const auto names = list->Captions();
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(list->Item(i).overlayIndex, names[i] == "notes.txt" ? 1 : -1) << names[i];
        EXPECT_EQ(list->Item(i).imageIndex, 1) << names[i];
    }

    auto* combo = Make<TNsShellCombo>();
    combo->GetFolder()->SetPath("C:\\Work\\Beta");
    ASSERT_EQ((*combo->Items())[combo->ItemIndex()], "Beta");
    for (std::size_t i = 0; i < combo->Items()->Count(); ++i) {
        const TNsImageComboItem item = combo->ImageItem(i);
        const std::string& text = (*combo->Items())[i];
        EXPECT_EQ(item.imageIndex, text == "Beta" ? 2 : 1) << text;
        EXPECT_EQ(item.overlayIndex, text == "Work" ? 0 : -1) << text;
    }
}

TEST_F(ShellControlsTest, ListAsksItsHandlerBeforeTheShellOpensItems)
{
    auto* list = Make<TNsShellList>();
    list->SetMultiSelect(true);
    list->Folder()->SetPath("C:\\Work");
    bool answer = false;
    int asked = 0;
    const forms::MethodInfo opening{
        "Opening", forms::HandlerOf<bool&>([&](forms::TObject&, forms::TObject*, bool& handled) {
            EXPECT_FALSE(handled);
            ++asked;
            handled = answer;
        })};
    static_cast<forms::TMethod&>(list->onDblClickOpen) = {&opening, &form};
    struct Case
    {
        std::vector<std::size_t> selected;
        bool handled;
        int asked;
        std::vector<std::string> verbs;
        std::string folderAfter;
    };
    // .cache 0, alpha 1, Beta 2, hidden.txt 3, notes.txt 4, Setup.exe 5
    const Case cases[] = {
        {{4}, false, 1, {"open C:\\Work\\notes.txt"}, "C:\\Work"},
        {{4}, true, 1, {}, "C:\\Work"},
        {{4, 5}, false, 1, {"open C:\\Work\\notes.txt"}, "C:\\Work"},
        {{4, 5}, true, 1, {}, "C:\\Work"},
        // A folder is entered without asking.
        {{1}, true, 0, {}, "C:\\Work\\alpha"},
    };
    for (const Case& c : cases) {
        list->Folder()->SetPath("C:\\Work");
        shell.verbs.clear();
        asked = 0;
        answer = c.handled;
        list->SetItemIndex(static_cast<std::int32_t>(c.selected.front()));
        for (std::size_t i : c.selected)
            list->SetSelected(i, true);
        list->OpenSelection();
        EXPECT_EQ(asked, c.asked) << c.selected.size() << c.handled;
        EXPECT_EQ(shell.verbs, c.verbs) << c.selected.size() << c.handled;
        EXPECT_EQ(list->Folder()->GetPath(), c.folderAfter);
    }
}

class WherePresenter final : public IMenuPresenter
{
public:
    TMenuItem* Present(TPopupMenu&, int x, int y) override
    {
        shownAt.push_back({x, y});
        return nullptr;
    }
    std::vector<TPoint> shownAt;
};

TEST_F(ShellControlsTest, ListItemMenuHandlerMovesTheMenuAndGivesWayToTheShells)
{
    auto* list = Make<TNsShellList>();
    list->Folder()->SetPath("C:\\Work");
    auto* own = new TPopupMenu(&form);
    WherePresenter presenter;
    own->presenter = &presenter;
    std::vector<std::int32_t> items;
    const forms::MethodInfo asking{
        "Asking", forms::HandlerOf<std::int32_t, TPoint&, TPopupMenu*&>(
                      [&](forms::TObject&, forms::TObject*, std::int32_t item, TPoint& at,
                          TPopupMenu*& menu) {
                          items.push_back(item);
                          at = {at.x + 10, at.y + 20};
                          menu = own;
                      })};
    static_cast<forms::TMethod&>(list->onItemContextMenu) = {&asking, &form};

    // Nothing selected: the handler's menu shows where it said.
    list->ContextMenuFromWindow(5, 5);
    EXPECT_EQ(items, (std::vector<std::int32_t>{-1}));
    EXPECT_EQ(presenter.shownAt, (std::vector<TPoint>{{15, 25}}));
    EXPECT_TRUE(shell.menusShown.empty());

    // A selection: the shell's menu takes the handler's place.
    list->SetItemIndex(4);
    list->ContextMenuFromWindow(5, 5);
    EXPECT_EQ(items, (std::vector<std::int32_t>{-1, 4}));
    EXPECT_EQ(presenter.shownAt.size(), 1u);
    EXPECT_EQ(shell.menusShown.size(), 1u);

    // Without the shell's menus, the handler's shows for the selection too.
    list->options &= ~nsloContextMenus;
    list->ContextMenuFromWindow(5, 5);
    EXPECT_EQ(presenter.shownAt.size(), 2u);
    EXPECT_EQ(shell.menusShown.size(), 1u);
}

TEST_F(ShellControlsTest, TreeNodeMenuHandlerServesWhereTheShellHasNoMenu)
{
    auto* tree = Make<TNsShellTree>();
    tree->BaseFolder()->SetPath("C:\\Work");
    auto* own = new TPopupMenu(&form);
    WherePresenter presenter;
    own->presenter = &presenter;
    std::vector<std::string> asked;
    const forms::MethodInfo asking{
        "Asking", forms::HandlerOf<TTreeNode*, TPoint&, TPopupMenu*&>(
                      [&](forms::TObject&, forms::TObject*, TTreeNode* node, TPoint& at,
                          TPopupMenu*& menu) {
                          asked.push_back(node ? node->Text() : "none");
                          at = {at.x + 1, at.y + 2};
                          menu = own;
                      })};
    static_cast<forms::TMethod&>(tree->onNodeContextMenu) = {&asking, &form};
    TTreeNode* root = Root(*tree);
    TTreeNode* alpha = root->Children()[1].get();

    // The root has no shell menu; alpha's takes the handler's place.
    tree->ContextMenuFromWindow(root, 10, 10);
    tree->ContextMenuFromWindow(alpha, 10, 10);
    tree->ContextMenuFromWindow(nullptr, 10, 10);
    EXPECT_EQ(asked, (std::vector<std::string>{"Work", "alpha", "none"}));
    EXPECT_EQ(presenter.shownAt, (std::vector<TPoint>{{11, 12}, {11, 12}}));
    EXPECT_EQ(shell.menusShown.size(), 1u);

    tree->options &= ~nstoContextMenus;
    tree->ContextMenuFromWindow(alpha, 10, 10);
    EXPECT_EQ(presenter.shownAt.size(), 3u);
    EXPECT_EQ(shell.menusShown.size(), 1u);
}

TEST_F(ShellControlsTest, SendToEntriesChosenFromEitherMenuGetTheItems)
{
    auto* tree = Make<TNsShellTree>();
    auto* list = Make<TNsShellList>();
    tree->BaseFolder()->SetPath("C:\\Work");
    list->Folder()->SetPath("C:\\Work");
    shell.menuChoice = 3;
    tree->ContextMenuFromWindow(Root(*tree)->Children()[1].get(), 0, 0);  // alpha
    list->SetItemIndex(4);                                                // notes.txt
    list->ContextMenuFromWindow(0, 0);
    EXPECT_EQ(shell.verbs, (std::vector<std::string>{"sendto 3 C:\\Work\\alpha",
                                                     "sendto 3 C:\\Work\\notes.txt"}));
}

// Records what drawing an entry asks for; text is 6 pixels a character.
class RecordingSendToPainter final : public ISendToPainter
{
public:
    int TextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
    void Fill(const TRect& rect, TColor colour) override
    {
        calls.push_back("fill " + std::to_string(rect.left) + "," + std::to_string(rect.top) +
                        (colour == clHighlight ? " highlight" : colour == clMenu ? " menu" : " ?"));
    }
    void Text(int x, int y, const std::string& text, TColor colour) override
    {
        calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + text +
                        (colour == clHighlightText ? " highlight"
                                                   : colour == clMenuText ? " menu" : " ?"));
    }
    void Icon(int iconIndex, int x, int y) override
    {
        calls.push_back("icon " + std::to_string(iconIndex) + " " + std::to_string(x) + "," +
                        std::to_string(y));
    }
    std::vector<std::string> calls;
};

TEST(ShellSendTo, EntriesAreTheFolderFilesSortedAndNamedWithoutExtension)
{
    const std::vector<SendToEntry> entries = SendToEntries({
        {"Mail Recipient.MAPIMail", false, false, 4},
        {"desktop (create shortcut).DeskLink", false, false, 5},
        {"Old", true, false, 6},
        {"desktop.ini", false, true, 7},
        {"Backup.lnk", false, false, -1},
        {"notes", false, false, 8},
    });
    std::vector<std::string> names;
    for (const SendToEntry& entry : entries)
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Backup.lnk", "desktop (create shortcut).DeskLink",
                                               "Mail Recipient.MAPIMail", "notes"}));
    EXPECT_EQ(entries[0].iconIndex, -1);

    const std::pair<std::string, std::string> captions[] = {
        {"Backup.lnk", "Backup"},
        {"archive.tar.gz", "archive.tar"},
        {"notes", "notes"},
        {".hidden", ""},
    };
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(SendToCaption(name), caption) << name;

    const std::tuple<int, int> ids[] = {{0, -1}, {1, 0}, {4, 3}, {5, -1}, {1000, -1}};
    for (const auto& [id, index] : ids)
        EXPECT_EQ(SendToIndexOfCommand(id, 4), index) << id;
    EXPECT_EQ(SendToCommandId(0), 1);
    EXPECT_TRUE(IsSendToPlaceholder(1, true));
    EXPECT_FALSE(IsSendToPlaceholder(1, false));
    EXPECT_FALSE(IsSendToPlaceholder(2, true));
}

TEST(ShellSendTo, EntriesAreMeasuredAndDrawnWithTheirIconBesideTheName)
{
    RecordingSendToPainter painter;
    const SendToEntry entry{"Backup.lnk", 9};
    // "Backup" is 36 pixels: the icon's room added; one menu line and two pixels high.
    EXPECT_EQ(MeasureSendToItem(painter, entry, 19), (TPoint{68, 21}));

    DrawSendToItem(painter, entry, {10, 40, 110, 61}, false);
    DrawSendToItem(painter, entry, {10, 40, 110, 61}, true);
    EXPECT_EQ(painter.calls, (std::vector<std::string>{
                                 "fill 10,40 menu", "text 42,42 Backup menu", "icon 9 18,42",
                                 "fill 10,40 highlight", "text 42,42 Backup highlight",
                                 "icon 9 18,42"}));
}

TEST(ShellSendTo, ATypedLetterSelectsTheNextEntryOrRunsTheOnlyOne)
{
    const std::vector<SendToEntry> entries = {
        {"Backup.lnk"}, {"bin.lnk"}, {"Mail.MAPIMail"}, {"Zip.lnk"}};
    struct Case
    {
        char typed;
        int highlighted;
        int index;
        SendToMenuChar::Action action;
    };
    const Case cases[] = {
        {'m', -1, 2, SendToMenuChar::Execute},
        {'b', -1, 0, SendToMenuChar::Select},
        {'B', 0, 1, SendToMenuChar::Select},
        // From the last match the search goes round to the top.
        {'b', 1, 0, SendToMenuChar::Select},
        {'z', 3, 3, SendToMenuChar::Execute},
        {'q', -1, 0, SendToMenuChar::None},
    };
    for (const Case& c : cases) {
        const SendToMenuChar answer = AnswerSendToMenuChar(entries, c.typed, c.highlighted);
        EXPECT_EQ(answer.action, c.action) << c.typed << c.highlighted;
        if (c.action != SendToMenuChar::None) {
            EXPECT_EQ(answer.index, c.index) << c.typed << c.highlighted;
        }
    }
    EXPECT_EQ(AnswerSendToMenuChar({}, 'a', -1).action, SendToMenuChar::None);
}

}  // namespace
}  // namespace setup::ui::testing
