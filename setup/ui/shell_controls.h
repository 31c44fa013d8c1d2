// The shell namespace controls of wizard pages: a folder tree, a folder's content list and a
// folder combo box. Each works on ID lists through the application's shell namespace; linked
// together, a change in one moves the others.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "setup/ui/change_delay.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/image_combo.h"
#include "setup/ui/list_view.h"
#include "setup/ui/shell_drop.h"
#include "setup/ui/shell_locator.h"

namespace setup::ui {

class TNsShellList;
class TNsShellCombo;

struct TPopupHintEvent : forms::TEvent<const std::string&>
{
};

// Asked whether the handler opened the list's items itself.
struct TNsShDblClickOpenEvent : forms::TEvent<bool&>
{
};

class TPopupMenu;

// The list's menu is asked for: the focused item (-1 for none); the handler may move the point
// and give the menu to show.
struct TNsLvOnItemContextMenuEvent : forms::TEvent<std::int32_t, TPoint&, TPopupMenu*&>
{
};

// The same for the tree's node under the mouse (none for none).
struct TNsTvOnNodeContextMenuEvent : forms::TEvent<TTreeNode*, TPoint&, TPopupMenu*&>
{
};

// Tree options (bits of the published set).
inline constexpr std::uint32_t nstoVirtualFolders = 1u << 1;
inline constexpr std::uint32_t nstoDefaultKeyHandling = 1u << 3;
inline constexpr std::uint32_t nstoContextMenus = 1u << 4;
inline constexpr std::uint32_t nstoDynamicRefresh = 1u << 5;
inline constexpr std::uint32_t nstoIncludeNonFolders = 1u << 6;
inline constexpr std::uint32_t nstoOleDrag = 1u << 7;
inline constexpr std::uint32_t nstoOleDrop = 1u << 8;
inline constexpr std::uint32_t nstoShowHidden = 1u << 9;
// List options.
inline constexpr std::uint32_t nsloNonFilesystemAncestors = 1u << 1;
inline constexpr std::uint32_t nsloDefaultKeyHandling = 1u << 3;
inline constexpr std::uint32_t nsloContextMenus = 1u << 4;
inline constexpr std::uint32_t nsloDontChangeFolder = 1u << 5;
inline constexpr std::uint32_t nsloDynamicRefresh = 1u << 7;
inline constexpr std::uint32_t nsloHideFoldersWhenLinkedToTree = 1u << 8;
inline constexpr std::uint32_t nsloOleDrag = 1u << 9;
inline constexpr std::uint32_t nsloOleDrop = 1u << 10;
inline constexpr std::uint32_t nsloShowHidden = 1u << 12;
// Combo options.
inline constexpr std::uint32_t nscoNonFilesystemAncestors = 1u << 1;

class TNsShellTree : public TTreeView, public IDropSite
{
public:
    FORMS_CLASS_INFO()
    explicit TNsShellTree(forms::TComponent* owner);
    ~TNsShellTree() override;

    TNsShellLocator* BaseFolder() const { return m_base.get(); }
    void SetBaseFolder(TNsShellLocator* locator);
    TNsShellLocator* SelectedFolder() const { return m_selectedFolder.get(); }
    std::string GetSelectedPath() const;
    void SetSelectedPath(const std::string& path);
    TNsShellList* ShellList() const { return m_list; }
    void SetShellList(TNsShellList* list);
    std::uint32_t options = 955;

    void FillTree();
    // Lists the node's folder when it has not been listed, otherwise brings it up to date: the
    // system may not report changes below a watched folder's direct children.
    void ExpandNode(TTreeNode* node);
    // Brings every listed node up to date without collapsing the tree.
    void RefreshTree();
    void NavigateTo(const IdList& absolute);
    // The node's absolute list; missing for a node the tree did not add.
    IdList AbsoluteOf(const TTreeNode* node) const;
    // F5 refreshes, F2 renames, Ctrl+C, Ctrl+X, Ctrl+V and Del run the shell's verbs on the
    // selected node; other keys are left alone. True when the key was used.
    bool KeyCommand(std::uint16_t key, TShiftState shift = {});
    // Runs the verb of the node's shell menu, then refreshes; false for the root, a node the
    // tree did not add, or a verb the shell did not run.
    bool InvokeVerb(TTreeNode* node, const std::string& verb);
    // The shell renames the node's item; false when it refused.
    bool RenameNode(TTreeNode* node, const std::string& name);
    // Watches the drives for changes, which refresh the tree after a short delay.
    void WatchDrives();

