#include <algorithm>
#include <cctype>

#include "setup/forms/class_builder.h"
#include "setup/ui/file_controls.h"
#include "setup/ui/shell_commands.h"
#include "setup/ui/shell_controls.h"

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
        forms::ClassBuilder<TNsShellList>("TNsShellList", &TCustomListBox::StaticClass())
            .Property("FileFilter", &TNsShellList::FileFilter, &TNsShellList::SetFileFilter)
            .Property("Folder", &TNsShellList::Folder, &TNsShellList::SetFolder)
            .Property("OnChange", &TNsShellList::onChange)
            .Property("OnFolderChanged", &TNsShellList::onFolderChanged)
            .Build();
    return info;
}

TNsShellList::TNsShellList(forms::TComponent* owner)
    : TCustomListBox(owner),
      m_folder(std::make_unique<TNsShellLocator>([this] { return Shell(); })),
      m_refresh(*this, [this] { RefreshList(); })
{
    SetBounds(0, 0, 121, 97);
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
    Items()->Clear();
    IShellNamespace* shell = Shell();
    if (!shell)
        return;
    const IdList folder = m_folder->GetIdList();
    unsigned flags = kEnumFolders | kEnumNonFolders;
    if (options & nsloShowHidden)
        flags |= kEnumHidden;
    auto items = shell->Enumerate(folder, flags);
    if (!items)
        return;
    std::vector<IdList> accepted;
    for (IdList& item : *items)
        if (Accept(folder, item))
            accepted.push_back(std::move(item));
    std::stable_sort(accepted.begin(), accepted.end(), [&](const IdList& a, const IdList& b) {
        return shell->Compare(folder, a, b) < 0;
    });
    std::vector<std::string> names;
    for (const IdList& item : accepted)
        names.push_back(shell->DisplayName(folder, item, ShellNameKind::InFolder));
    m_items = std::move(accepted);
    Items()->SetItems(std::move(names));
    if (options & nsloDynamicRefresh)
        WatchFolder();
    else if (m_watch)
        m_watch->RemoveAllWatches();
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
    IdList selected = ItemIndex() >= 0 ? m_items[ItemIndex()] : IdList{};
    FillList();
    IShellNamespace* shell = Shell();
    if (selected.empty() || !shell)
        return;
    const IdList folder = m_folder->GetIdList();
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (shell->Compare(folder, m_items[i], selected) == 0)
            SetItemIndex(static_cast<std::int32_t>(i));
}

std::string TNsShellList::ItemPath(int index) const
{
    IShellNamespace* shell = Shell();
    if (!shell || index < 0 || index >= static_cast<int>(m_items.size()))
        return {};
    return shell->PathOf(ConcatIdLists(m_folder->GetIdList(), m_items[index]));
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
    const int index = ItemIndex();
    if (!shell || index < 0 || index >= static_cast<int>(m_items.size()))
        return;
    const IdList folder = m_folder->GetIdList();
    const IdList& item = m_items[index];
    if (shell->Attributes(folder, item, kAttrFolder) & kAttrFolder) {
        EnterFolder(ConcatIdLists(folder, item));
        return;
    }
    // A shortcut to a folder is entered in place rather than opened elsewhere.
    const std::string path = ItemPath(index);
    if (!IsShortcutPath(path))
        return;
    const auto target = shell->ParsePath(shell->LinkTarget(path));
    if (target && IdListCount(*target).value_or(0) > 0 &&
        (shell->Attributes(IdListParent(*target, 1), IdListLast(*target), kAttrFolder) &
         kAttrFolder))
        EnterFolder(*target);
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
    Items()->Put(index, shell->DisplayName(folder, *renamed, ShellNameKind::InFolder));
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

void TNsShellList::KeyDownFromWindow(std::uint16_t& key, TShiftState shift)
{
    if (KeyCommand(key, shift))
        key = 0;
}

bool TNsShellList::InvokeVerbOnSelection(const std::string& verb)
{
    IShellNamespace* shell = Shell();
    const int index = ItemIndex();
    if (!shell || index < 0 || index >= static_cast<int>(m_items.size()))
        return false;
    return shell->InvokeVerb(m_folder->GetIdList(), {m_items[index]}, verb);
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

void TNsShellList::ItemIndexFromWindow(std::int32_t index)
{
    TCustomListBox::ItemIndexFromWindow(index);
    onChange(this);
}

void TNsShellList::Loaded()
{
    TCustomListBox::Loaded();
    // A linked control may have set the folder while this list was still loading.
    FillList();
}

}  // namespace setup::ui
