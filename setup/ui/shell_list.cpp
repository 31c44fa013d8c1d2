#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "setup/forms/class_builder.h"
#include "setup/ui/file_controls.h"
#include "setup/ui/menus.h"
#include "setup/ui/shell_commands.h"
#include "setup/ui/shell_controls.h"
#include "setup/ui/shell_list_columns.h"
#include "setup/ui/shell_transfer.h"

namespace setup::ui {

namespace {

// Attributes that decide whether a folder's item is listed.
constexpr std::uint32_t kListAttributes = 0x720B0000;

bool IsShortcutPath(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string extension = path.substr(path.size() - 4);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".lnk";
}

std::string FilePart(const std::string& name)
{
    const std::size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

}  // namespace

const forms::ClassInfo& TNsShellList::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TNsShellList>("TNsShellList", &TCustomListView::StaticClass())
            .Property("FileFilter", &TNsShellList::FileFilter, &TNsShellList::SetFileFilter)
            .Property("Folder", &TNsShellList::Folder, &TNsShellList::SetFolder)
            .Property("OnDblClickOpen", &TNsShellList::onDblClickOpen)
            .Property("OnFolderChanged", &TNsShellList::onFolderChanged)
            .Property("OnItemContextMenu", &TNsShellList::onItemContextMenu)
            .Property("OnPopupHint", &TNsShellList::onPopupHint)
            .Build();
    return info;
}

TNsShellList::TNsShellList(forms::TComponent* owner)
    : TCustomListView(owner),
      m_folder(std::make_unique<TNsShellLocator>([this] { return Shell(); })),
      m_refresh(*this, [this] { RefreshList(); })
{
    systemImages = true;
    m_folder->onChange = [this] { FolderChanged(); };
}

TNsShellList::~TNsShellList()
{
    if (m_tree)
        m_tree->SetShellList(nullptr);
    if (m_combo)
        m_combo->SetShellList(nullptr);
}

void TNsShellList::SetFileFilter(const std::string& filter)
{
    if (filter == m_fileFilter)
        return;
    m_fileFilter = filter;
    m_masks.clear();
    for (std::size_t start = 0; start <= filter.size();) {
        std::size_t end = filter.find(';', start);
        if (end == std::string::npos)
            end = filter.size();
        if (end > start)
            m_masks.push_back(filter.substr(start, end - start));
        start = end + 1;
    }
    if (!HasState(forms::csLoading))
        FillList();
}

bool TNsShellList::Accept(const IdList& folder, const IdList& item) const
{
    IShellNamespace* shell = Shell();
    const std::uint32_t attributes = shell->Attributes(folder, item, kListAttributes);
    if (!(options & nsloNonFilesystemAncestors) &&
        !(attributes & (kAttrFileSystem | kAttrFileSysAncestor)))
        return false;
    const std::uint32_t fileFolder = kAttrFolder | kAttrFileSystem;
    if ((options & nsloHideFoldersWhenLinkedToTree) && m_tree &&
        (attributes & fileFolder) == fileFolder)
        return false;
    if (!m_masks.empty() && !(attributes & kAttrFolder)) {
        const std::string name =
            FilePart(shell->DisplayName(folder, item, ShellNameKind::ForParsing));
        return std::any_of(m_masks.begin(), m_masks.end(),
                           [&](const std::string& mask) { return MatchesWildcard(name, mask); });
    }
    return true;
}

void TNsShellList::FillList()
{
    m_items.clear();
    ClearItems();
    IShellNamespace* shell = Shell();
    if (!shell)
        return;
    SetUpColumns(*shell);
    const IdList folder = m_folder->GetIdList();
    unsigned flags = kEnumFolders | kEnumNonFolders;
    if (options & nsloShowHidden)
        flags |= kEnumHidden;
    auto items = shell->Enumerate(folder, flags);
    if (!items)
        return;
    std::vector<TListItem> shown;
    for (IdList& item : *items) {
        if (!Accept(folder, item))
            continue;
        TListItem entry;
        entry.caption = shell->DisplayName(folder, item, ShellNameKind::InFolder);
        entry.subItems = DetailTexts(shell->Details(folder, item));
        entry.imageIndex = shell->IconIndex(ConcatIdLists(folder, item), false);
        const std::uint32_t marks =
            shell->Attributes(folder, item, kAttrHidden | kAttrShare | kAttrLink);
        entry.cut = marks & kAttrHidden;
        entry.overlayIndex = OverlayOfAttributes(marks);
        m_items.push_back(std::move(item));
        shown.push_back(std::move(entry));
    }
    SetItems(std::move(shown));
    SortItems();
    if (options & nsloDynamicRefresh)
        WatchFolder();
    else if (m_watch)
        m_watch->RemoveAllWatches();
}

void TNsShellList::SetUpColumns(IShellNamespace& shell)
{
    const std::string stored = shell.StoredColumnWidths();
    // Widths the user set stand until the stored layout itself changes.
    if (m_columnWidths.empty() || stored != m_storedWidthsSeen)
        m_columnWidths = DirectoryColumnWidths(stored);
    m_storedWidthsSeen = stored;
    SetColumns(DefaultShellColumns(m_columnWidths));
    if (std::abs(m_sortKey) > static_cast<std::int32_t>(Columns().size()))
        m_sortKey = 1;
    SetSortColumn(std::abs(m_sortKey) - 1);
    SetSortAscending(m_sortKey >= 0);
}

void TNsShellList::ColumnWidthFromWindow(std::size_t column, std::int32_t width)
{
    TCustomListView::ColumnWidthFromWindow(column, width);
    if (column < m_columnWidths.size())
        m_columnWidths[column] = width;
}

void TNsShellList::SetSortKey(std::int32_t key)
{
    SetSortColumn(std::abs(key) - 1);
    SetSortAscending(key >= 0);
    if (key == m_sortKey)
        return;
    m_sortKey = key;
    SortItems();
}

void TNsShellList::ColumnClickFromWindow(std::int32_t column)
{
    // The sorted column turns round; another column sorts ascending.
    SetSortKey(column == std::abs(m_sortKey) - 1 ? -m_sortKey : column + 1);
}

void TNsShellList::SortItems()
{
    IShellNamespace* shell = Shell();
    if (!shell || m_sortKey == 0 || m_items.size() < 2)
        return;
    const IdList folder = m_folder->GetIdList();
    const int column = std::abs(m_sortKey) - 1;
    const bool descending = m_sortKey < 0;
    std::vector<std::size_t> order(m_items.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int result = shell->Compare(folder, m_items[a], m_items[b], column);
        return descending ? result > 0 : result < 0;
    });
    const std::vector<IdList> selected = SelectedIdLists();
    std::vector<IdList> items;
    std::vector<TListItem> shown;
    for (std::size_t i : order) {
        items.push_back(std::move(m_items[i]));
        shown.push_back(Item(i));
    }
    m_items = std::move(items);
    SetItems(std::move(shown));
    SelectIdLists(selected);
}

