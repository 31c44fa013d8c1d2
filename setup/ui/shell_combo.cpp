#include <algorithm>

#include "setup/forms/class_builder.h"
#include "setup/ui/shell_controls.h"

namespace setup::ui {

namespace {

constexpr std::uint32_t kComboAttributes = 0xF00B0000;

}  // namespace

const forms::ClassInfo& TNsShellCombo::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TNsShellCombo>("TNsShellCombo", &TNsCustomImageCombo::StaticClass())
            .Property("ShellList", &TNsShellCombo::ShellList, &TNsShellCombo::SetShellList)
            .Property("ShellTree", &TNsShellCombo::ShellTree, &TNsShellCombo::SetShellTree)
            .Build();
    return info;
}

TNsShellCombo::TNsShellCombo(forms::TComponent* owner)
    : TNsCustomImageCombo(owner),
      m_folder(std::make_unique<TNsShellLocator>([this] { return Shell(); }))
{
    SetBounds(0, 0, 145, 21);
    m_folder->onChange = [this] { FolderChanged(); };
}

TNsShellCombo::~TNsShellCombo()
{
    SetShellTree(nullptr);
    SetShellList(nullptr);
}

// Moves the combo box's link from the old control to the new one; both know of it.
template <class Control>
void TNsShellCombo::Relink(Control*& link, Control* control)
{
    if (link)
        link->m_combo = nullptr;
    link = control;
    if (link) {
        link->m_combo = this;
        link->FreeNotification(this);
    }
}

void TNsShellCombo::SetShellTree(TNsShellTree* tree)
{
    // One link at a time: a linked list keeps its place.
    if (!(tree && m_list))
        Relink(m_tree, tree);
}

void TNsShellCombo::SetShellList(TNsShellList* list)
{
    if (!(list && m_tree))
        Relink(m_list, list);
}

void TNsShellCombo::AddEntry(IShellNamespace& shell, const IdList& parent, const IdList& item,
                             int level)
{
    const std::string name = item.empty()
                                 ? shell.DisplayName(DesktopIdList(), {}, ShellNameKind::Normal)
                                 : shell.DisplayName(parent, item, ShellNameKind::InFolder);
    const IdList absolute = item.empty() ? DesktopIdList() : ConcatIdLists(parent, item);
    m_entries.push_back({absolute, level});
    const std::uint32_t marks =
        item.empty() ? 0 : shell.Attributes(parent, item, kAttrShare | kAttrLink);
    // Indented by the level: the entries read as the chain of folders.
    AddImageItem(name, shell.IconIndex(absolute, false), level, OverlayOfAttributes(marks));
}

void TNsShellCombo::FillLevel(IShellNamespace& shell, const IdList& parent, const IdList& target,
                              int level, bool& targetUsed)
{
    auto children = shell.Enumerate(parent, kEnumFolders);
    if (!children)
        return;
    std::stable_sort(children->begin(), children->end(), [&](const IdList& a, const IdList& b) {
        return shell.Compare(parent, a, b) < 0;
    });
    const IdList myComputer = shell.SpecialFolder(kMyComputer).value_or(IdList{});
    const std::size_t targetCount = IdListCount(target).value_or(0);
    for (const IdList& child : *children) {
        const std::uint32_t attributes = shell.Attributes(parent, child, kComboAttributes);
        if (!(options & nscoNonFilesystemAncestors) &&
            !(attributes & (kAttrFileSystem | kAttrFileSysAncestor)))
            continue;
        AddEntry(shell, parent, child, level);
        const IdList absolute = m_entries.back().absolute;
        const bool onPath = !targetUsed && targetCount >= static_cast<std::size_t>(level) &&
                            shell.Compare(parent, child, IdListItem(target, level - 1)) == 0;
        if (onPath && targetCount == static_cast<std::size_t>(level)) {
            m_selected = static_cast<int>(m_entries.size()) - 1;
            targetUsed = true;
        }
        const bool isMyComputer =
            level == 1 && !myComputer.empty() && CompareAbsolute(&shell, absolute, myComputer) == 0;
        if (isMyComputer) {
            FillLevel(shell, absolute, targetUsed ? IdList{} : target, level + 1, targetUsed);
        } else if (onPath && !targetUsed) {
            // The rest of the path, without the siblings along it.
            IdList at = absolute;
            for (std::size_t i = static_cast<std::size_t>(level); i < targetCount; ++i) {
                const IdList item = IdListItem(target, i);
                AddEntry(shell, at, item, static_cast<int>(i) + 1);
                at = m_entries.back().absolute;
            }
            m_selected = static_cast<int>(m_entries.size()) - 1;
            targetUsed = true;
        }
    }
}

void TNsShellCombo::FillCombo()
{
    ++m_updating;
    m_entries.clear();
    ClearImageItems();
    m_selected = -1;
    if (IShellNamespace* shell = Shell()) {
        Items()->BeginUpdate();
        AddEntry(*shell, {}, {}, 0);
        bool targetUsed = false;
        FillLevel(*shell, DesktopIdList(), m_folder->GetIdList(), 1, targetUsed);
        Items()->EndUpdate();
        SetItemIndex(m_selected >= 0 ? m_selected : 0);
        // The folder shown is drawn open.
        SetItemImage(ItemIndex(), shell->IconIndex(m_entries[ItemIndex()].absolute, true));
    }
    --m_updating;
}

void TNsShellCombo::GoUp(int levels)
{
    const int index = ItemIndex();
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return;
    const int wanted = m_entries[index].level - levels + 1;
    int at = index;
    while (at > 0 && m_entries[at].level >= wanted)
        --at;
    if (at != index)
        m_folder->SetIdList(m_entries[at].absolute);
}

void TNsShellCombo::FolderChanged()
{
    if (m_updating > 0)
        return;
    ++m_updating;
    if (m_tree)
        m_tree->SelectedFolder()->Assign(*m_folder);
    else if (m_list)
        m_list->Folder()->Assign(*m_folder);
    --m_updating;
    if (!HasState(forms::csLoading))
        FillCombo();
}

void TNsShellCombo::ItemIndexFromWindow(std::int32_t index)
{
    TNsCustomImageCombo::ItemIndexFromWindow(index);
    if (index >= 0 && index < static_cast<int>(m_entries.size()))
        m_folder->SetIdList(m_entries[index].absolute);
}

void TNsShellCombo::Loaded()
{
    TNsCustomImageCombo::Loaded();
    FillCombo();
    ++m_updating;
    if (m_tree)
        m_tree->SelectedFolder()->Assign(*m_folder);
    else if (m_list)
        m_list->Folder()->Assign(*m_folder);
    --m_updating;
    // A tree linked to a combo box waits for it to be filled.
    if (m_tree)
        m_tree->RefreshTree();
}

void TNsShellCombo::Notification(forms::TComponent* component, forms::Operation operation)
{
    TNsCustomImageCombo::Notification(component, operation);
    if (operation != forms::Operation::Remove)
        return;
    if (component == m_tree)
        m_tree = nullptr;
    if (component == m_list)
        m_list = nullptr;
}

}  // namespace setup::ui
