#include "setup/wizard/component_lists.h"

namespace setup::wizard {

void TreeViewAdapter::ClearNodes()
{
    m_tree.Items()->Clear();
}

TreeViewAdapter::NodeId TreeViewAdapter::AddNode(std::optional<NodeId> parent,
                                                 const std::string& text, int imageIndex,
                                                 std::intptr_t data)
{
    ui::TTreeNode* node = m_tree.Items()->AddChild(
        parent ? reinterpret_cast<ui::TTreeNode*>(*parent) : nullptr, text);
    if (imageIndex != engine::kDefaultNodeImage)
        node->SetImageIndex(imageIndex);
    node->data = data;
    return reinterpret_cast<NodeId>(node);
}

void CheckListAdapter::ClearItems()
{
    m_list.Items()->Clear();
}

void CheckListAdapter::AddItem(const std::string& text, bool checked)
{
    m_list.Items()->Add(text);
    m_list.SetChecked(m_list.Items()->Count() - 1, checked);
}

std::size_t CheckListAdapter::ItemCount() const
{
    return m_list.Items()->Count();
}

std::string CheckListAdapter::ItemText(std::size_t index) const
{
    return (*m_list.Items())[index];
}

bool CheckListAdapter::IsChecked(std::size_t index) const
{
    return m_list.Checked(index);
}

void CheckListAdapter::SetChecked(std::size_t index, bool checked)
{
    m_list.SetChecked(index, checked);
}

}  // namespace setup::wizard
