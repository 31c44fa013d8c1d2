#include "setup/forms/class_builder.h"
#include "setup/ui/menus.h"
#include "setup/ui/shell_commands.h"
#include "setup/ui/shell_controls.h"
#include "setup/ui/shell_transfer.h"

namespace setup::ui {

namespace {

// Attributes a tree node needs to decide whether and how it is shown.
constexpr std::uint32_t kTreeAttributes = 0xF20B0000;
constexpr unsigned kKeyboardPublishMilliseconds = 500;

}  // namespace

const forms::ClassInfo& TNsShellTree::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TNsShellTree>("TNsShellTree", &TTreeView::StaticClass())
            .Property("BaseFolder", &TNsShellTree::BaseFolder, &TNsShellTree::SetBaseFolder)
            .Property("Path", &TNsShellTree::GetSelectedPath, &TNsShellTree::SetSelectedPath)
            .Property("ShellList", &TNsShellTree::ShellList, &TNsShellTree::SetShellList)
            .Property("OnNodeContextMenu", &TNsShellTree::onNodeContextMenu)
            .Property("OnPopupHint", &TNsShellTree::onPopupHint)
            .Build();
    return info;
}

TNsShellTree::TNsShellTree(forms::TComponent* owner)
    : TTreeView(owner),
      m_base(std::make_unique<TNsShellLocator>([this] { return Shell(); })),
      m_selectedFolder(std::make_unique<TNsShellLocator>([this] { return Shell(); })),
      m_refresh(*this, [this] { RefreshTree(); }),
      m_publish(*this, [this] { Publish(Selected()); })
{
    showRoot = false;
    systemImages = true;
    SetBounds(0, 0, 121, 97);
    m_base->onChange = [this] {
        if (HasState(forms::csLoading))
            return;
        ++m_updating;
        m_selectedFolder->Clear();
        --m_updating;
        FillTree();
    };
    m_selectedFolder->onChange = [this] {
        if (m_updating == 0 && !Items()->Roots().empty())
            NavigateTo(m_selectedFolder->GetIdList());
    };
}

TNsShellTree::~TNsShellTree()
{
    SetShellList(nullptr);
    if (m_combo)
        m_combo->m_tree = nullptr;
}

void TNsShellTree::SetBaseFolder(TNsShellLocator* locator)
{
    m_base->Assign(*locator);
}

unsigned TNsShellTree::EnumFlags() const
{
    unsigned flags = kEnumFolders;
    if (options & nstoShowHidden)
        flags |= kEnumHidden;
    if (options & nstoIncludeNonFolders)
        flags |= kEnumNonFolders;
    return flags;
}

TNsShellTree::NodeData* TNsShellTree::DataOf(const TTreeNode* node) const
{
    auto it = m_data.find(node);
    return it == m_data.end() ? nullptr : const_cast<NodeData*>(&it->second);
}

IdList TNsShellTree::AbsoluteOf(const TTreeNode* node) const
{
    if (!node || !DataOf(node))
        return {};
    if (!node->Parent())
        return m_base->GetIdList();
    return ConcatIdLists(AbsoluteOf(node->Parent()), DataOf(node)->relative);
}

void TNsShellTree::FillTree()
{
    IShellNamespace* shell = Shell();
    ++m_updating;
    SetSelected(nullptr);
    for (TTreeNode* node : Items()->All())
        m_data.erase(node);
    Items()->Clear();
    --m_updating;
    if (!shell)
        return;
    const IdList base = m_base->GetIdList();
    const IdList last = IdListLast(base);
    TTreeNode* root = Items()->AddChild(
        nullptr, last.empty()
                     ? shell->DisplayName(DesktopIdList(), {}, ShellNameKind::Normal)
                     : shell->DisplayName(IdListParent(base, 1), last, ShellNameKind::InFolder));
    ShowIcons(*shell, *root, base);
    root->hasChildren = true;
    m_data[root] = NodeData{last, false};
    FillNode(root);
    root->expanded = true;
    const IdList selected = m_selectedFolder->GetIdList();
    if (IdListCount(selected).value_or(0) > 0) {
        NavigateTo(selected);
    } else {
        ++m_updating;
        SetSelected(root);
        --m_updating;
        Publish(root);
    }
    if (options & nstoDynamicRefresh)
        WatchDrives();
    else if (m_watch)
        m_watch->RemoveAllWatches();
}