    // Asks the handler first; the shell's menu of the node, when it has one, is shown instead of
    // the handler's.
    void ContextMenuFromWindow(TTreeNode* node, int x, int y) override;
    // Shows the shell's menu of the node at the screen point and does what was chosen; false
    // when the node has none.
    bool ShowShellContextMenu(TTreeNode* node, int x, int y);
    TPopupHintEvent onPopupHint;
    TNsTvOnNodeContextMenuEvent onNodeContextMenu;
    // Drags the node's item to wherever the user drops it.
    void BeginDragFromWindow(TTreeNode* node, bool rightButton) override;
    // Drops go to the folder of the node under the mouse; a node the mouse rests on opens.
    bool AcceptsDrops() const override { return options & nstoOleDrop; }
    DropSpot DropSpotAt(std::intptr_t hit, std::uint32_t keyState, bool dropping) override;
    void Highlight(std::intptr_t spot) override;
    void Dropped() override { RefreshTree(); }
    void RestedOn(std::intptr_t hit) override;

    void SelectedFromWindow(TTreeNode* node, bool byKeyboard = false) override;
    void ExpandedFromWindow(TTreeNode* node) override;
    bool CanEditNode(const TTreeNode* node) const override;
    void EditedFromWindow(TTreeNode* node, const std::string* text) override;
    void KeyDownFromWindow(std::uint16_t& key, TShiftState shift) override;
    void Loaded() override;
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    friend class TNsShellCombo;
    friend class TNsShellList;
    struct NodeData
    {
        IdList relative;
        bool listed = false;
    };
    IShellNamespace* Shell() const { return NamespaceOf(*this); }
    unsigned EnumFlags() const;
    NodeData* DataOf(const TTreeNode* node) const;
    TTreeNode* NodeOfHit(std::intptr_t hit) const;
    TTreeNode* AddItem(const IdList& parentAbsolute, const IdList& item, TTreeNode* parent);
    void FillNode(TTreeNode* node);
    static void ShowIcons(IShellNamespace& shell, TTreeNode& node, const IdList& absolute);
    void RefreshNode(TTreeNode* node, TTreeNode*& selection);
    void SortChildren(TTreeNode* node);
    TTreeNode* FindChild(TTreeNode* parent, const IdList& item) const;
    void DeleteNode(TTreeNode* node);
    void Publish(TTreeNode* node);
    void ChangeNotified();

    std::unique_ptr<TNsShellLocator> m_base;
    std::unique_ptr<TNsShellLocator> m_selectedFolder;
    std::map<const TTreeNode*, NodeData> m_data;
    TNsShellList* m_list = nullptr;
    TNsShellCombo* m_combo = nullptr;
    int m_updating = 0;
    std::unique_ptr<IFolderWatch> m_watch;
    ChangeDelay m_refresh;
    ChangeDelay m_publish;
};

class TNsShellList : public TCustomListView, public IDropSite
{
public:
    FORMS_CLASS_INFO()
    explicit TNsShellList(forms::TComponent* owner);
    ~TNsShellList() override;

    TNsShellLocator* Folder() const { return m_folder.get(); }
    void SetFolder(TNsShellLocator* locator) { m_folder->Assign(*locator); }
    std::string FileFilter() const { return m_fileFilter; }
    void SetFileFilter(const std::string& filter);
    std::uint32_t options = 7835;

    void FillList();
    // Refills, keeping the selected items when they are still there.
    void RefreshList();
    // The item's file-system path; empty for an item outside the file system.
    std::string ItemPath(int index) const;
    const IdList& ItemIdList(int index) const { return m_items.at(index); }
    bool IsFolderItem(int index) const;
    // Opens the selection: a folder, or a shortcut's folder, is entered; anything else runs the
    // shell's default command.
    void OpenSelection();
    void GoUp(int levels);
    // The shell renames the item; false when it refused.
    bool RenameItem(int index, const std::string& name);
    // Enter opens, Backspace goes up, F5 refills, Ctrl+A selects all, F2 renames, Ctrl+C, Ctrl+X
    // and Del run the shell's verbs on the selection and Ctrl+V pastes into the folder. True when
    // the key was used.
    bool KeyCommand(std::uint16_t key, TShiftState shift = {});
    // Run the verb of the selected items' shell menu, or of the shown folder's own.
    bool InvokeVerbOnSelection(const std::string& verb);
    bool InvokeVerbOnFolder(const std::string& verb);
    // Watches the shown folder for changes, which refresh the list after a short delay.
    void WatchFolder();
    // The column sorted by, counted from 1; negative sorts descending, 0 keeps the shell's order.
    std::int32_t SortKey() const { return m_sortKey; }
    void SetSortKey(std::int32_t key);