std::vector<IdList> TNsShellList::SelectedIdLists() const
{
    std::vector<IdList> selected;
    for (std::size_t i : SelectedIndexes())
        if (i < m_items.size())
            selected.push_back(m_items[i]);
    // The focused item first, so it keeps the focus.
    const std::int32_t focused = ItemIndex();
    if (focused >= 0 && focused < static_cast<std::int32_t>(m_items.size()) && Selected(focused)) {
        auto it = std::find(selected.begin(), selected.end(), m_items[focused]);
        std::rotate(selected.begin(), it, it + 1);
    }
    return selected;
}

void TNsShellList::SelectIdLists(const std::vector<IdList>& selected)
{
    IShellNamespace* shell = Shell();
    if (!shell)
        return;
    const IdList folder = m_folder->GetIdList();
    // The first gets the focus; the rest are added to the selection.
    bool first = true;
    for (const IdList& wanted : selected)
        for (std::size_t i = 0; i < m_items.size(); ++i)
            if (shell->Compare(folder, m_items[i], wanted) == 0) {
                if (first)
                    SetItemIndex(static_cast<std::int32_t>(i));
                else
                    SetSelected(i, true);
                first = false;
            }
}

void TNsShellList::WatchFolder()
{
    m_refresh.Stop();
    IFolderWatchService* service = FolderWatchOf(*this);
    IShellNamespace* shell = Shell();
    if (!service || !shell)
        return;
    if (!m_watch)
        m_watch = service->Watch([this](int slot) {
            if (slot != kDrivesChanged)
                ChangeNotified();
            else if (ShowsMyComputer())
                FillList();
        });
    m_watch->RemoveAllWatches();
    // Only the folder's own items are shown, so its direct children are all that matter.
    m_watch->AddWatch(shell->PathOf(m_folder->GetIdList()), kWatchFileNames | kWatchFolderNames,
                      false);
}