void TNsShellTree::WatchDrives()
{
    IFolderWatchService* service = FolderWatchOf(*this);
    if (!service)
        return;
    if (!m_watch)
        m_watch = service->Watch([this](int slot) {
            if (slot == kDrivesChanged)
                RefreshTree();
            else
                ChangeNotified();
        });
    m_watch->RemoveAllWatches();
    const std::uint32_t filter =
        kWatchFolderNames | ((options & nstoIncludeNonFolders) ? kWatchFileNames : 0);
    for (const DriveRoot& drive : service->Drives())
        if (DriveIsWatched(drive))
            m_watch->AddWatch(std::string(1, drive.letter) + ":\\", filter, true);
}

void TNsShellTree::ChangeNotified()
{
    m_refresh.Restart(Focused());
}

TTreeNode* TNsShellTree::AddItem(const IdList& parentAbsolute, const IdList& item,
                                 TTreeNode* parent)
{
    IShellNamespace* shell = Shell();
    const std::uint32_t attributes = shell->Attributes(parentAbsolute, item, kTreeAttributes);
    if (!(options & nstoVirtualFolders) && !(attributes & (kAttrFileSystem | kAttrFileSysAncestor)))
        return nullptr;
    const bool folder = attributes & kAttrFolder;
    const bool subfolders = attributes & kAttrHasSubfolder;
    TTreeNode* node = Items()->AddChild(
        parent, shell->DisplayName(parentAbsolute, item, ShellNameKind::InFolder));
    node->hasChildren =
        (options & nstoIncludeNonFolders) ? (folder || subfolders) : (folder && subfolders);
    node->overlayIndex = OverlayOfAttributes(attributes);
    node->cut = attributes & kAttrHidden;
    m_data[node] = NodeData{item, false};
    ShowIcons(*shell, *node, ConcatIdLists(parentAbsolute, item));
    return node;
}

void TNsShellTree::ShowIcons(IShellNamespace& shell, TTreeNode& node, const IdList& absolute)
{
    node.SetImageIndex(shell.IconIndex(absolute, false));
    node.selectedIndex = shell.IconIndex(absolute, true);
}

void TNsShellTree::FillNode(TTreeNode* node)
{
    NodeData* data = DataOf(node);
    IShellNamespace* shell = Shell();
    if (!data || !shell)
        return;
    const IdList folder = AbsoluteOf(node);
    auto items = shell->Enumerate(folder, EnumFlags());
    if (!items)
        return;  // the node keeps its expand button
    data->listed = true;
    bool added = false;
    for (const IdList& item : *items)
        added = AddItem(folder, item, node) != nullptr || added;
    node->hasChildren = added;
    SortChildren(node);
}

void TNsShellTree::SortChildren(TTreeNode* node)
{
    IShellNamespace* shell = Shell();
    const IdList folder = AbsoluteOf(node);
    Items()->SortChildren(node, [&](const TTreeNode& a, const TTreeNode& b) {
        const NodeData* da = DataOf(&a);
        const NodeData* db = DataOf(&b);
        if (!da || !db)
            return false;
        return shell->Compare(folder, da->relative, db->relative) < 0;
    });
}

void TNsShellTree::ExpandNode(TTreeNode* node)
{
    NodeData* data = DataOf(node);
    if (!data)
        return;
    if (!data->listed) {
        FillNode(node);
    } else {
        TTreeNode* selection = Selected();
        RefreshNode(node, selection);
        if (selection != Selected())
            SetSelected(selection);
    }
    node->expanded = true;
}

