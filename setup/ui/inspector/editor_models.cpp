#include "setup/ui/inspector/editor_models.h"

#include <algorithm>

namespace setup::ui {

std::string LineCountText(std::size_t lines)
{
    return std::to_string(lines) + (lines == 1 ? " line" : " lines");
}

TRect FitPictureRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight)
{
    int width = pictureWidth;
    int height = pictureHeight;
    if ((width > boxWidth || height > boxHeight) && width > 0 && height > 0) {
        // The side that overflows the more decides the scale.
        if (static_cast<long long>(width) * boxHeight >= static_cast<long long>(height) * boxWidth) {
            height = static_cast<int>(static_cast<long long>(height) * boxWidth / width);
            width = boxWidth;
        } else {
            width = static_cast<int>(static_cast<long long>(width) * boxHeight / height);
            height = boxHeight;
        }
    }
    const int left = (boxWidth - width) / 2;
    const int top = (boxHeight - height) / 2;
    return TRect::Bounds(left, top, width, height);
}

DropPosition DropPositionAt(int y, int textTop, int textBottom)
{
    const int third = (textBottom - textTop) / 3;
    if (y < textTop + third)
        return DropPosition::Before;
    if (y >= textBottom - third)
        return DropPosition::After;
    return DropPosition::Child;
}

TRect DropMarkRect(const TRect& text, DropPosition position)
{
    constexpr int kMark = 16;
    const int left = text.right + 6;
    switch (position) {
        case DropPosition::Before:
            return TRect::Bounds(left, text.top, kMark, kMark);
        case DropPosition::After:
            return TRect::Bounds(left, text.bottom - 7, kMark, kMark);
        case DropPosition::Child:
            break;
    }
    return TRect::Bounds(left, text.top + (text.Height() - kMark) / 2, kMark, kMark);
}

int DragScrollDirection(int at, int size)
{
    constexpr int kEdge = 5;
    if (at < kEdge)
        return -1;
    if (at >= size - kEdge)
        return 1;
    return 0;
}

void CopyMenuItem(const TMenuItem& source, TMenuItem& target)
{
    target.caption = source.caption;
    target.SetChecked(source.Checked());
    target.isDefault = source.isDefault;
    target.enabled = source.enabled;
    target.groupIndex = source.groupIndex;
    target.radioItem = source.radioItem;
    target.shortCut = source.shortCut;
    target.SetTag(source.Tag());
    target.visible = source.visible;
    target.onClick = source.onClick;
    if (!target.Owner())
        target.SetName(source.Name());
}

MenuEditorTree::Node::~Node()
{
    // Copies are unowned; items the editor made belong to its form, which frees them.
    if (item && !item->Owner())
        delete item;
}

namespace {

void CopyChildren(const TMenuItem& source, MenuEditorTree::Node* parent,
                  std::vector<std::unique_ptr<MenuEditorTree::Node>>& into)
{
    for (const TMenuItem* child : source.Items()) {
        auto node = std::make_unique<MenuEditorTree::Node>();
        node->item = new TMenuItem(nullptr);
        CopyMenuItem(*child, *node->item);
        node->parent = parent;
        CopyChildren(*child, node.get(), node->children);
        into.push_back(std::move(node));
    }
}

void Build(const MenuEditorTree::Node& node, TMenuItem& parent, forms::TComponent* owner)
{
    auto* item = new TMenuItem(owner);
    CopyMenuItem(*node.item, *item);
    if (owner && !node.item->Name().empty() && !owner->FindComponent(node.item->Name()))
        item->SetName(node.item->Name());
    parent.Add(item);
    for (const auto& child : node.children)
        Build(*child, *item, owner);
}

void FreeWithSubItems(TMenuItem* item)
{
    while (!item->Items().empty())
        FreeWithSubItems(item->Items().back());
    delete item;
}

bool IsInside(const MenuEditorTree::Node* node, const MenuEditorTree::Node* ancestor)
{
    for (; node; node = node->parent)
        if (node == ancestor)
            return true;
    return false;
}

}  // namespace

MenuEditorTree::MenuEditorTree(const TMenuItem& source, forms::TComponent& names) : m_names(names)
{
    CopyChildren(source, nullptr, m_roots);
    m_selected = m_roots.empty() ? nullptr : m_roots.front().get();
}

std::string MenuEditorTree::NewItemName() const
{
    for (int number = 1;; ++number) {
        const std::string name = "NewItem" + std::to_string(number);
        if (!m_names.FindComponent(name))
            return name;
    }
}