bool TNsShellList::ShowsMyComputer() const
{
    IShellNamespace* shell = Shell();
    const auto computer = shell ? shell->SpecialFolder(kMyComputer) : std::nullopt;
    return computer && CompareAbsolute(shell, *computer, m_folder->GetIdList()) == 0;
}

void TNsShellList::ChangeNotified()
{
    m_refresh.Restart(Focused());
}

void TNsShellList::RefreshList()
{
    const std::vector<IdList> selected = SelectedIdLists();
    FillList();
    SelectIdLists(selected);
}

std::string TNsShellList::ItemPath(int index) const
{
    IShellNamespace* shell = Shell();
    if (!shell || index < 0 || index >= static_cast<int>(m_items.size()))
        return {};
    return shell->PathOf(ConcatIdLists(m_folder->GetIdList(), m_items[index]));
}

bool TNsShellList::CanEditItem(std::int32_t index) const
{
    IShellNamespace* shell = Shell();
    if (!shell || !TCustomListView::CanEditItem(index) ||
        index >= static_cast<std::int32_t>(m_items.size()))
        return false;
    return shell->Attributes(m_folder->GetIdList(), m_items[index], kAttrCanRename) &
           kAttrCanRename;
}

std::string TNsShellList::EditTextOf(std::int32_t index) const
{
    IShellNamespace* shell = Shell();
    if (!shell || index < 0 || index >= static_cast<std::int32_t>(m_items.size()))
        return TCustomListView::EditTextOf(index);
    return shell->DisplayName(m_folder->GetIdList(), m_items[index], ShellNameKind::ForEditing);
}

void TNsShellList::EditedFromWindow(std::int32_t index, const std::string* text)
{
    // The caption changes only when the shell renamed the item.
    TCustomListView::EditedFromWindow(-1, nullptr);
    if (text)
        RenameItem(index, *text);
}

void TNsShellList::CustomDraw(TNsCustomDraw& draw, std::int32_t item)
{
    // Hidden items are drawn dimmed, as the shell shows them.
    if (draw.Stage() == cdsItemPrePaint && item >= 0 && item < static_cast<std::int32_t>(Count()) &&
        Item(item).cut)
        draw.ItemFont().SetColor(clGrayText);
}

bool TNsShellList::IsFolderItem(int index) const
{
    IShellNamespace* shell = Shell();
    if (!shell || index < 0 || index >= static_cast<int>(m_items.size()))
        return false;
    return shell->Attributes(m_folder->GetIdList(), m_items[index], kAttrFolder) & kAttrFolder;
}

void TNsShellList::EnterFolder(const IdList& absolute)
{
    if (options & nsloDontChangeFolder)
        return;
    if (m_tree)
        m_tree->NavigateTo(absolute);
    else if (m_combo)
        m_combo->GetFolder()->SetIdList(absolute);
    else
        m_folder->SetIdList(absolute);
}

void TNsShellList::OpenSelection()
{
    IShellNamespace* shell = Shell();
    if (!shell)
        return;
    // A selection the tree has yet to pass on, and a pending refresh, come first.
    if (m_tree)
        m_tree->m_publish.Flush();
    m_refresh.Flush();
    const IdList folder = m_folder->GetIdList();
    const std::vector<std::size_t> selection = SelectedIndexes();
    if (selection.size() > 1) {
        if (DblClickOpenHandled())
            return;
        std::vector<IdList> items;
        for (std::size_t i : selection)
            items.push_back(m_items[i]);
        shell->InvokeVerb(folder, items, "");
        return;
    }
    const int index = ItemIndex();
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return;
    const IdList& item = m_items[index];
    if (shell->Attributes(folder, item, kAttrFolder) & kAttrFolder) {
        EnterFolder(ConcatIdLists(folder, item));
        return;
    }
    // A shortcut to a folder is entered in place rather than opened elsewhere.
    const std::string path = ItemPath(index);
    if (IsShortcutPath(path)) {
        const auto target = shell->ParsePath(shell->LinkTarget(path));
        if (target && IdListCount(*target).value_or(0) > 0 &&
            (shell->Attributes(IdListParent(*target, 1), IdListLast(*target), kAttrFolder) &
             kAttrFolder)) {
            EnterFolder(*target);
            return;
        }
    }
    if (!DblClickOpenHandled())
        shell->InvokeVerb(folder, {item}, "");
}