TTreeNode* TNsShellTree::FindChild(TTreeNode* parent, const IdList& item) const
{
    IShellNamespace* shell = Shell();
    const IdList folder = AbsoluteOf(parent);
    for (const auto& child : parent->Children())
        if (const NodeData* data = DataOf(child.get()))
            if (shell->Compare(folder, data->relative, item) == 0)
                return child.get();
    return nullptr;
}

void TNsShellTree::NavigateTo(const IdList& absolute)
{
    if (m_updating > 0 || Items()->Roots().empty())
        return;
    TTreeNode* node = Items()->Roots().front().get();
    const std::size_t baseCount = IdListCount(m_base->GetIdList()).value_or(0);
    const std::size_t targetCount = IdListCount(absolute).value_or(0);
    // Only the levels below the base are matched; a target outside it stops at the root.
    for (std::size_t i = baseCount; i < targetCount; ++i) {
        if (!DataOf(node)->listed)
            FillNode(node);
        node->expanded = true;
        const IdList item = IdListItem(absolute, i);
        TTreeNode* child = FindChild(node, item);
        if (!child) {
            child = AddItem(AbsoluteOf(node), item, node);
            if (!child)
                break;
            SortChildren(node);
        }
        node = child;
    }
    ++m_updating;
    SetSelected(node);
    --m_updating;
    Publish(node);
}

void TNsShellTree::DeleteNode(TTreeNode* node)
{
    for (const auto& child : node->Children())
        DeleteNode(child.get());
    m_data.erase(node);
}

void TNsShellTree::RefreshNode(TTreeNode* node, TTreeNode*& selection)
{
    NodeData* data = DataOf(node);
    IShellNamespace* shell = Shell();
    if (!data || !data->listed || !shell)
        return;
    const IdList folder = AbsoluteOf(node);
    auto items = shell->Enumerate(folder, EnumFlags());
    if (!items)
        return;
    std::vector<TTreeNode*> vanished;
    for (const auto& child : node->Children()) {
        const NodeData* childData = DataOf(child.get());
        if (!childData)
            continue;
        bool found = false;
        for (auto it = items->begin(); it != items->end(); ++it)
            if (shell->Compare(folder, *it, childData->relative) == 0) {
                items->erase(it);
                found = true;
                break;
            }
        if (!found)
            vanished.push_back(child.get());
    }
    for (TTreeNode* gone : vanished) {
        for (TTreeNode* at = selection; at; at = at->Parent())
            if (at == gone)
                selection = node;
        DeleteNode(gone);
        Items()->Delete(gone);
    }
    bool added = false;
    for (const IdList& item : *items)
        added = AddItem(folder, item, node) != nullptr || added;
    if (added)
        SortChildren(node);
    node->hasChildren = !node->Children().empty();
    for (const auto& child : node->Children())
        RefreshNode(child.get(), selection);
}

void TNsShellTree::RefreshTree()
{
    if (Items()->Roots().empty()) {
        FillTree();
        return;
    }
    TTreeNode* selection = Selected();
    RefreshNode(Items()->Roots().front().get(), selection);
    ++m_updating;
    SetSelected(nullptr);
    SetSelected(selection);
    --m_updating;
    Publish(selection);
}

std::string TNsShellTree::GetSelectedPath() const
{
    IShellNamespace* shell = Shell();
    if (!shell || !DataOf(Selected()))
        return {};
    return shell->PathOf(AbsoluteOf(Selected()));
}

void TNsShellTree::SetSelectedPath(const std::string& path)
{
    if (m_updating == 0)
        m_selectedFolder->SetPath(path);
}

void TNsShellTree::Publish(TTreeNode* node)
{
    if (!DataOf(node))
        return;
    ++m_updating;
    m_selectedFolder->SetIdList(AbsoluteOf(node));
    if (m_list)
        m_list->Folder()->SetIdList(AbsoluteOf(node));
    if (m_combo)
        m_combo->GetFolder()->SetIdList(AbsoluteOf(node));
    --m_updating;
}