std::vector<std::unique_ptr<MenuEditorTree::Node>>& MenuEditorTree::SiblingsOf(Node* node)
{
    return node && node->parent ? node->parent->children : m_roots;
}

MenuEditorTree::Node* MenuEditorTree::NewItem(bool subitem)
{
    auto node = std::make_unique<Node>();
    node->item = new TMenuItem(&m_names);
    node->item->SetName(NewItemName());
    node->item->caption = node->item->Name();
    Node* added = node.get();
    if (subitem && m_selected) {
        node->parent = m_selected;
        m_selected->children.push_back(std::move(node));
    } else {
        node->parent = m_selected ? m_selected->parent : nullptr;
        SiblingsOf(m_selected).push_back(std::move(node));
    }
    m_selected = added;
    return added;
}

std::unique_ptr<MenuEditorTree::Node> MenuEditorTree::Detach(Node* node)
{
    auto& siblings = SiblingsOf(node);
    const auto found = std::find_if(siblings.begin(), siblings.end(),
                                    [node](const auto& each) { return each.get() == node; });
    if (found == siblings.end())
        return nullptr;
    std::unique_ptr<Node> detached = std::move(*found);
    siblings.erase(found);
    return detached;
}

void MenuEditorTree::DeleteSelected()
{
    if (!m_selected)
        return;
    std::unique_ptr<Node> gone = Detach(m_selected);
    m_selected = nullptr;
    if (gone && gone->item && gone->item->Owner()) {
        delete gone->item;
        gone->item = nullptr;
    }
}

void MenuEditorTree::Move(Node* node, Node* target, DropPosition position)
{
    if (!node || !target || IsInside(target, node))
        return;
    std::unique_ptr<Node> moving = Detach(node);
    if (!moving)
        return;
    if (position == DropPosition::Child) {
        moving->parent = target;
        target->children.push_back(std::move(moving));
        return;
    }
    auto& siblings = SiblingsOf(target);
    auto at = std::find_if(siblings.begin(), siblings.end(),
                           [target](const auto& each) { return each.get() == target; });
    if (position == DropPosition::After)
        ++at;
    moving->parent = target->parent;
    siblings.insert(at, std::move(moving));
}

void MenuEditorTree::Apply(TMenuItem& target, forms::TComponent* owner) const
{
    while (!target.Items().empty())
        FreeWithSubItems(target.Items().back());
    for (const auto& root : m_roots)
        Build(*root, target, owner);
}

CollectionEditorList::CollectionEditorList(forms::TCollection& collection)
    : m_collection(collection)
{
    Refresh();
    if (!m_selected.empty())
        m_selected.front() = true;
}

void CollectionEditorList::Refresh()
{
    m_items.clear();
    for (std::size_t i = 0; i < m_collection.Count(); ++i) {
        forms::TCollectionItem* item = m_collection.Item(i);
        if (&item->ClassType() == &m_collection.ItemClass())
            m_items.push_back(item);
    }
    m_selected.resize(m_items.size(), false);
}

std::vector<std::string> CollectionEditorList::Texts() const
{
    std::vector<std::string> texts;
    for (const forms::TCollectionItem* item : m_items)
        texts.push_back(std::to_string(item->Index()) + " - " + item->ClassName());
    return texts;
}

bool CollectionEditorList::DeleteEnabled() const
{
    return std::find(m_selected.begin(), m_selected.end(), true) != m_selected.end();
}

forms::TCollectionItem* CollectionEditorList::Instance() const
{
    forms::TCollectionItem* one = nullptr;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (!m_selected[i])
            continue;
        if (one)
            return nullptr;
        one = m_items[i];
    }
    return one;
}

forms::TCollectionItem* CollectionEditorList::Add()
{
    forms::TCollectionItem* item = m_collection.Add();
    m_selected.assign(m_selected.size(), false);
    Refresh();
    const auto at = std::find(m_items.begin(), m_items.end(), item);
    if (at != m_items.end())
        m_selected[static_cast<std::size_t>(at - m_items.begin())] = true;
    return item;
}

void CollectionEditorList::DeleteSelected()
{
    std::size_t first = m_items.size();
    for (std::size_t i = m_items.size(); i-- > 0;)
        if (m_selected[i]) {
            first = i;
            m_collection.Delete(static_cast<std::size_t>(m_items[i]->Index()));
        }
    m_selected.clear();
    Refresh();
    m_selected.assign(m_items.size(), false);
    if (!m_items.empty() && first < m_selected.size() + 1)
        m_selected[std::min(first, m_items.size() - 1)] = true;
}

}  // namespace setup::ui