void TNsShellList::GoUp(int levels)
{
    if (options & nsloDontChangeFolder)
        return;
    if (m_tree) {
        TTreeNode* node = m_tree->Selected();
        for (int i = 0; node && node->Parent() && i < levels; ++i)
            node = node->Parent();
        if (node)
            m_tree->NavigateTo(m_tree->AbsoluteOf(node));
    } else if (m_combo) {
        m_combo->GoUp(levels);
    } else {
        const IdList folder = m_folder->GetIdList();
        const std::size_t count = IdListCount(folder).value_or(0);
        if (count > 0)
            m_folder->SetIdList(IdListParent(folder, std::min<std::size_t>(levels, count)));
    }
}

bool TNsShellList::RenameItem(int index, const std::string& name)
{
    IShellNamespace* shell = Shell();
    if (!shell || index < 0 || index >= static_cast<int>(m_items.size()) || name.empty())
        return false;
    const IdList folder = m_folder->GetIdList();
    auto renamed = shell->Rename(folder, m_items[index], name);
    if (!renamed)
        return false;
    m_items[index] = *renamed;
    TListItem shown = Item(index);
    shown.caption = shell->DisplayName(folder, *renamed, ShellNameKind::InFolder);
    SetItem(index, std::move(shown));
    return true;
}

bool TNsShellList::KeyCommand(std::uint16_t key, TShiftState shift)
{
    if (!(options & nsloDefaultKeyHandling))
        return false;
    if (shift.bits == 0 && key == kKeyEnter) {
        OpenSelection();
        return true;
    }
    if (shift.bits == 0 && key == kKeyBack) {
        GoUp(1);
        return true;
    }
    switch (ShellCommandOfKey(key, shift)) {
        case ShellCommand::Refresh:
            FillList();
            return true;
        case ShellCommand::SelectAll:
            SelectAll();
            return true;
        case ShellCommand::Rename:
            EditItem(ItemIndex());
            return true;
        case ShellCommand::Copy:
            InvokeVerbOnSelection("copy");
            return true;
        case ShellCommand::Cut:
            InvokeVerbOnSelection("cut");
            return true;
        case ShellCommand::Paste:
            InvokeVerbOnFolder("paste");
            RefreshList();
            return true;
        case ShellCommand::Delete:
            InvokeVerbOnSelection("delete");
            RefreshList();
            return true;
        default:
            return false;
    }
}

void TNsShellList::ContextMenuFromWindow(int x, int y)
{
    TPoint at{x, y};
    TPopupMenu* popup = nullptr;
    onItemContextMenu(this, ItemIndex(), at, popup);
    IShellNamespace* shell = Shell();
    const std::vector<IdList> items = SelectedIdLists();
    // The shell's menu, when there is one for the selection, takes the place of the handler's.
    if (shell && (options & nsloContextMenus) && !items.empty()) {
        ShowShellContextMenu(at.x, at.y);
        return;
    }
    if (popup)
        popup->Popup(at.x, at.y);
}

void TNsShellList::ShowShellContextMenu(int x, int y)
{
    IShellNamespace* shell = Shell();
    const std::vector<IdList> items = SelectedIdLists();
    if (!shell || items.empty())
        return;
    const IdList folder = m_folder->GetIdList();
    const bool canRename = !readOnly && !ItemPath(ItemIndex()).empty();
    auto menu = shell->ContextMenu(folder, items, canRename);
    if (!menu)
        return;
    const std::uintptr_t owner = Peer() ? Peer()->Handle() : 0;
    const ShellMenuChoice choice = TrackShellMenu(
        *menu, owner, x, y, [this](const std::string& hint) { onPopupHint(this, hint); });
    if (choice.action == ShellMenuAction::Rename)
        EditItem(ItemIndex());
    else if (choice.action == ShellMenuAction::Invoke)
        RefreshAfterVerb();
    else if (choice.action == ShellMenuAction::SendTo)
        shell->SendTo(choice.id, folder, items);
}