void TNsShellTree::SelectedFromWindow(TTreeNode* node, bool byKeyboard)
{
    TTreeView::SelectedFromWindow(node, byKeyboard);
    if (m_updating > 0)
        return;
    // A node first shown by the window is listed now, so its children can be seen.
    if (NodeData* data = DataOf(node); data && !data->listed)
        FillNode(node);
    // Arrowing through the tree would list every folder passed; the list waits for a pause.
    if (byKeyboard && m_list) {
        m_publish.Start(kKeyboardPublishMilliseconds);
        return;
    }
    m_publish.Stop();
    Publish(node);
}

void TNsShellTree::ExpandedFromWindow(TTreeNode* node)
{
    // Opening a node also brings it up to date: a change below a watched folder's direct
    // children may never have been told.
    if (m_updating == 0)
        ExpandNode(node);
}

bool TNsShellTree::KeyCommand(std::uint16_t key, TShiftState shift)
{
    if (!(options & nstoDefaultKeyHandling) || EditingNode())
        return false;
    TTreeNode* node = Selected();
    switch (ShellCommandOfKey(key, shift)) {
        case ShellCommand::Refresh:
            RefreshTree();
            return true;
        case ShellCommand::Rename:
            EditNode(node);
            return true;
        case ShellCommand::Copy:
            InvokeVerb(node, "copy");
            return true;
        case ShellCommand::Cut:
            InvokeVerb(node, "cut");
            return true;
        case ShellCommand::Paste:
            InvokeVerb(node, "paste");
            return true;
        case ShellCommand::Delete:
            InvokeVerb(node, "delete");
            return true;
        default:
            return false;
    }
}

void TNsShellTree::KeyDownFromWindow(std::uint16_t& key, TShiftState shift)
{
    if (KeyCommand(key, shift))
        key = 0;
}

bool TNsShellTree::InvokeVerb(TTreeNode* node, const std::string& verb)
{
    IShellNamespace* shell = Shell();
    const NodeData* data = DataOf(node);
    if (!shell || !data || !node->Parent())
        return false;
    const bool done = shell->InvokeVerb(AbsoluteOf(node->Parent()), {data->relative}, verb);
    RefreshTree();
    return done;
}

void TNsShellTree::ContextMenuFromWindow(TTreeNode* node, int x, int y)
{
    TPoint at{x, y};
    TPopupMenu* popup = nullptr;
    onNodeContextMenu(this, node, at, popup);
    if ((options & nstoContextMenus) && ShowShellContextMenu(node, at.x, at.y))
        return;
    if (popup)
        popup->Popup(at.x, at.y);
}

bool TNsShellTree::ShowShellContextMenu(TTreeNode* node, int x, int y)
{
    IShellNamespace* shell = Shell();
    const NodeData* data = DataOf(node);
    // The root's parent is not shown: the root has no menu here.
    if (!shell || !data || !node->Parent())
        return false;
    auto menu = shell->ContextMenu(AbsoluteOf(node->Parent()), {data->relative}, !readOnly);
    if (!menu)
        return false;
    const std::uintptr_t owner = Peer() ? Peer()->Handle() : 0;
    const ShellMenuChoice choice = TrackShellMenu(
        *menu, owner, x, y, [this](const std::string& hint) { onPopupHint(this, hint); });
    if (choice.action == ShellMenuAction::Rename)
        EditNode(node);
    else if (choice.action == ShellMenuAction::Invoke)
        RefreshTree();
    else if (choice.action == ShellMenuAction::SendTo)
        shell->SendTo(choice.id, AbsoluteOf(node->Parent()), {data->relative});
    return true;
}

void TNsShellTree::BeginDragFromWindow(TTreeNode* node, bool rightButton)
{
    IShellNamespace* shell = Shell();
    const NodeData* data = DataOf(node);
    if (!shell || !(options & nstoOleDrag) || !data || !node->Parent())
        return;
    const IdList parent = AbsoluteOf(node->Parent());
    const std::uint32_t allowed = shell->Attributes(parent, data->relative, kDropAll);
    SetDropHighlight(node);
    const bool dropped = shell->Drag(parent, {data->relative}, allowed ? allowed : kDropAll,
                                     rightButton ? kKeyRightButton : kKeyLeftButton);
    SetDropHighlight(nullptr);
    if (dropped)
        RefreshTree();
}

