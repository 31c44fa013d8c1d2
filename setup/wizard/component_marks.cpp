#include "setup/wizard/component_marks.h"

namespace setup::wizard {

namespace {

int ComponentIndex(const ui::TTreeNode& node)
{
    return static_cast<int>(node.data) - 1;
}

}  // namespace

void ModelComponentMarks::SetSelected(int index, bool selected)
{
    m_model.SetComponentSelected(index, selected);
}

bool ModelComponentMarks::IsChoiceLocked(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_model.ComponentNames.Count())
        return false;
    return m_model.IsComponentChoiceLocked(m_model.ComponentNames[static_cast<std::size_t>(index)]);
}

void MarkComponentNode(ui::TTreeNode& node, bool withSubTree, bool install,
                       IComponentMarks& marks)
{
    if (node.data > 0) {
        marks.SetSelected(ComponentIndex(node), install);
        node.SetImageIndex(install ? kInstalledImage : kNotInstalledImage);
    }
    if (!withSubTree)
        return;
    for (const auto& child : node.Children()) {
        if (child->data > 0 && marks.IsChoiceLocked(ComponentIndex(*child)))
            continue;
        MarkComponentNode(*child, true, install, marks);
    }
}

void MarkAncestorsInstalled(ui::TTreeNode& node, IComponentMarks& marks)
{
    for (ui::TTreeNode* parent = node.Parent(); parent; parent = parent->Parent())
        MarkComponentNode(*parent, false, true, marks);
}

}  // namespace setup::wizard