bool TNsShellList::DblClickOpenHandled()
{
    bool handled = false;
    onDblClickOpen(this, handled);
    return handled;
}

void TNsShellList::BeginDragFromWindow(bool rightButton)
{
    IShellNamespace* shell = Shell();
    const std::vector<IdList> items = SelectedIdLists();
    if (!shell || !(options & nsloOleDrag) || items.empty())
        return;
    const IdList folder = m_folder->GetIdList();
    std::uint32_t allowed = kDropAll;
    for (const IdList& item : items)
        allowed &= shell->Attributes(folder, item, kDropAll);
    m_dragging = true;
    const bool dropped =
        shell->Drag(folder, items, allowed, rightButton ? kKeyRightButton : kKeyLeftButton);
    m_dragging = false;
    if (dropped)
        RefreshList();
}

DropSpot TNsShellList::DropSpotAt(std::intptr_t hit, std::uint32_t keyState, bool dropping)
{
    const IdList folder = m_folder->GetIdList();
    DropSpot spot;
    spot.kind = DropSpot::Forward;
    // The shown folder as an item of its parent: the desktop's is the desktop's own.
    const IdList folderParent = IdListParent(folder, 1);
    const IdList folderItem = IdListLast(folder);
    if (hit >= 0 && hit < static_cast<std::intptr_t>(m_items.size())) {
        spot.folder = folder;
        spot.item = m_items[hit];
        spot.highlight = hit;
        spot.hasFallback = true;
        spot.fallbackFolder = folderParent;
        spot.fallbackItem = folderItem;
        return spot;
    }
    if (m_dragging) {
        // Dropping the list's own items onto it with the left button would do nothing.
        if (!(keyState & kKeyRightButton))
            return {};
        if (!dropping) {
            spot.kind = DropSpot::CopyOnly;
            return spot;
        }
        spot.noMove = true;
    }
    spot.folder = folderParent;
    spot.item = folderItem;
    return spot;
}

void TNsShellList::RefreshAfterVerb()
{
    // Network folders send no change notices.
    if (ShellPathIsNetwork(Shell()->PathOf(m_folder->GetIdList())))
        RefreshList();
}

void TNsShellList::KeyDownFromWindow(std::uint16_t& key, TShiftState shift)
{
    if (KeyCommand(key, shift))
        key = 0;
}

bool TNsShellList::InvokeVerbOnSelection(const std::string& verb)
{
    IShellNamespace* shell = Shell();
    const std::vector<IdList> items = SelectedIdLists();
    if (!shell || items.empty())
        return false;
    return shell->InvokeVerb(m_folder->GetIdList(), items, verb);
}

bool TNsShellList::InvokeVerbOnFolder(const std::string& verb)
{
    IShellNamespace* shell = Shell();
    if (!shell)
        return false;
    const IdList folder = m_folder->GetIdList();
    const IdList last = IdListLast(folder);
    // The desktop has no parent to ask: its own menu is asked instead.
    if (last.empty())
        return shell->InvokeVerb(folder, {}, verb);
    return shell->InvokeVerb(IdListParent(folder, 1), {last}, verb);
}

void TNsShellList::FolderChanged()
{
    if (m_updating == 0) {
        ++m_updating;
        if (m_tree)
            m_tree->NavigateTo(m_folder->GetIdList());
        else if (m_combo)
            m_combo->GetFolder()->SetIdList(m_folder->GetIdList());
        --m_updating;
        if (!HasState(forms::csLoading))
            FillList();
    }
    onFolderChanged(this);
}

void TNsShellList::Loaded()
{
    TCustomListView::Loaded();
    // A linked control may have set the folder while this list was still loading.
    FillList();
}

}  // namespace setup::ui