    bool CanEditItem(std::int32_t index) const override;
    std::string EditTextOf(std::int32_t index) const override;
    void EditedFromWindow(std::int32_t index, const std::string* text) override;
    void ColumnClickFromWindow(std::int32_t column) override;
    void ColumnWidthFromWindow(std::size_t column, std::int32_t width) override;
    void OpenFromWindow() override { OpenSelection(); }
    // Asks the handler first; the shell's menu of the selection, when there is one, is shown
    // instead of the handler's.
    void ContextMenuFromWindow(int x, int y) override;
    // Shows the shell's menu of the selection at the screen point and does what was chosen.
    void ShowShellContextMenu(int x, int y);
    // The shell's views ask the window they live in for its browser.
    bool ServesShellBrowser() const override { return true; }
    // Drags the selected items to wherever the user drops them.
    void BeginDragFromWindow(bool rightButton) override;
    // Drops go to the item under the mouse, or to the shown folder; the list's own items are
    // not dropped back onto it except with the right button.
    bool AcceptsDrops() const override { return options & nsloOleDrop; }
    DropSpot DropSpotAt(std::intptr_t hit, std::uint32_t keyState, bool dropping) override;
    void Highlight(std::intptr_t spot) override { SetDropHighlight(static_cast<std::int32_t>(spot)); }
    void Dropped() override { RefreshList(); }
    void CustomDraw(TNsCustomDraw& draw, std::int32_t item) override;
    void KeyDownFromWindow(std::uint16_t& key, TShiftState shift) override;
    void Loaded() override;
    TNotifyEvent onFolderChanged;
    // The help text of the shell menu's command pointed at; empty off a command.
    TPopupHintEvent onPopupHint;
    // Before several items, or a file, are opened by the shell's default command.
    TNsShDblClickOpenEvent onDblClickOpen;
    TNsLvOnItemContextMenuEvent onItemContextMenu;

private:
    friend class TNsShellTree;
    friend class TNsShellCombo;
    bool DblClickOpenHandled();
    IShellNamespace* Shell() const { return NamespaceOf(*this); }
    bool Accept(const IdList& folder, const IdList& item) const;
    void FolderChanged();
    void EnterFolder(const IdList& absolute);
    void ChangeNotified();
    bool ShowsMyComputer() const;
    void SetUpColumns(IShellNamespace& shell);
    void RefreshAfterVerb();
    // Puts the items in the sort key's order, keeping the selection on the same items.
    void SortItems();
    std::vector<IdList> SelectedIdLists() const;
    void SelectIdLists(const std::vector<IdList>& selected);

    std::unique_ptr<TNsShellLocator> m_folder;
    std::string m_fileFilter;
    std::vector<std::string> m_masks;
    std::vector<IdList> m_items;
    std::int32_t m_sortKey = 1;
    bool m_dragging = false;
    // The widths the user gave the columns, and the stored layout they were made over.
    std::vector<std::int32_t> m_columnWidths;
    std::string m_storedWidthsSeen;
    TNsShellTree* m_tree = nullptr;
    TNsShellCombo* m_combo = nullptr;
    int m_updating = 0;
    std::unique_ptr<IFolderWatch> m_watch;
    ChangeDelay m_refresh;
};

class TNsShellCombo : public TNsCustomImageCombo
{
public:
    FORMS_CLASS_INFO()
    explicit TNsShellCombo(forms::TComponent* owner);
    ~TNsShellCombo() override;

    TNsShellLocator* GetFolder() const { return m_folder.get(); }
    void SetFolder(TNsShellLocator* locator) { m_folder->Assign(*locator); }
    TNsShellTree* ShellTree() const { return m_tree; }
    void SetShellTree(TNsShellTree* tree);
    TNsShellList* ShellList() const { return m_list; }
    void SetShellList(TNsShellList* list);
    std::uint32_t options = 3;

    void FillCombo();
    // The entry's indent level: 0 for the desktop.
    int Level(int index) const { return m_entries.at(index).level; }
    const IdList& EntryIdList(int index) const { return m_entries.at(index).absolute; }
    void GoUp(int levels);

    void ItemIndexFromWindow(std::int32_t index) override;
    void Loaded() override;
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    friend class TNsShellTree;
    struct Entry
    {
        IdList absolute;
        int level = 0;
    };
    IShellNamespace* Shell() const { return NamespaceOf(*this); }
    template <class Control>
    void Relink(Control*& link, Control* control);
    void AddEntry(IShellNamespace& shell, const IdList& parent, const IdList& item, int level);
    void FillLevel(IShellNamespace& shell, const IdList& parent, const IdList& target, int level,
                   bool& targetUsed);
    void FolderChanged();

    std::unique_ptr<TNsShellLocator> m_folder;
    std::vector<Entry> m_entries;
    TNsShellTree* m_tree = nullptr;
    TNsShellList* m_list = nullptr;
    int m_updating = 0;
    int m_selected = -1;
};

}  // namespace setup::ui

UI_EVENT_TYPE(TPopupHintEvent)
UI_EVENT_TYPE(TNsShDblClickOpenEvent)
UI_EVENT_TYPE(TNsLvOnItemContextMenuEvent)
UI_EVENT_TYPE(TNsTvOnNodeContextMenuEvent)