TTreeNode* TNsShellTree::NodeOfHit(std::intptr_t hit) const
{
    // The window's hit is checked against the nodes this tree holds.
    auto* node = reinterpret_cast<TTreeNode*>(hit);
    return hit > 0 && DataOf(node) ? node : nullptr;
}

DropSpot TNsShellTree::DropSpotAt(std::intptr_t hit, std::uint32_t, bool)
{
    TTreeNode* node = NodeOfHit(hit);
    // The root's folder is the page's base: nothing is dropped into it from here.
    if (!node || !node->Parent())
        return {};
    DropSpot spot;
    spot.kind = DropSpot::Forward;
    spot.folder = AbsoluteOf(node->Parent());
    spot.item = DataOf(node)->relative;
    spot.highlight = hit;
    return spot;
}

void TNsShellTree::Highlight(std::intptr_t spot)
{
    SetDropHighlight(NodeOfHit(spot));
}

void TNsShellTree::RestedOn(std::intptr_t hit)
{
    TTreeNode* node = NodeOfHit(hit);
    if (!node || node->expanded)
        return;
    ExpandNode(node);
    // The window shows the node open.
    Items()->OnChange();
}

bool TNsShellTree::CanEditNode(const TTreeNode* node) const
{
    IShellNamespace* shell = Shell();
    const NodeData* data = DataOf(node);
    // The root is never renamed here: it is the base folder the page asked for.
    if (!TTreeView::CanEditNode(node) || !shell || !data || !node->Parent())
        return false;
    return shell->Attributes(AbsoluteOf(node->Parent()), data->relative, kAttrCanRename) &
           kAttrCanRename;
}

void TNsShellTree::EditedFromWindow(TTreeNode* node, const std::string* text)
{
    if (!DataOf(node)) {
        TTreeView::EditedFromWindow(node, text);
        return;
    }
    TTreeView::EditedFromWindow(node, nullptr);
    if (text && !text->empty())
        RenameNode(node, *text);
}

bool TNsShellTree::RenameNode(TTreeNode* node, const std::string& name)
{
    IShellNamespace* shell = Shell();
    NodeData* data = DataOf(node);
    if (!shell || !data || !node->Parent() || name.empty())
        return false;
    const IdList parent = AbsoluteOf(node->Parent());
    auto renamed = shell->Rename(parent, data->relative, name);
    if (!renamed)
        return false;
    // Descendants hold relative lists only, so they follow the new name by themselves.
    data->relative = *renamed;
    node->SetText(shell->DisplayName(parent, *renamed, ShellNameKind::InFolder));
    SortChildren(node->Parent());
    if (node == Selected())
        Publish(node);
    return true;
}

void TNsShellTree::SetShellList(TNsShellList* list)
{
    if (list == m_list)
        return;
    if (m_list) {
        m_list->m_tree = nullptr;
        m_list->RemoveFreeNotification(this);
    }
    m_list = list;
    if (m_list) {
        m_list->m_tree = this;
        m_list->FreeNotification(this);
        if (!HasState(forms::csLoading))
            m_list->Folder()->Assign(*m_selectedFolder);
    }
}

void TNsShellTree::Loaded()
{
    TTreeView::Loaded();
    if (!m_combo && Items()->Roots().empty())
        FillTree();
    if (m_list)
        m_list->Folder()->Assign(*m_selectedFolder);
}

void TNsShellTree::Notification(forms::TComponent* component, forms::Operation operation)
{
    TTreeView::Notification(component, operation);
    if (operation != forms::Operation::Remove)
        return;
    if (component == m_list)
        m_list = nullptr;
    if (component == m_combo)
        m_combo = nullptr;
}

}  // namespace setup::ui
